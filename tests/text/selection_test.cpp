// Selections in whole runs: which choice the player's pointer, keys, clicks
// and `choose` lines take (the transcript shows where the script went), the
// commands around them, skipping up to a selection, the colours of the
// highlight in the text layer, and the errors.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_fonts.h"
#include "text_window_run.h"

namespace orivane::test {
namespace {

// A 10 × 8 grid of 10 × 10 cells at (10, 10), lines 12 pixels apart, typed
// at once: line L spans y 10 + 12L … 21 + 12L, column C x 10 + 10C … 19 + 10C.
constexpr const char* kGridWindow = "setwindow 10,10,10,8,10,10,0,2,0,0,0,#ffffff,0,0,319,239\n";

// Three choices of three characters on lines 0, 1 and 2, each leading to a
// label that prints its name.
constexpr const char* kThreeWays =
    "select \"一つ目\", *one, \"二つ目\", *two, \"三つ目\", *three\n"
    "*one\nputtext \"one\"\nend\n*two\nputtext \"two\"\nend\n*three\nputtext \"three\"\nend";

struct WayCase {
  const char* name;
  const char* define;  // after the grid window
  const char* body;
  const char* input;
  const char* out;
};

TEST(Selection, ThePlayersInputTakesAChoiceAndTheScriptGoesThere) {
  const std::vector<WayCase> cases = {
      {"a click on the second choice", "", kThreeWays, "click 25 28\n", "two\n"},
      {"a click on the last character of the third", "", kThreeWays, "click 39 45\n", "three\n"},
      {"choose", "", kThreeWays, "choose 3\n", "three\n"},
      {"a click beside the choices takes nothing", "", kThreeWays,
       "click 45 28\nclick 25 60\nchoose 1\n", "one\n"},
      {"Down from nothing is the first choice, Enter takes it", "", kThreeWays,
       "key down\nkey enter\n", "one\n"},
      {"Up from nothing goes round to the last", "", kThreeWays, "key up\nkey space\n", "three\n"},
      {"a second step within 125 ms is not taken", "", kThreeWays,
       "key down\nkey down\nkey enter\n", "one\n"},
      {"a second step after 125 ms is", "", kThreeWays, "key down\nafter 125 key down\nkey enter\n",
       "two\n"},
      {"a right click runs the rgosub routine, which returns behind the selection", "rgosub *r\n",
       "select \"一つ目\", *one, \"二つ目\", *two\nputtext \"behind\"\nend\n*r\nputtext \"r\"\nreturn\n"
       "*one\nend\n*two\nend",
       "rclick 25 28\n", "r\nbehind\n"},
      {"Escape removes the highlight", "", kThreeWays,
       "move 25 28\nkey escape\nkey enter\nchoose 3\n", "three\n"},
      {"a right click removes the highlight", "", kThreeWays,
       "move 25 28\nrclick 25 28\nkey enter\nchoose 1\n", "one\n"},
      {"the pointer of the wait before already highlights", "",
       "前@\nselect \"甲\", *one, \"乙\", *two\n*one\nputtext \"one\"\nend\n*two\nputtext "
       "\"two\"\nend",
       "click 15 40\nkey enter\n", "前\ntwo\n"},
      {"choices continue over lines", "",
       "select \"甲\", *one,\n    \"乙\", *two\n*one\nputtext \"one\"\nend\n*two\nputtext "
       "\"two\"\nend",
       "choose 2\n", "two\n"},
      {"a wrapped choice keeps its second line", "",
       "select \"一二三四五六七八九十十一\", *one, \"乙\", *two\n*one\nputtext "
       "\"one\"\nend\n*two\nputtext "
       "\"two\"\nend",
       "click 15 28\n", "one\n"},
      {"a reset leaves the selection without a choice", "",
       "puttext \"start\"\nselect \"甲\", *one, \"乙\", *two\n"
       "*one\nputtext \"one\"\nend\n*two\nputtext \"two\"\nend",
       "menu 40028\nanswer yes\nchoose 2\n", "start\nstart\ntwo\n"},
      // Vertical writing: line 1 is the column at x 90 … 99, its cells run down.
      {"vertical writing", "tateyoko 1\n", kThreeWays, "click 95 23\n", "two\n"},
  };
  for (const WayCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kGridWindow) + c.define, c.body));
    TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
}

