// "envdata": the player's settings in the file's field order (volumes as
// 100 - v, an auto-mode delay of 0 as 99999), carried into the next run
// through the menu commands, kept byte for byte by a run that changes
// nothing, and never overwritten with defaults by a run that fails early.
#include "save/environment_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "engine.h"
#include "support/game_fixture.h"
#include "support/scripted_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

std::string Le32(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16),
          static_cast<char>(u >> 24)};
}

std::string Z(std::string_view s) {
  return std::string(s) + std::string(1, '\0');
}

std::string AsString(const std::vector<uint8_t>& bytes) {
  return std::string(bytes.begin(), bytes.end());
}
std::vector<uint8_t> AsBytes(const std::string& s) {
  return std::vector<uint8_t>(s.begin(), s.end());
}

EnvironmentData Unusual() {
  EnvironmentData env;
  env.full_screen = 1;
  env.sound_on = 0;
  env.speed_choice = 2;
  env.page_mode = 1;
  env.font_face = Utf8ToSjis("ＭＳ 明朝");
  env.cd_enabled = 0;
  env.cd_drive = "Q:\\";
  env.voice_volume = 30;
  env.se_volume = 0;
  env.bgm_volume = 100;
  env.read_skip = 1;
  env.bgm_down_mode = 1;
  env.save_directory = "save";
  env.auto_mode_ms = 0;
  return env;
}

TEST(EnvironmentFile, HoldsTheFieldsInOrder) {
  const std::string expected = Le32(1) + Le32(0) + Le32(2) + Le32(1) + Z(Utf8ToSjis("ＭＳ 明朝")) +
                               Le32(0) + Z("Q:\\") + Le32(70) + Le32(100) + Le32(0) + Le32(1) +
                               Le32(1) + Z("save") + Le32(99999);
  EXPECT_EQ(AsString(EncodeEnvironment(Unusual())), expected);
}

TEST(EnvironmentFile, RoundTrips) {
  struct Case {
    const char* name;
    int32_t auto_mode_ms;
  } cases[] = {{"no delay: stored as 99999", 0}, {"a fixed delay", 1500}, {"per character", -40}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EnvironmentData env = Unusual();
    env.auto_mode_ms = c.auto_mode_ms;
    const EnvironmentData back = DecodeEnvironment(EncodeEnvironment(env));
    EXPECT_EQ(back.fields, static_cast<int>(EnvField::kCount));
    EXPECT_EQ(EncodeEnvironment(back), EncodeEnvironment(env));
    EXPECT_EQ(back.auto_mode_ms, c.auto_mode_ms);
    EXPECT_EQ(back.voice_volume, 30);
    EXPECT_EQ(back.save_directory, "save");
  }
}

