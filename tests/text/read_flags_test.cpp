// Read flags, skip mode and auto mode: the bitmap's layout, where read-only
// skipping stops (and where it does not), the commands `kidokumode`,
// `skipoff`, `isskip`, `automode` and `mode_ext`, and skipping across two
// runs of the same game.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "engine.h"
#include "script/execute.h"
#include "support/engine_fixture.h"
#include "support/game_fixture.h"
#include "support/script_cases.h"
#include "support/scripted_run.h"
#include "text/read_flags.h"
#include "text/fake_fonts.h"
#include "text/text_window_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

TEST(ReadFlagBitmap, HasOneBitPerScriptByteLeastSignificantFirst) {
  for (const auto& [script_bytes, bitmap_bytes] :
       std::vector<std::pair<int32_t, size_t>>{{0, 0}, {1, 1}, {8, 1}, {9, 2}, {17, 3}}) {
    ReadFlags rf;
    KeepReadFlags(rf, script_bytes);
    EXPECT_TRUE(rf.kept) << script_bytes;
    EXPECT_EQ(rf.bits, std::vector<uint8_t>(bitmap_bytes, 0)) << script_bytes;
  }
  ReadFlags rf;
  KeepReadFlags(rf, 24);
  for (int32_t p : {0, 10, 23}) MarkRead(rf, p);
  EXPECT_EQ(rf.bits, (std::vector<uint8_t>{0x01, 0x04, 0x80}));
  EXPECT_TRUE(rf.IsSet(10));
  EXPECT_FALSE(rf.IsSet(11));
}

TEST(ReadFlagBitmap, SavedFlagsFillTheStartAndTheRestStaysUnread) {
  struct Case {
    const char* name;
    std::vector<uint8_t> saved;
    std::vector<uint8_t> bits;  // a bitmap of three bytes afterwards
  } cases[] = {
      {"nothing saved", {}, {0, 0, 0}},
      {"shorter", {0xFF}, {0xFF, 0, 0}},
      {"as long", {1, 2, 3}, {1, 2, 3}},
      {"longer: cut", {1, 2, 3, 4, 5}, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    ReadFlags rf;
    KeepReadFlags(rf, 20);
    TakeSavedReadFlags(rf, c.saved);
    EXPECT_EQ(rf.bits, c.bits) << c.name;
  }
}

// MarkRead before each statement: what it does to skip mode and to the bit.
TEST(ReadFlagMarking, StopsSkippingOnlyAtUnreadPositionsWhenReadOnlySkipIsOn) {
  struct Case {
    const char* name;
    bool kept;
    int32_t script_bytes;
    bool read_only_skip;
    bool already_read;  // the bit of the position is set before
    int32_t pos;
    bool skip_after;
  } cases[] = {
      {"unread: skipping stops", true, 16, true, false, 5, false},
      {"read before: skipping goes on", true, 16, true, true, 5, true},
      {"read-only skip off: skipping goes on", true, 16, false, false, 5, true},
      {"outside the bitmap counts as unread", true, 16, true, false, 16, false},
      {"an empty script's flags are kept: all outside", true, 0, true, false, 0, false},
      {"no kidokuskip: no effect", false, 0, true, false, 5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ReadFlags rf;
    if (c.kept) KeepReadFlags(rf, c.script_bytes);
    if (c.already_read) MarkRead(rf, c.pos);
    rf.read_only_skip = c.read_only_skip;
    rf.skip_mode = true;
    EXPECT_EQ(SkipStopsAt(rf, c.pos), !c.skip_after);
    MarkRead(rf, c.pos);
    EXPECT_EQ(rf.skip_mode, c.skip_after);
    if (rf.Covers(c.pos)) {
      // Marked now: running it again does not stop skipping.
      EXPECT_TRUE(rf.IsSet(c.pos));
      rf.skip_mode = true;
      MarkRead(rf, c.pos);
      EXPECT_TRUE(rf.skip_mode);
    }
  }
}

// The interpreter marks before each statement, so `isskip` sees whether its
// own statement stopped skipping.
class ReadOnlySkipRun : public ::testing::Test, public EngineFixture {
 protected:
  static constexpr const char* kScript = "isskip %1\nisskip %2\nend\n";

  // Runs kScript once with skip mode on; returns %1 and %2.
  std::vector<int32_t> RunWithSkip() {
    Engine& e = engine();
    e.script.pos = 0;
    e.read_flags.skip_mode = true;
    ErrorOf([&] { ExecuteScript(e, RunMode::kGame); });
    return {e.vars.Num(1), e.vars.Num(2)};
  }
};

TEST_F(ReadOnlySkipRun, TheFirstRunOfAStatementStopsSkippingTheSecondDoesNot) {
  SetScript(kScript);
  KeepReadFlags(engine().read_flags, engine().script.length);
  engine().read_flags.read_only_skip = true;
  EXPECT_EQ(RunWithSkip(), (std::vector<int32_t>{0, 0}));
  EXPECT_EQ(RunWithSkip(), (std::vector<int32_t>{1, 1}));
}

TEST_F(ReadOnlySkipRun, SkippingStopsAtTheFirstUnreadStatement) {
  SetScript(kScript);
  ReadFlags& rf = engine().read_flags;
  KeepReadFlags(rf, engine().script.length);
  rf.read_only_skip = true;
  // The first line (with its newline) was read in an earlier run.
  const int32_t second_line = static_cast<int32_t>(std::string(kScript).find('\n')) + 1;
  for (int32_t p = 0; p < second_line; ++p) MarkRead(rf, p);
  EXPECT_EQ(RunWithSkip(), (std::vector<int32_t>{1, 0}));
}

TEST_F(ReadOnlySkipRun, WithoutKidokuskipReadOnlySkipHasNoEffect) {
  SetScript(kScript);
  engine().read_flags.read_only_skip = true;
  EXPECT_EQ(RunWithSkip(), (std::vector<int32_t>{1, 1}));
  EXPECT_FALSE(engine().read_flags.kept);
  EXPECT_TRUE(engine().read_flags.bits.empty());
}

TEST_F(ReadOnlySkipRun, WithReadOnlySkipOffUnreadStatementsAreMarkedButDoNotStop) {
  SetScript(kScript);
  KeepReadFlags(engine().read_flags, engine().script.length);
  EXPECT_EQ(RunWithSkip(), (std::vector<int32_t>{1, 1}));
  EXPECT_TRUE(engine().read_flags.IsSet(0));
}

TEST(IsSkip, ReportsAutoModeBeforeSkipMode) {
  struct Case {
    bool skip, autom;
    int32_t reported;
  } cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 2}, {true, true, 2}};
  for (const Case& c : cases) {
    EngineFixture f;
    f.SetScript("isskip %0\nend\n");
    f.engine().read_flags.skip_mode = c.skip;
    f.engine().shell.settings.auto_mode = c.autom;
    f.engine().vars.SetNum(0, -1);
    EXPECT_EQ(f.ErrorOf([&] { ExecuteScript(f.engine(), RunMode::kGame); }), "");
    EXPECT_EQ(f.engine().vars.Num(0), c.reported) << c.skip << c.autom;
  }
}