TEST(Selection, TheCommandsAroundTheSelection) {
  const std::vector<WayCase> cases = {
      {"selnum leaves out an empty choice", "", "selnum %1, \"甲\", \"\", \"丙\"\n%1", "choose 2\n",
       "１\n"},
      {"selnum without choices stores -1", "", "selnum %1, \"\"\n%1", "", "－１\n"},
      {"selgosub returns behind itself", "",
       "selgosub \"甲\", *a, \"乙\", *b\nputtext \"back\"\nend\n*a\nputtext "
       "\"a\"\nreturn\n*b\nputtext \"b\"\nreturn",
       "choose 2\n", "b\nback\n"},
      {"csel goes to *customsel with its choices", "",
       "csel \"甲\", *a, \"\", *a, \"乙\", *b\nend\n*customsel\ngetcselnum %1\ngetcselstr $1, "
       "1\ngetcselstr $2, "
       "5\n%1$1$2\ncselgoto 1\n*a\nputtext \"a\"\nend\n*b\nputtext \"b\"\nend",
       "", "２乙\nb\n"},
      {"cselgoto past the choices goes on", "",
       "csel \"甲\", *a\nend\n*customsel\ncselgoto 1\nputtext \"on\"\nend\n*a\nputtext \"a\"\nend",
       "", "on\n"},
  };
  for (const WayCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kGridWindow) + c.define, c.body));
    TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
}

// After a choice the page starts anew; csel turns save points off.
TEST(Selection, AChoiceStartsANewPageAndCselStopsSavePoints) {
  GameDir game;
  game.Write("0.txt", SmallGame(kGridWindow, "前\nselect \"甲\", *a\n*a\nend"));
  FakeFonts fonts;
  FakeFonts::DrawSolid(fonts);
  TextRun r = RunTextGame(
      game,
      [](Engine& e) {
        EXPECT_EQ(e.text.line, 0);
        EXPECT_EQ(e.text.column, 0);
        EXPECT_TRUE(e.text.layer.used.empty());
        ASSERT_EQ(e.selection.choices.size(), 1u);
        EXPECT_TRUE(e.save_point.enabled);
      },
      {}, RunWith(&fonts, "choose 1\n"));
  EXPECT_EQ(r.status, 0) << r.err;

  game.Write("0.txt", SmallGame(kGridWindow, "csel \"甲\", *a\n*customsel\nend\n*a\nend"));
  RunTextGame(game, [](Engine& e) {
    EXPECT_FALSE(e.save_point.enabled);
    EXPECT_TRUE(e.text.shown);
  });
}

// "n" and the 選択肢まで進む item skip the click waits and stop at the selection.
TEST(Selection, SkippingStopsAtTheSelection) {
  const char* body =
      "一@\n二@\nselect \"甲\", *a, \"乙\", *b\n*a\nputtext \"a\"\nend\n*b\nputtext \"b\"\nend";
  for (const char* skip : {"key n", "menu 40006"}) {
    SCOPED_TRACE(skip);
    GameDir game;
    game.Write("0.txt", SmallGame(kGridWindow, body));
    bool skipping = true;
    TextRun r = RunTextGame(
        game, [&](Engine& e) { skipping = e.read_flags.skip_mode; }, {},
        RunWith(nullptr, std::string(skip) + "\nchoose 2\n"));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "一\n二\nb\n");
    EXPECT_FALSE(skipping);
  }
}

struct HighlightCase {
  const char* name;
  const char* input;
  std::vector<uint32_t> colours;  // of the three choices, 0xRRGGBB
};