TEST(EnvironmentFile, ACutOrForeignFileHoldsOnlyItsWholeFields) {
  const std::string full = AsString(EncodeEnvironment(Unusual()));
  struct Case {
    const char* name;
    std::string bytes;
    int fields;
  } cases[] = {
      {"empty", "", 0},
      {"cut inside the first integer", full.substr(0, 3), 0},
      {"four integers", full.substr(0, 16), 4},
      {"the font face without its zero byte", full.substr(0, 18), 4},
      {"cut inside the last integer", full.substr(0, full.size() - 1), 13},
      {"longer than the fields", full + "trailing", 14},
      {"one byte of garbage", "\xff", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EnvironmentData env = DecodeEnvironment(AsBytes(c.bytes));
    EXPECT_EQ(env.fields, c.fields);
    const EnvironmentData defaults;
    // A field the file lacks keeps its default.
    EXPECT_EQ(env.font_face,
              env.Has(EnvField::kFontFace) ? Unusual().font_face : defaults.font_face);
    EXPECT_EQ(env.auto_mode_ms, env.Has(EnvField::kAutoModeMs) ? 0 : defaults.auto_mode_ms);
  }
  // Volumes outside 0 ... 100 come back inside it, from any attenuation
  // the file holds (the extremes once overflowed on the way).
  const struct {
    int32_t attenuation;
    int32_t volume;
  } volumes[] = {{-50, 100}, {150, 0}, {INT32_MIN, 100}, {INT32_MAX, 0}};
  for (const auto& v : volumes) {
    std::string loud = full;
    loud.replace(4 * 4 + Z(Utf8ToSjis("ＭＳ 明朝")).size() + 4 + 4, 4, Le32(v.attenuation));
    EXPECT_EQ(DecodeEnvironment(AsBytes(loud)).voice_volume, v.volume) << v.attenuation;
  }
}

// A file whose integer fields hold, in order, `ints` (full screen, sound, speed,
// page mode, CD, voice, effects, music, read skip, bgmdownmode, auto-mode
// delay) and whose strings are empty.
std::string WithIntegers(const std::vector<int32_t>& ints) {
  std::string f;
  for (size_t i = 0; i < 4; ++i) f += Le32(ints[i]);
  f += Z("") + Le32(ints[4]) + Z("");
  for (size_t i = 5; i < 10; ++i) f += Le32(ints[i]);
  return f + Z("") + Le32(ints[10]);
}

TEST(EnvironmentFile, NumbersAtTheEndsOfAnIntegerAreBroughtIntoTheirRanges) {
  constexpr int32_t kMin = INT32_MIN, kMax = INT32_MAX;
  struct Case {
    const char* name;
    std::vector<int32_t> stored;
    std::vector<int32_t> written;  // what the settings read are written as
  } cases[] = {
      {"the smallest integer", std::vector<int32_t>(11, kMin),
       {1, 1, 0, 1, 1, 0, 0, 0, 1, 1, kMinAutoModeMs}},
      {"the largest integer", std::vector<int32_t>(11, kMax),
       {1, 1, 2, 1, 1, 100, 100, 100, 1, 1, kMaxAutoModeMs}},
      {"a voice volume whose 100 - v overflows", {0, 1, 1, 0, 1, -2147483641, 0, 0, 0, 0, 1000},
       {0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 1000}},
      {"just outside", {2, -1, 3, -1, 2, -1, 101, 101, 2, -1, kStoredNoAutoDelay},
       {1, 1, 2, 1, 1, 0, 100, 100, 1, 1, kStoredNoAutoDelay}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const EnvironmentData env = DecodeEnvironment(AsBytes(WithIntegers(c.stored)));
    EXPECT_EQ(env.fields, static_cast<int>(EnvField::kCount));
    for (int32_t volume : {env.voice_volume, env.se_volume, env.bgm_volume}) {
      EXPECT_GE(volume, 0);
      EXPECT_LE(volume, 100);
    }
    EXPECT_EQ(AsString(EncodeEnvironment(env)), WithIntegers(c.written));
  }
}

// The volumes of the whole run: read clamped, applied, written back in range.
TEST(EnvironmentFile, VolumesAtTheEndsOfAnIntegerAreAppliedAndWrittenBackInRange) {
  GameDir game;
  std::string saved = AsString(EncodeEnvironment(Unusual()));
  const size_t voice_at = 4 * 4 + Z(Utf8ToSjis("ＭＳ 明朝")).size() + 4 + Z("Q:\\").size();
  std::string expected = saved;
  saved.replace(voice_at, 12, Le32(-2147483641) + Le32(INT32_MAX) + Le32(INT32_MIN));
  expected.replace(voice_at, 12, Le32(0) + Le32(100) + Le32(0));
  game.WriteBytes("envdata", saved);
  game.Write("0.txt", "*define\nsavedir \"save\"\ngame\n*start\nend\n");
  RunResult r = RunScripted(game, "", [](Engine& e) {
    EXPECT_EQ(e.sound.voice_attenuation, 0);  // full volume, not silent
    EXPECT_EQ(e.sound.effect_attenuation, 100);
    EXPECT_EQ(e.sound.music.base_attenuation, 0);
  });
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(game.ReadBytes("envdata"), expected);
}

// A damaged "envdata", cut anywhere or filled with noise, never stops the
// run: the fields it holds whole are applied, the others keep their defaults.
TEST(EnvironmentFile, ADamagedFileNeverStopsTheRun) {
  const std::string full = AsString(EncodeEnvironment(Unusual()));
  for (size_t cut : {size_t{0}, size_t{5}, size_t{17}, full.size() / 2, full.size() - 2}) {
    SCOPED_TRACE(cut);
    GameDir game;
    std::string damaged = full.substr(0, cut);
    for (size_t i = 0; i < damaged.size(); i += 3) damaged[i] = static_cast<char>(0xFF - damaged[i]);
    game.WriteBytes("envdata", damaged);
    game.Write("0.txt", "*define\ngame\n*start\nend\n");
    RunResult r = RunScripted(game, "");
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(DecodeEnvironment(AsBytes(game.ReadBytes("envdata"))).fields, static_cast<int>(EnvField::kCount));
  }
}

// Run 1: the player chooses through the menu bar; run 2 starts with the
// choices in force, over the *define block's own settings.
TEST(EnvironmentFile, ThePlayersChoicesAreInForceInTheNextRun) {
  GameDir game;
  game.Write("0.txt",
             "*define\ngame\n*start\n頁@\nautomode_time 0\nfont \"ＭＳ 明朝\"\n頁@\nend\n");
  RunResult first =
      RunScripted(game,
                  "menu 40007\nmenu 40016\nmenu 40018\nmenu 40022\nmenu 40025\nmenu 40002\n"
                  "click 1 1\nclick 1 1\n");
  ASSERT_EQ(first.status, 0) << first.err;
  game.Write("0.txt", "*define\nautomode_time 700\ngame\n*start\nend\n");
  RunScripted(game, "", [](Engine& e) {
    const PlayerSettings& s = e.shell.settings;
    EXPECT_TRUE(s.page_mode);
    EXPECT_EQ(s.text_speed, 2);
    EXPECT_FALSE(s.sound_on);
    EXPECT_FALSE(s.cd_on);
    EXPECT_TRUE(e.read_flags.read_only_skip);
    EXPECT_TRUE(e.shell.full_screen);
    EXPECT_EQ(e.text_out.auto_mode_ms, 0);
    EXPECT_EQ(e.text.pending_font_face, Utf8ToSjis("ＭＳ 明朝"));
  });
}

// What no subsystem acts on yet (volumes, the CD drive, bgmdownmode) and
// everything else comes out of a run that changes nothing as it went in.
TEST(EnvironmentFile, ARunThatChangesNothingWritesItBackByteForByte) {
  GameDir game;
  const std::string saved = AsString(EncodeEnvironment(Unusual()));
  game.WriteBytes("envdata", saved);
  game.Write("0.txt", "*define\nsavedir \"save\"\ngame\n*start\nend\n");
  ASSERT_EQ(RunScripted(game, "").status, 0);
  EXPECT_EQ(game.ReadBytes("envdata"), saved);
}

TEST(EnvironmentFile, ARunThatFailsBeforeApplyingItLeavesItAlone) {
  struct Case {
    const char* name;
    const char* script;
  } cases[] = {
      {"an error in the *define block", "*define\nnosuchcommand\ngame\n*start\nend\n"},
      {"no script at all", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    const std::string saved = AsString(EncodeEnvironment(Unusual()));
    game.WriteBytes("envdata", saved);
    if (*c.script) game.Write("0.txt", c.script);
    EXPECT_EQ(RunScripted(game, "").status, 1);
    EXPECT_EQ(game.ReadBytes("envdata"), saved);
  }
}

TEST(EnvironmentFile, IsWrittenWhenNoneExistedAndAppliesNothingWhenMissing) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\nend\n");
  RunScripted(game, "", [](Engine& e) {
    EXPECT_FALSE(e.shell.settings.page_mode);
    EXPECT_EQ(e.shell.settings.text_speed, 1);
    EXPECT_TRUE(e.shell.settings.sound_on);
  });
  const EnvironmentData written = DecodeEnvironment(AsBytes(game.ReadBytes("envdata")));
  EXPECT_EQ(written.fields, static_cast<int>(EnvField::kCount));
  EXPECT_EQ(written.speed_choice, 1);
  EXPECT_EQ(written.auto_mode_ms, 1000);
}

TEST(EnvironmentFile, ASaveDirectoryOutsideTheGameFolderIsIgnored) {
  GameDir game;
  EnvironmentData env;
  env.save_directory = "..\\elsewhere";
  game.WriteBytes("envdata", AsString(EncodeEnvironment(env)));
  game.Write("0.txt", "*define\ngame\n*start\nend\n");
  RunResult r =
      RunScripted(game, "", [](Engine& e) { EXPECT_EQ(e.persistent.places.save_dir, ""); });
  EXPECT_NE(r.err.find("outside the game folder"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(game.path() + "/../elsewhere"));
}

}  // namespace
}  // namespace orivane::test
