// Text output in whole runs: which cells of the grid the characters take
// (wrapping, kinsoku, indentation, ruby), the inline controls, the waits and
// their cursor, the routine called at waits, the transcript and the errors.
// Glyphs come from a font service that inks every cell solidly, so a cell
// is either full or empty.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_fonts.h"
#include "text_window_run.h"

namespace orivane::test {
namespace {

// A 10 × 4 grid of 10 × 10 cells at (10, 10), 2 pixels between lines, typed
// at once, plain white text without shadow, on an untinted window.
constexpr const char* kGridWindow = "setwindow 10,10,10,4,10,10,0,2,0,0,0,#ffffff,0,0,319,239\n";

// The page as rows of '#' (a cell with ink at its centre) and '.'.
std::vector<std::string> PageGrid(const Engine& e) {
  const TextWindow& w = e.text;
  std::vector<std::string> rows;
  for (int line = 0; line < w.rows; ++line) {
    std::string row;
    for (int column = 0; column < w.columns; ++column) {
      const int x = w.text_left + column * w.advance_x + w.glyph_width / 2;
      const int y = w.text_top + line * w.advance_y + w.glyph_height / 2 + (w.ruby_on ? w.advance_y - w.glyph_height : 0);
      row += w.layer.CoverageAt(x, y) > 0 ? '#' : '.';
    }
    rows.push_back(row);
  }
  return rows;
}

struct PlacementCase {
  const char* name;
  const char* define;  // after the grid window
  const char* text;    // the story text (UTF-8)
  std::vector<std::string> grid;
};

TEST(TextOutput, CharactersTakeTheCellsTheLineBreakingRulesGive) {
  const std::vector<PlacementCase> cases = {
      {"a full line wraps", "", "一二三四五六七八九十一二",
       {"##########", "##........", "..........", ".........."}},
      {"。 may not begin a line: the tenth ideograph goes with it", "", "一二三四五六七八九十。",
       {"#########.", "##........", "..........", ".........."}},
      {"「 may not end a line", "", "一二三四五六七八九「十",
       {"#########.", "##........", "..........", ".........."}},
      {"a last 。 with one free column stays", "", "一二三四五六七八九。",
       {"##########", "..........", "..........", ".........."}},
      {"indentation after a wrap only", "indent 2\n", "一二三四五六七八九十一\n二",
       {"##########", "..#.......", "#.........", ".........."}},
      {"each line ends with a line break", "", "一\n二三",
       {"#.........", "##........", "..........", ".........."}},
      {"a slash joins the next line", "", "一二/\n三",
       {"###.......", "..........", "..........", ".........."}},
      {"a page wait starts a new page", "", "一二\\\n三",
       {"#.........", "..........", "..........", ".........."}},
      {"blanks and controls take no cell", "", "一 #ff0000二!w10!s0_三{%1,5}四",
       {"####......", "..........", "..........", ".........."}},
      {"two half-width characters share a cell", "", "一abcd",
       {"###.......", "..........", "..........", ".........."}},
      {"a page filled to its last cell", "", "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十",
       {"##########", "##########", "##########", "##########"}},
      {"ruby wider than its base moves the text on", "rubyon 10,10\n", "(一/いちにさん)二",
       {"..#..#....", "..........", "..........", ".........."}},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kGridWindow) + c.define, c.text));
    FakeFonts fonts;
    FakeFonts::DrawSolid(fonts);
    std::vector<std::string> grid;
    TextRun r = RunTextGame(game, [&](Engine& e) { grid = PageGrid(e); }, {}, RunWith(&fonts));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(grid, c.grid);
  }
}

// Vertical writing: a line runs down the rightmost column of the grid and
// the next line stands to its left.
TEST(TextOutput, VerticalLinesRunDownFromTheRight) {
  GameDir game;
  game.Write("0.txt", SmallGame(std::string(kGridWindow) + "tateyoko 1\n", "一二\n三"));
  FakeFonts fonts;
  FakeFonts::DrawSolid(fonts);
  TextRun r = RunTextGame(
      game,
      [](Engine& e) {
        const TextLayer& layer = e.text.layer;
        // Line 0 at x (10 − 0 − 1) × 10 + 10 = 100, cells 12 pixels apart downwards.
        EXPECT_GT(layer.CoverageAt(105, 15), 0);
        EXPECT_GT(layer.CoverageAt(105, 27), 0);
        EXPECT_EQ(layer.CoverageAt(105, 39), 0);
        EXPECT_GT(layer.CoverageAt(95, 15), 0);  // line 1: 三
        EXPECT_EQ(layer.CoverageAt(15, 15), 0);
        EXPECT_TRUE(e.text.vertical);
      },
      {}, RunWith(&fonts));
  EXPECT_EQ(r.status, 0) << r.err;
  ASSERT_FALSE(fonts.requests.empty());
  EXPECT_TRUE(fonts.requests.back().vertical);
}