// The choice under the pointer is drawn again in the highlight colour; the
// run stops at the selection (--timeout) to look at the text layer.
TEST(Selection, TheChoiceUnderThePointerIsHighlightedInTheTextLayer) {
  constexpr uint32_t kRed = 0xFF0000, kBlue = 0x0000FF;
  const std::vector<HighlightCase> cases = {
      {"no pointer yet", "", {kBlue, kBlue, kBlue}},
      {"over the second", "move 25 28\n", {kBlue, kRed, kBlue}},
      {"from the second to the third", "move 25 28\nmove 12 40\n", {kBlue, kBlue, kRed}},
      {"off the choices again", "move 25 28\nmove 200 28\n", {kBlue, kBlue, kBlue}},
      {"Down twice, apart", "key down\nafter 200 key down\n", {kBlue, kRed, kBlue}},
  };
  for (const HighlightCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt",
               SmallGame(std::string(kGridWindow) + "selectcolor #ff0000, #0000ff\n", kThreeWays));
    FakeFonts fonts;
    FakeFonts::DrawSolid(fonts);
    std::vector<uint32_t> colours;
    TextRun r = RunTextGame(
        game,
        [&](Engine& e) {
          for (int line = 0; line < 3; ++line) {
            const uint8_t* bgr = e.text.layer.ColourAt(25, 15 + 12 * line);
            colours.push_back(uint32_t{bgr[2]} << 16 | uint32_t{bgr[1]} << 8 | bgr[0]);
          }
        },
        {}, RunWith(&fonts, std::string(c.input) + "after 100000 choose 1\n", 5000));
    EXPECT_EQ(r.status, 3) << r.err;
    EXPECT_EQ(colours, c.colours);
  }
}

struct ErrorCase {
  const char* name;
  const char* define;
  const char* body;
  const char* input;
  int status;
  const char* report;  // the start of standard error, or a part of the note
};

TEST(Selection, ErrorsAndInputThatDoesNotFit) {
  const std::vector<ErrorCase> cases = {
      {"selnum into a string", "", "selnum $1, \"甲\"", "", 1,
       "構文エラー\nselnumの第一引数は数値変数です。"},
      {"getcselnum into a string", "", "getcselnum $1", "", 1,
       "構文エラー\ngetcselnumの第一引数は数字変数です。"},
      {"getcselstr into a number", "", "getcselstr %1, 0", "", 1,
       "構文エラー\ngetcselstrの第一引数は文字変数です。"},
      {"selectcolor with a string", "selectcolor \"#ffffff\", #000000\n", "", "", 1,
       "エラー\nselectcolorのパラメータが違います。"},
      {"selectcolor with a word", "selectcolor #ffffff, black\n", "", "", 1,
       "エラー\nselectcolorのパラメータが違います。"},
      {"selgosub on a full stack", "",
       "*deeper\ninc %1\nif %1 <= 1000 gosub *deeper\nselgosub \"甲\", *a\n*a\nend", "choose 1\n",
       1, "スタックエラー\ngosub文のせいでスタックが溢れました。"},
      {"choose past the choices", "", kThreeWays, "choose 4\n", 2,
       "orivane: input.txt:1: there is no option 4 in a selection of 3"},
      {"choose at a button wait", "", "btndef clear\nbtnwait %0\nend", "choose 1\n", 2,
       "orivane: input.txt:1: this line picks a choice, but no selection is open"},
      {"an answer at a selection", "", kThreeWays, "answer yes\n", 2,
       "orivane: input.txt:1: this line answers a message box, but none is open"},
      {"the input ends at a selection", "", kThreeWays, "move 1 1\n", 0,
       "orivane: input.txt: no more input after line 1; ending the run at a wait for the player"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kGridWindow) + c.define, c.body));
    TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, c.status);
    if (c.status == 1)
      EXPECT_EQ(r.err.rfind(c.report, 0), 0u) << r.err;
    else
      EXPECT_NE(r.err.find(c.report), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace orivane::test