TEST(SkipOff, EndsSkipModeAndAutoMode) {
  EngineFixture f;
  f.SetScript("skipoff\nend\n");
  f.engine().read_flags.skip_mode = true;
  f.engine().shell.settings.auto_mode = true;
  f.ErrorOf([&] { ExecuteScript(f.engine(), RunMode::kGame); });
  EXPECT_FALSE(f.engine().read_flags.skip_mode);
  EXPECT_FALSE(f.engine().shell.settings.auto_mode);
}

INSTANTIATE_TEST_SUITE_P(ReadFlagCommands, ScriptErrors,
                         ::testing::Values(ErrorCase{"isskip $0", "構文エラー", "isskipの引数は数字変数です。"},
                                           ErrorCase{"isskip 3", "構文エラー", "isskipの引数は数字変数です。"},
                                           ErrorCase{"isskip", "構文エラー", "isskipの引数は数字変数です。"}));

// The menu items of a script-built bar.
bool FindItem(const std::vector<MenuItem>& items, int32_t command, const MenuItem** found) {
  for (const MenuItem& m : items) {
    if (m.command == command) {
      *found = &m;
      return true;
    }
    if (FindItem(m.children, command, found)) return true;
  }
  return false;
}

TEST(KidokuMode, SetsReadOnlySkipAndMovesTheMenuCheckMarks) {
  struct Case {
    const char* body;
    bool on;
  } cases[] = {{"kidokumode 1", true}, {"kidokumode 1\nkidokumode 0", false}, {"kidokumode 0\nkidokumode 1", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    GameDir game;
    // The switch starts the other way round, so each case moves the marks.
    game.Write("0.txt", std::string("*define\nresetmenu\ninsertmenu \"既読\",KIDOKUON\ninsertmenu \"全部\",KIDOKUOFF\n") +
                            (c.on ? "kidokumode 0\n" : "kidokumode 1\n") + "game\n*start\n" + c.body + "\n頁@\nend\n");
    RunResult r = RunScripted(game, "", [&](Engine& e) {
      EXPECT_EQ(e.read_flags.read_only_skip, c.on);
      const MenuItem* on = nullptr;
      const MenuItem* off = nullptr;
      ASSERT_TRUE(FindItem(e.shell.bar.items, menu_id::kReadSkipOn, &on));
      ASSERT_TRUE(FindItem(e.shell.bar.items, menu_id::kReadSkipOff, &off));
      EXPECT_EQ(on->checked, c.on);
      EXPECT_EQ(off->checked, !c.on);
    });
    EXPECT_EQ(r.status, 0) << r.err;
  }
}

TEST(AutoModeItem, TheBuiltInBarKeepsItOnlyAfterAutomodeOrModeExt) {
  struct Case {
    const char* define;
    bool item;
  } cases[] = {{"", false}, {"automode\n", true}, {"mode_ext\n", true},
               // A script-built bar keeps what the script put in it.
               {"resetmenu\ninsertmenu \"オート\",AUTO\n", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.define);
    GameDir game;
    game.Write("0.txt", std::string("*define\n") + c.define + "game\n*start\n頁@\nend\n");
    RunResult r = RunScripted(game, "", [&](Engine& e) {
      const MenuItem* auto_item = nullptr;
      EXPECT_EQ(FindItem(e.shell.bar.items, menu_id::kAuto, &auto_item), c.item);
      // Neither word starts auto mode: the player does that.
      EXPECT_FALSE(e.shell.settings.auto_mode);
      // The rest of the built-in bar is still there.
      const MenuItem* skip_item = nullptr;
      if (!e.shell.menu_custom) {
        EXPECT_TRUE(FindItem(e.shell.bar.items, menu_id::kSkip, &skip_item));
      }
    });
    EXPECT_EQ(r.status, 0) << r.err;
  }
}

TEST(AutoModeItem, AutomodeIsForTheDefineBlockOnly) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\nautomode\nend\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("automode"), std::string::npos) << r.err;
}