// Ruby stands above its base, in the ruby size, over the base's run.
TEST(TextOutput, RubyIsDrawnAboveItsBase) {
  GameDir game;
  game.Write("0.txt", SmallGame(std::string(kGridWindow) + "rubyon 4,2\n", "(一二/いち)"));
  FakeFonts fonts;
  FakeFonts::DrawSolid(fonts);
  TextRun r = RunTextGame(
      game,
      [](Engine& e) {
        const TextLayer& layer = e.text.layer;
        // Lines are lowered by the pitch between lines (2): the base cells
        // begin at y 12, the ruby's 2 rows right above them.
        EXPECT_GT(layer.CoverageAt(15, 13), 0);
        EXPECT_EQ(layer.CoverageAt(15, 11 - 2), 0);
        // Pitch (2 × 20) / (4 bytes + 1) = 8, each 4-pixel glyph centred in
        // it: the first at x 12, the second at x 20.
        EXPECT_GT(layer.CoverageAt(12, 10), 0);
        EXPECT_GT(layer.CoverageAt(15, 11), 0);
        EXPECT_EQ(layer.CoverageAt(11, 10), 0);
        EXPECT_EQ(layer.CoverageAt(13, 9), 0);
        EXPECT_GT(layer.CoverageAt(20, 10), 0);
        EXPECT_EQ(layer.CoverageAt(17, 10), 0);
      },
      {}, RunWith(&fonts));
  EXPECT_EQ(r.status, 0) << r.err;
}

struct TranscriptCase {
  const char* name;
  const char* script;  // the game phase
  const char* out;     // standard output
};

TEST(TextOutput, EachOutputCallWritesOneLineOfWhatItDraws) {
  const std::vector<TranscriptCase> cases = {
      {"controls left out", "一#ff8800二!w10!d10!s5!sd三&1四_@五@\n", "一二三四五\n"},
      {"ruby reading left out, numbers in full width", "mov %3,-12\n(漢字/かんじ)%3\n", "漢字－１２\n"},
      {"a joined line is a call of its own", "前/\n後\n", "前\n後\n"},
      {"puttext", "puttext \"外から\"\n", "外から\n"},
      {"braces set variables and draw nothing", "{%2,7,$4,値}前\n%2$4\n", "前\n７値\n"},
      {"half-width text", "一ab c\n", "一abc\n"},
  };
  for (const TranscriptCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame("", c.script));
    TextRun r = RunTextGame(game);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
}

struct ErrorCase {
  const char* name;
  const char* define;
  const char* body;
  const char* report;  // the first lines of the report: title, message
};

TEST(TextOutput, BadTextIsReportedWithTheEnginesMessages) {
  const std::vector<ErrorCase> cases = {
      {"text while textmode is off", "", "textmode 0\n文字",
       "エラー！\ntextmodeが非表示設定なのに文字を書こうとしました。"},
      {"a slash with text behind it", "", "前/後", "エラー\n表示文中の、/の次は改行文字でなければなりません。"},
      {"a page longer than the window", kGridWindow, "一\n二\n三\n四\n五",
       "エラー\n文字が枠をはみ出してしまいました。"},
      {"a character past a full page", kGridWindow,
       "一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十@一",
       "エラー\n文字が枠をはみ出してしまいました。"},
      {"a cell outside the window", "setwindow 312,10,10,4,10,10,0,2,0,0,0,#ffffff,0,0,319,239\n", "一",
       "エラー！\n文字がウィンドウからはみ出ました"},
      {"a colour of too few digits", "", "一#12g456二",
       "構文エラー\nカラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。"},
      {"a brace item that is no variable", "", "一{x,1}", "エラー\n表示文中の{}の指定が間違っています。"},
      {"ispage into a string variable", "", "ispage $1", "構文エラー\nispageの引数は数字変数です。"},
  };
  for (const ErrorCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(c.define, c.body));
    TextRun r = RunTextGame(game);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind(c.report, 0), 0u) << r.err;
  }
}

struct WaitCountCase {
  const char* name;
  const char* define;
  const char* text;
  int waits;
  const char* pages;  // %2: the waits that were page waits
};

