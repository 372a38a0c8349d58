// Damaged save files: each is refused whole. A load from the menu tells the
// player and the game goes on exactly as it was before the load; `loadgame`
// ends the run with the report, and nothing of the saved page reaches the
// game first. The game has state worth losing at the load: a variable, a
// sprite on the screen, music playing, a page in the back-log.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "engine.h"
#include "sound/sound_game.h"
#include "support/graphics_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

std::string Le32(int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  return {static_cast<char>(u), static_cast<char>(u >> 8), static_cast<char>(u >> 16), static_cast<char>(u >> 24)};
}

// $199 is the last local string: right behind its zero byte comes the gosub
// depth, then the return points.
constexpr const char* kMarker = "MARK";

size_t GosubDepthAt(const std::string& file) {
  const size_t at = file.find(std::string(kMarker) + '\0');
  EXPECT_NE(at, std::string::npos);
  return at + 5;
}

// One script for both runs. The first (no save file yet) saves the page "二"
// from inside a subroutine (a gosub depth of 1) before any page went to the
// back-log, with sprite 5 (red) and a.ogg. The second has its own state when
// it loads: %1 is 3, sprite 6 (blue) shows, b.ogg plays, the page "三" is in
// the back-log; `menu` loads through the system menu, else with `loadgame`.
std::string Script(bool menu) {
  return std::string(
             "*define\nrmenu \"ロード\",load\nsetwindow 8,410,30,2,16,16,0,2,0,0,0,#999999,0,400,639,479\n"
             "game\n*start\nsavefileexist %0,1\nif %0 == 1 goto *second\n"
             "mov %1,7\nmov $199,\"") +
         kMarker +
         "\"\nlsp 5,\":c;red.bmp\",10,20\nbgm \"a.ogg\"\ngosub *page\nend\n*page\n二@\nsavegame 1\nreturn\n"
         "*second\nmov %1,3\nlsp 6,\":c;blue.bmp\",100,20\nbgm \"b.ogg\"\n三\\\n" +
         (menu ? "四@\n%1\nend\n" : "四\nloadgame 1\n%1\nend\n");
}

struct Damage {
  const char* name;
  std::string (*apply)(std::string file);
};

const std::vector<Damage>& Damages() {
  static const std::vector<Damage> damages = {
      {"a gosub depth of 5000", [](std::string f) { return f.replace(GosubDepthAt(f), 4, Le32(5000)); }},
      {"a return point past the script",
       [](std::string f) { return f.replace(GosubDepthAt(f) + 4, 4, Le32(0x00100000)); }},
      {"a back-log page count of 2^31-1",
       [](std::string f) {
         // No page had ended at the save point: the count is right before the place.
         EXPECT_EQ(f.substr(f.size() - 12, 4), Le32(0));
         return f.replace(f.size() - 12, 4, Le32(0x7FFFFFFF));
       }},
      {"a string past the end", [](std::string f) { return f.substr(0, f.find(kMarker) + 4); }},
      {"a line past the script", [](std::string f) { return f.replace(f.size() - 8, 4, Le32(1000000)); }},
      {"a file cut in half", [](std::string f) { return f.substr(0, f.size() / 2); }},
      {"a file cut before its last byte", [](std::string f) { return f.substr(0, f.size() - 1); }},
      {"an empty file", [](std::string) { return std::string(); }},
  };
  return damages;
}

// What the second run's game is at its end.
struct SeenAtEnd {
  int32_t var1 = -1;
  std::string sprite5, sprite6;
  bool sprite6_visible = false;
  int gosub_depth = -1;
  std::vector<std::string> pages;
  uint32_t pixel_sprite5 = 0, pixel_sprite6 = 0;
};

