// The right click at a text wait, in whole runs: with `rgosub` a right click
// (or Escape) calls the routine, and the routine's `return` redoes the wait,
// which the transcript shows as a line of its own (the "@" or "\" printed
// again); the other modes leave the wait going on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text_window_run.h"

namespace orivane::test {
namespace {

// Typed at once; the click wait stands between 一 and 二.
constexpr const char* kTextWithWait = "textspeed 0\n一@二\n三\nend\n";

struct RoutineCase {
  const char* name;
  const char* routine;  // the lines of *menu, which `rgosub *menu` names
  const char* input;
  const char* out;
  uint32_t end_ticks;  // the engine clock at the end
};

TEST(RightClick, RgosubCallsItsRoutineAndItsReturnRedoesTheWait) {
  const std::vector<RoutineCase> cases = {
      // The wait is abandoned (二 is never drawn), the routine runs, its
      // return prints "@" (an empty line) and waits again until the click.
      {"a right click", "メニュー\nreturn", "after 10 rclick 1 1\nafter 500 click 1 1\n",
       "一二\nメニュー\n\n三\n", 510},
      {"Escape pressed and released", "メニュー\nreturn",
       "after 10 key escape\nafter 500 click 1 1\n", "一二\nメニュー\n\n三\n", 510},
      {"the ended input clicks at the redone wait", "メニュー\nreturn", "after 10 rclick 1 1\n",
       "一二\nメニュー\n\n三\n", 10},
      {"a subroutine inside the routine returns without a redo",
       "gosub *inner\n戻り\nreturn\n*inner\nreturn", "after 10 rclick 1 1\n", "一二\n戻り\n\n三\n",
       10},
      {"return to a label leaves without a redo", "return *away\n*away\nよそ\nend",
       "after 10 rclick 1 1\n", "一二\nよそ\n", 10},
      {"a right click at the redone wait calls the routine again", "メニュー\nreturn",
       "after 10 rclick 1 1\nafter 10 rclick 1 1\nafter 10 click 1 1\n",
       "一二\nメニュー\n\nメニュー\n\n三\n", 30},
  };
  for (const RoutineCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt",
               SmallGame("rgosub *menu\n", std::string(kTextWithWait) + "*menu\n" + c.routine));
    uint32_t ticks = 0;
    int depth = -1;
    TextRun r = RunTextGame(
        game,
        [&](Engine& e) {
          ticks = e.platform.Ticks();
          depth = e.interp.gosub.depth();
        },
        {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_EQ(ticks, c.end_ticks);
    EXPECT_EQ(depth, 0);
  }
}

// A page wait cut short is redone as a page wait: its click starts the new
// page, which the first wait never did.
TEST(RightClick, AnInterruptedPageWaitIsRedoneAsAPageWait) {
  GameDir game;
  game.Write("0.txt", SmallGame("rgosub *menu\n", "textspeed 0\n一二\\\nend\n*menu\nreturn"));
  std::vector<int32_t> cursor;
  TextRun r = RunTextGame(
      game,
      [&](Engine& e) {
        cursor = {e.text.column, e.text.line};
      },
      {}, RunWith(nullptr, "after 10 rclick 1 1\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一二\n\n");
  EXPECT_EQ(cursor, (std::vector<int32_t>{0, 0}));
}

struct ModeCase {
  const char* name;
  const char* define;
};

// roff, rlookback and the default (the system menu): a right click does not
// end the wait; the left click does. The back-log viewer and the system menu
// are not there yet, so nothing opens.
TEST(RightClick, OtherModesLeaveTheWaitGoingOn) {
  const std::vector<ModeCase> cases = {
      {"roff", "roff\n"},
      {"rlookback", "rlookback\n"},
      {"the system menu", ""},
  };
  for (const ModeCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt",
               SmallGame(c.define, std::string(kTextWithWait) + "*menu\nメニュー\nreturn"));
    uint32_t ticks = 0;
    TextRun r = RunTextGame(
        game, [&](Engine& e) { ticks = e.platform.Ticks(); }, {},
        RunWith(nullptr, "after 10 rclick 1 1\nafter 10 key escape\nafter 100 click 1 1\n"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "一二\n三\n");
    EXPECT_EQ(ticks, 120u);
  }
}

// The routine is a subroutine call: with the GosubStack full the engine
// reports it instead of calling.
TEST(RightClick, AFullStackIsReported) {
  GameDir game;
  game.Write(
      "0.txt",
      SmallGame(
          "rgosub *menu\n",
          "textspeed 0\n*deeper\ninc %0\nif %0<=1000 gosub *deeper\n一@\nend\n*menu\nreturn"));
  TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, "after 10 rclick 1 1\n"));
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("スタックエラー\nrgosub処理のせいでスタックが溢れました。", 0), 0u)
      << r.err;
}

}  // namespace
}  // namespace orivane::test