// Every wait calls the `textgosub` routine, which counts it and goes on.
TEST(TextOutput, ClickstrAndUnderscoreDecideWhereTheTextWaits) {
  const std::vector<WaitCountCase> cases = {
      {"a run of clickstr characters waits once", "clickstr \"。\",0\n", "一。。二。", 2, "0"},
      {"an explicit wait after it is the only wait", "clickstr \"。\",0\n", "一。@二", 1, "0"},
      {"an underscore passes a clickstr character", "clickstr \"。\",0\n", "一_。二", 0, "0"},
      {"underscore waits are no waits", "", "一_@二_\\三", 0, "0"},
      {"near the bottom a clickstr wait is a page wait", "setwindow 10,10,10,4,10,10,0,2,0,0,0,#ffffff,0,0,319,239\nclickstr \"。\",4\n", "一。", 1, "1"},
  };
  for (const WaitCountCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string("textgosub *counted\n") + c.define,
                                  std::string(c.text) +
                                      "\nmov %5,1\nend\n*counted\ninc %1\nispage %3\nadd %2,%3\ntexec\nreturn"));
    std::vector<int32_t> seen;
    TextRun r = RunTextGame(game, [&](Engine& e) { seen = {e.vars.Num(1), e.vars.Num(2), e.vars.Num(5)}; });
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(seen, (std::vector<int32_t>{c.waits, std::atoi(c.pages), 1}));
  }
}

// A clickstr wait inside a line returns, after the routine, to just behind
// its character: the rest of the line is printed then.
TEST(TextOutput, TextAfterAWaitIsPrintedWhenTheRoutineReturns) {
  GameDir game;
  game.Write("0.txt", SmallGame("textgosub *tg\nclickstr \"。\",0\n",
                                "mov $1,\"前\"\n$1。後@終\nend\n*tg\nputtext \"[routine]\"\nreturn"));
  TextRun r = RunTextGame(game);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "前。後\n[routine]\n後\n[routine]\n終\n");
}

// The typing delay runs on the engine clock; a click during it shows the rest
// at once, and the text still stops at its next wait.
TEST(TextOutput, AClickDuringTypingShowsTheRestAtOnce) {
  GameDir game;
  game.Write("0.txt", SmallGame("", "textspeed 100\n一二三四五六七八九十@\nmov %1,0\n"));
  uint32_t typed_without_click = 0, typed_with_click = 0;
  RunTextGame(game, [&](Engine& e) { typed_without_click = e.platform.Ticks(); });
  TextRun r = RunTextGame(game, [&](Engine& e) { typed_with_click = e.platform.Ticks(); }, {},
                          RunWith(nullptr, "after 250 click 1 1\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(typed_without_click, 1000u);
  EXPECT_EQ(typed_with_click, 250u);
}

struct CursorPositionCase {
  const char* define;
  std::vector<int32_t> expected;  // getcursorpos x, y; getnextline x, y
};

TEST(TextOutput, CursorPositionsFollowTheWritingDirection) {
  const std::vector<CursorPositionCase> cases = {
      {"", {30, 10, 10, 22}},                // column 2 of line 0
      {"tateyoko 1\n", {100, 34, 10, 22}},  // line 0 is the rightmost column; 2 cells down
  };
  for (const CursorPositionCase& c : cases) {
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kGridWindow) + c.define,
                                  "一二/\ngetcursorpos %1,%2\ngetnextline %3,%4"));
    std::vector<int32_t> seen;
    TextRun r = RunTextGame(game, [&](Engine& e) {
      for (int v = 1; v <= 4; ++v) seen.push_back(e.vars.Num(v));
    });
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(seen, c.expected) << c.define;
  }
}

// `autoclick` ends every click wait by itself, also when the scripted
// player has no more input (which otherwise clicks at once).
TEST(TextOutput, AutoclickEndsTheWaitAfterItsTime) {
  for (const auto& [define, ticks] : {std::pair{"", 20u}, std::pair{"autoclick 300\n", 320u}}) {
    GameDir game;
    game.Write("0.txt", SmallGame(define, "一@"));
    uint32_t end = 0;
    TextRun r = RunTextGame(game, [&](Engine& e) { end = e.platform.Ticks(); });
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(end, ticks) << define;
  }
}

// At a click wait the cursor stands at the pen; the game has no cursor
// pictures, so it is the engine's own small one.
TEST(TextOutput, TheClickCursorShowsAtTheWait) {
  GameDir game;
  game.Write("0.txt", SmallGame(std::string(kGridWindow), "一二@\n三"));
  FakeFonts fonts;
  FakeFonts::DrawSolid(fonts);
  TextRun r = RunTextGame(
      game,
      [](Engine& e) {
        EXPECT_EQ(e.text_out.wait_state, 1);
        EXPECT_TRUE(e.text_out.cursor_showing);
        EXPECT_EQ(e.text_out.cursor_x, 30);  // behind the second character
        EXPECT_EQ(e.text_out.cursor_y, 10);
      },
      {}, RunWith(&fonts, "after 100000 click 1 1\n", 5000));
  EXPECT_EQ(r.status, 3) << r.err;
  // White ink of the characters, and the cursor's white body at the pen.
  EXPECT_EQ(r.display.RowFromTop(15)[15 * 3], 0xFF);
  EXPECT_EQ(r.display.RowFromTop(12)[35 * 3], 0xFF);
  EXPECT_EQ(r.display.RowFromTop(15)[55 * 3], 0x00);
}

}  // namespace
}  // namespace orivane::test
