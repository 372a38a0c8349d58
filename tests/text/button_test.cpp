// The button table and `btnwait` in headless runs: what each click, key,
// wheel turn, pointer move and time-out returns, which button wins, what
// the table keeps, and the sprite buttons' highlight.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/game_fixture.h"
#include "support/graphics_run.h"
#include "support/script_cases.h"
#include "support/scripted_run.h"

namespace orivane::test {
namespace {

// Two overlapping picture buttons (2 added last, so it wins where they
// overlap) and a third far off; the script prints what the wait returned.
constexpr const char* kButtons =
    "btndef \"\"\nbtn 1,10,10,50,20,0,0\nbtn 2,40,10,50,20,0,0\nbtn 3,200,200,10,10,0,0\n";

struct WaitCase {
  const char* name;
  const char* define;   // *define lines
  const char* setup;    // before the wait (after the buttons)
  const char* input;
  const char* out;      // the result printed in full-width digits
};

TEST(ButtonWait, ReturnsWhatThePlayerDid) {
  const std::vector<WaitCase> cases = {
      {"a click on a button", "", "", "click 20 15\n", "１\n"},
      {"overlapping: the later button wins", "", "", "click 45 15\n", "２\n"},
      {"a click on nothing", "", "", "click 300 300\n", "０\n"},
      {"a right click", "", "", "rclick 20 15\n", "－１\n"},
      {"a time-out", "", "btntime 500\n", "", "－２\n"},
      {"a time-out with the wheel in use", "usewheel\n", "btntime 500\n", "", "－５\n"},
      {"wheel up and down with usewheel", "usewheel\n", "", "wheel -1\n", "－３\n"},
      {"Enter with getenter", "", "getenter\n", "key enter\n", "－１９\n"},
      {"F3 with getfunction", "", "getfunction\n", "key f3\n", "－２３\n"},
      {"X with getzxc", "", "getzxc\n", "key x\n", "－５２\n"},
      {"PageUp with getpage", "", "getpage\n", "key pageup\n", "－１２\n"},
      {"Insert with getinsert", "", "getinsert\n", "key insert\n", "－５０\n"},
      {"cursor keys with getcursor", "", "getcursor\n", "key left\n", "－４３\n"},
      {"Escape with useescspc", "useescspc\n", "", "key escape\n", "－１０\n"},
      {"Space with useescspc", "useescspc\n", "", "key space\n", "－１１\n"},
      {"leaving the btnarea band", "", "btnarea 100\n", "move 5 50\n", "－４\n"},
      {"a masked button does not answer", "", "maskbtn 1\n", "click 20 15\n", "０\n"},
      {"getmouseover returns on the way", "", "getmouseover 3,3\n", "move 205 205\n", "３\n"},
      {"btndown counts the press", "", "btndown 1\n", "keydown x\nclick 20 15\n", "１\n"},
      {"delbtn moves a button away", "", "delbtn 2\n", "click 45 15\n", "１\n"},
      {"btncancel drops the last ones", "", "btncancel 2\n", "click 45 15\n", "１\n"},
      {"a scripted player names the button", "", "", "button 3\n", "３\n"},
      {"a time-out runs to its end when the input has ended", "", "btntime 800\ngetbtntimer %1\n", "", "－２\n"},
  };
  for (const WaitCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", std::string("*define\n") + c.define + "game\n*start\n" + kButtons + c.setup +
                            "btnwait %0\n%0\nend\n");
    RunResult r = RunScripted(game, c.input);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
}

// A click on nothing keeps the table; a chosen button takes it away.
TEST(ButtonWait, AChoiceClearsTheTableAndNothingKeepsIt) {
  GameDir game;
  // Results are printed at once, so no click goes to typing them.
  game.Write("0.txt", std::string("*define\ngame\n*start\ntextspeed 0\n") + kButtons +
                          "btnwait %0\n%0\nbtnwait %0\n%0\nbtnwait %0\n%0\nend\n");
  RunResult r = RunScripted(game, "click 300 300\nclick 20 15\nclick 20 15\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "０\n１\n０\n");
}

TEST(ButtonWait, TheTimeItTookIsKept) {
  GameDir game;
  game.Write("0.txt", std::string("*define\ngame\n*start\n") + kButtons + "btnwait %0\ngetbtntimer %1\n%1\nend\n");
  RunResult r = RunScripted(game, "after 750 click 20 15\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "７５０\n");
}

// A sprite button shows cell 1 while the pointer is over it; with the
// input ended the run stops at the wait, the highlight still on.
TEST(ButtonWait, SpriteButtonsShowTheirSecondCellUnderThePointer) {
  GameDir game;
  game.WriteBytes("two.bmp", MakeBmp24(20, 10, [](int x, int) { return x < 10 ? 0x0000FFu : 0x00FF00u; }));
  game.Write("0.txt",
             "*define\ngame\n*start\nlsp 5,\":c/2,0,0;two.bmp\",100,100\nprint 1\nbtndef clear\nspbtn 5,7\n"
             "btnwait %0\nend\n");
  int cell = -1, hovered = -2;
  RunResult r = RunScripted(game, "move 105 105\n", [&](Engine& e) {
    cell = e.graphics.sprites[5].surface.cell;
    hovered = e.buttons.hovered;
  });
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(cell, 1);
  EXPECT_EQ(hovered, 0);
  EXPECT_NE(r.err.find("input.txt"), std::string::npos) << r.err;
}

// `cselbtn` makes a `csel` choice a button of its text's size.
TEST(ButtonWait, ChoiceTextButtonsAnswerWithTheirNumber) {
  GameDir game;
  game.Write("0.txt",
             "*define\ngame\n*start\ncsel \"はい\",*yes,\"いいえ\",*no\n*customsel\n"
             "cselbtn 0,1,10,10\ncselbtn 1,2,10,40\nbtnwait2 %0\n%0\nend\n*yes\nend\n*no\nend\n");
  std::vector<int32_t> sizes;
  RunResult r = RunScripted(game, "click 80 50\n", [&](Engine& e) {
    for (const Button& b : e.buttons.buttons) sizes.insert(sizes.end(), {b.width, b.height});
  });
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "２\n");
  // Width: the text's bytes × 26 / 2; height: one line of 28.
  EXPECT_EQ(sizes, (std::vector<int32_t>{52, 28, 78, 28}));
}

// A `button` line is for a button wait only (click waits before it are
// clicked through).
TEST(ButtonWait, AButtonLineElsewhereIsInputThatDoesNotFit) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\n文字@\nselect \"甲\",*a\n*a\nend\n");
  RunResult r = RunScripted(game, "button 1\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.err.find("no button wait is open"), std::string::npos) << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    ButtonCommands, ScriptErrors,
    ::testing::Values(ErrorCase{"btndef \"\"\nfor %1 = 0 to 512\nbtn %1,0,0,1,1,0,0\nnext", "エラー",
                                "ボタン定義がオーバーフローしました。btndef命令は適切に使われていますか？"},
                      ErrorCase{"btnwait $1", "構文エラー", "btnwaitの第一引数は数字変数です。"},
                      ErrorCase{"getbtntimer 3", "構文エラー", "getbtntimerの第一引数は数字変数です。"},
                      ErrorCase{"spbtn 1000,1", "エラー", "定義されていないスプライト1000を使おうとしました。"},
                      ErrorCase{"exbtn -1,1,\"C1\"", "エラー", "定義されていないスプライト-1を使おうとしました。"}));

}  // namespace
}  // namespace orivane::test
