// Headless runs with a scripted player: every input line reaches the wait
// that is open when it falls due, in order. Commands that read the pointer
// without waiting leave the queue alone, a key's release never holds up the
// line after it, and what a menu or a box took never reaches the wait
// behind it.
#include <gtest/gtest.h>

#include <string>

#include "support/game_fixture.h"
#include "support/scripted_run.h"

namespace orivane::test {
namespace {

TEST(InputOrder, ReadingThePointerLeavesDueClicksToTheNextWaits) {
  GameDir game;
  game.Write("0.txt",
             "*define\ngame\n*start\ntextspeed 0\nclick\n後\nclickpos %0,%1\ngetmousepos %2,%3\nisdown %6\n"
             "wait 0\nlrclick\ngetret %4\nlrclick\ngetret %5\n【%4の%5】\n"
             "【%0,%1,%2,%3,%6】\nend\n");
  RunResult r = RunScripted(game, "after 10 click 10 20\nafter 10 click 200 150\nrclick 30 40\nclick 50 60\n");
  EXPECT_EQ(r.status, 0) << r.err;
  // The right click goes to the first lrclick, the left click to the
  // second; the pointer is read where the last due line leaves it.
  EXPECT_EQ(r.out, "後\n【０の１】\n【２００,１５０,５０,６０,０】\n") << r.err;
}

// A key line (press, character, release) ends the wait open when it falls
// due; the line after it is for the wait after that.
struct KeyLineCase {
  const char* name;
  const char* script;  // after "*start\n"
  const char* input;
  const char* out;
};

class KeyLineBeforeAnswer : public ::testing::TestWithParam<KeyLineCase> {};

TEST_P(KeyLineBeforeAnswer, IsNotLost) {
  const KeyLineCase& c = GetParam();
  GameDir game;
  game.Write("0.txt", std::string("*define\ngame\n*start\ntextspeed 0\n") + c.script);
  RunResult r = RunScripted(game, c.input);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, c.out) << r.err;
}

constexpr const char* kBox = "いち@\nyesnobox %0,\"問\",\"題\"\n【%0】\nend\n";
constexpr const char* kChoice = "いち@\nselect \"甲\",*a,\"乙\",*b\n*a\n【甲】\nend\n*b\n【乙】\nend\n";
constexpr const char* kButtons =
    "いち@\nbtndef \"\"\nbtn 1,0,0,50,50,0,0\nbtn 2,60,0,50,50,0,0\nbtnwait %0\n【%0】\nend\n";

INSTANTIATE_TEST_SUITE_P(
    Lines, KeyLineBeforeAnswer,
    ::testing::Values(KeyLineCase{"EnterThenBox", kBox, "key enter\nanswer yes\n", "いち\n【１】\n"},
                      KeyLineCase{"SpaceThenBox", kBox, "key space\nanswer yes\n", "いち\n【１】\n"},
                      KeyLineCase{"ClickThenBox", kBox, "click 5 5\nanswer yes\n", "いち\n【１】\n"},
                      KeyLineCase{"EnterThenChoice", kChoice, "key enter\nchoose 2\n", "いち\n【乙】\n"},
                      KeyLineCase{"SpaceThenChoice", kChoice, "key space\nchoose 2\n", "いち\n【乙】\n"},
                      KeyLineCase{"EnterThenButton", kButtons, "key enter\nbutton 2\n", "いち\n【２】\n"},
                      KeyLineCase{"PressAndReleaseLinesThenBox", kBox,
                                  "keydown enter\nkeyup enter\nanswer no\n", "いち\n【０】\n"}),
    [](const ::testing::TestParamInfo<KeyLineCase>& info) { return std::string(info.param.name); });

// The right-click menu walked from the keyboard (once the page is typed, at
// 20 ms a character): Escape opens it, Down and
// Enter pick セーブ, then the first slot, Left twice and Enter say はい. The
// page stays; the close question comes while it is still shown.
TEST(InputOrder, KeysTakenByTheSaveMenuDoNotMoveTheStoryOn) {
  GameDir game;
  game.Write("0.txt",
             "*define\nrmenu \"セーブ\",save,\"ロード\",load\ngame\n*start\n一頁目\\\n二頁目\\\nend\n");
  RunResult r = RunScripted(game,
                            "after 100 key escape\nafter 200 key down\nafter 200 key enter\nafter 200 key down\n"
                            "after 200 key enter\nafter 200 key left\nafter 200 key left\nafter 200 key enter\n"
                            "after 200 close\nanswer yes\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一頁目\n") << r.err;
  EXPECT_FALSE(game.ReadBytes("save1.dat").empty()) << "the menu path did not reach はい: " << r.err;
}

TEST(InputOrder, EnterOnNoInTheEndQuestionLeavesTheWaitAsItWas) {
  GameDir game;
  game.Write("0.txt", "*define\nrmenu \"終了\",end\ngame\n*start\n一頁目\\\n二頁目\\\nend\n");
  RunResult r = RunScripted(game,
                            "after 100 key escape\nafter 200 key down\nafter 200 key enter\nafter 200 key right\n"
                            "after 200 key enter\nafter 200 close\nanswer yes\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一頁目\n") << r.err;
}

// 選択肢まで進む at text that was never read, with read-only skipping: it
// does nothing, and the next click goes on as a click.
TEST(InputOrder, SkipChosenAtUnreadTextLeavesNothingSwitchedOn) {
  GameDir game;
  game.Write("0.txt", "*define\nkidokuskip\ngame\n*start\nkidokumode 1\n一頁目\\\n二頁目\\\n三頁目\\\nend\n");
  RunResult r = RunScripted(game, "menu 40006\nafter 100 click 5 5\nafter 100 close\nanswer yes\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一頁目\n二頁目\n") << r.err;
}

// A selection opening under the pointer highlights that choice at once, even
// when the last thing the player did was not a pointer event (a menu
// command), so Enter takes it.
TEST(InputOrder, ASelectionHighlightsTheChoiceUnderThePointerWhenItOpens) {
  GameDir game;
  game.Write("0.txt",
             "*define\ngame\n*start\nsetwindow 0,0,20,10,20,20,0,0,0,0,0,#000000,0,0,639,479\n"
             "いち\\\nwait 20\nselect \"甲\",*a,\"乙\",*b\n*a\n【甲】\nend\n*b\n【乙】\nend\n");
  RunResult r = RunScripted(game, "click 5 25\nafter 5 menu 40008\nafter 50 key enter\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "いち\n【乙】\n") << r.err;
}

}  // namespace
}  // namespace orivane::test