// Two runs of one game: the first reads three lines and quits at the third;
// the second skips (the menu's skip, 40006) through what was read and stops
// at the first line the first run never reached.
TEST(ReadFlagsAcrossRuns, SkippingStopsWhereTheFirstRunEnded) {
  GameDir game;
  const std::string script =
      "*define\nkidokuskip\nkidokumode 1\ngame\n*start\n一行目@\n二行目@\n三行目@\n四行目@\n五行目@\nend\n";
  game.Write("0.txt", script);
  RunResult first = RunScripted(game, "after 1000 click 1 1\nafter 1000 click 1 1\nafter 1000 close\nanswer yes\n");
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_EQ(first.out, "一行目\n二行目\n三行目\n");

  // The saved flags: the third line was read, the fourth never reached.
  const std::string saved = game.ReadBytes("kidoku.dat");
  const std::string sjis = Utf8ToSjis(script);
  auto read = [&](const char* text_utf8) {
    const size_t p = sjis.find(Utf8ToSjis(text_utf8));
    return p / 8 < saved.size() && ((static_cast<uint8_t>(saved[p / 8]) >> (p % 8)) & 1);
  };
  EXPECT_TRUE(read("三行目"));
  EXPECT_FALSE(read("四行目"));

  const std::string second_input = "menu 40006\nafter 1000 close\nanswer yes\n";
  bool skipping_at_end = true;
  RunResult second = RunScripted(game, second_input, [&](Engine& e) { skipping_at_end = e.read_flags.skip_mode; });
  EXPECT_EQ(second.status, 0) << second.err;
  // Lines two and three went by without a wait; the fourth waited for the close.
  EXPECT_EQ(second.out, "一行目\n二行目\n三行目\n四行目\n");
  EXPECT_FALSE(skipping_at_end);

  // Without the saved flags nothing is read, and the skip never starts: the
  // close comes at the first line's wait.
  std::remove((game.path() + "/kidoku.dat").c_str());
  RunResult fresh = RunScripted(game, second_input);
  EXPECT_EQ(fresh.status, 0) << fresh.err;
  EXPECT_EQ(fresh.out, "一行目\n");
}

// Skipped text goes onto the page as always, but the screen is shown once a
// frame of the engine clock at most, not for every character and page. What
// was not shown stays dirty and reaches the screen when skipping ends.
TEST(SkipDisplay, IsShownOnceAFrameAndCatchesUpWhenSkippingEnds) {
  // A 10 × 4 grid of 10 × 10 cells at (10, 10), typed at 10 ms a character.
  const std::string window = "setwindow 10,10,10,4,10,10,0,2,10,0,0,#ffffff,0,0,319,239\n";
  std::string body;
  for (int page = 0; page < 40; ++page) body += "一二三四\\\n";
  body += "五六@\nskipoff\n七@";
  GameDir game;
  game.Write("0.txt", SmallGame(window, body));
  FakeFonts fonts;
  FakeFonts::DrawSolid(fonts);
  struct Run {
    int shows = 0;
    TextRun run;
  };
  auto run = [&](const std::string& input) {
    Run r;
    r.run = RunTextGame(game, {}, [&](const DisplaySurface&) { ++r.shows; }, RunWith(&fonts, input));
    EXPECT_EQ(r.run.status, 0) << r.run.err;
    return r;
  };
  const Run plain = run("move 1 1\n");
  const Run skipped = run("menu 40006\n");  // skip mode from the first character on
  EXPECT_GT(plain.shows, 160);  // every character of the 40 pages
  EXPECT_LT(skipped.shows, 10);
  EXPECT_EQ(skipped.run.out, plain.run.out);
  // The last skipped line (五六) and the first line after it (七) are on the
  // screen: white ink in the cells' centres.
  for (const Run* r : {&plain, &skipped}) {
    EXPECT_EQ(r->run.display.RowFromTop(15)[15 * 3], 0xFF);
    EXPECT_EQ(r->run.display.RowFromTop(15)[25 * 3], 0xFF);
    EXPECT_EQ(r->run.display.RowFromTop(27)[15 * 3], 0xFF);
    EXPECT_EQ(r->run.display.RowFromTop(15)[35 * 3], 0x00);
  }
}

}  // namespace
}  // namespace orivane::test