class DamagedSave : public ::testing::Test {
 protected:
  // The first run's file, damaged, then the second run.
  RunResult LoadDamaged(const Damage& d, bool menu, const std::string& input, SeenAtEnd& seen) {
    SoundGame g;
    g.game.WriteBytes("red.bmp", MakeBmp24(8, 8, [](int, int) { return 0xFF0000u; }));
    g.game.WriteBytes("blue.bmp", MakeBmp24(8, 8, [](int, int) { return 0x0000FFu; }));
    g.game.Write("0.txt", Script(menu));
    RunResult first = RunScripted(g.game, "", {}, 20000, &g.audio);
    EXPECT_EQ(first.status, 0) << first.err;
    g.game.WriteBytes("save1.dat", d.apply(g.game.ReadBytes("save1.dat")));

    RecordingAudio audio;
    RunResult r = RunScripted(
        g.game, input,
        [&](Engine& e) {
          seen.var1 = e.vars.Num(1);
          seen.sprite5 = e.graphics.sprites[5].tag;
          seen.sprite6 = e.graphics.sprites[6].tag;
          seen.sprite6_visible = e.graphics.sprites[6].visible;
          seen.gosub_depth = e.interp.gosub.depth();
          for (int n = e.back_log.PageCount(); n >= 1; --n) seen.pages.push_back(SjisToUtf8(*e.back_log.PageBack(n)));
          seen.pixel_sprite5 = PixelAt(e.display, 12, 22);
          seen.pixel_sprite6 = PixelAt(e.display, 102, 22);
        },
        20000, &audio);
    music_ = audio.music;
    return r;
  }

  void ExpectAsBeforeTheLoad(const SeenAtEnd& seen) {
    EXPECT_EQ(seen.var1, 3);
    EXPECT_EQ(seen.sprite5, "");
    EXPECT_EQ(seen.sprite6, ":c;blue.bmp");
    EXPECT_TRUE(seen.sprite6_visible);
    EXPECT_EQ(seen.gosub_depth, 0);
    EXPECT_EQ(seen.pages, std::vector<std::string>{"三"});
    EXPECT_EQ(seen.pixel_sprite6, 0x0000FFu);
    EXPECT_NE(seen.pixel_sprite5, 0xFF0000u);
    EXPECT_TRUE(music_.playing);
    EXPECT_TRUE(SoundGame::Holds(music_.path, "b.ogg")) << music_.path;
  }

  RecordingAudio::Music music_;
};

TEST_F(DamagedSave, LoadgameEndsTheRunWithTheReportBeforeAnythingIsTaken) {
  for (const Damage& d : Damages()) {
    SCOPED_TRACE(d.name);
    SeenAtEnd seen;
    RunResult r = LoadDamaged(d, false, "after 100 click 1 1\n", seen);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(TitleAndMessage(r), "エラー\nセーブデータが壊れています。");
    EXPECT_EQ(r.out, "三\n四\n");
    ExpectAsBeforeTheLoad(seen);
  }
}

TEST_F(DamagedSave, ALoadFromTheMenuTellsThePlayerAndTheGameGoesOn) {
  for (const Damage& d : Damages()) {
    SCOPED_TRACE(d.name);
    SeenAtEnd seen;
    // At "四": the system menu, its load entry, slot 1, yes; the notice; then
    // a click ends the wait and the game prints %1.
    RunResult r = LoadDamaged(d, true,
                              "after 100 click 1 1\nafter 100 rclick 1 1\nchoose 1\nchoose 1\nchoose 1\n"
                              "after 100 click 1 1\n",
                              seen);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("セーブデータが壊れています。"), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "三\n四\n３\n");
    ExpectAsBeforeTheLoad(seen);
  }
}

// The same game with its file whole loads from the menu: the damage, not the
// way there, is what the cases above refuse.
TEST_F(DamagedSave, AWholeFileLoadsThroughTheSameMenu) {
  const Damage none{"none", [](std::string f) { return f; }};
  SeenAtEnd seen;
  RunResult r = LoadDamaged(none, true,
                            "after 100 click 1 1\nafter 100 rclick 1 1\nchoose 1\nchoose 1\nchoose 1\n"
                            "after 100 click 1 1\n",
                            seen);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err.find("セーブデータが壊れています。"), std::string::npos) << r.err;
  // The saved page "二" again; its `return` leaves the subroutine and the game ends.
  EXPECT_EQ(r.out, "三\n四\n二\n");
  EXPECT_EQ(seen.var1, 7);
  EXPECT_EQ(seen.sprite5, ":c;red.bmp");
  EXPECT_TRUE(SoundGame::Holds(music_.path, "a.ogg")) << music_.path;
}

}  // namespace
}  // namespace orivane::test
