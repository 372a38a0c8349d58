// The back-log in whole runs: what each page holds (the text as printed,
// with its line breaks, indentation and ruby), when pages are committed and
// dropped, the commands that read them, the viewer (paging, leaving, its
// buttons and sprites, its colour) and sprites made from pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_fonts.h"
#include "support/graphics_run.h"
#include "support/script_cases.h"
#include "text_window_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

// A 10 × 4 grid of 10 × 10 cells at (10, 10), 2 pixels between lines, typed
// at once, white text on an untinted window over the whole screen.
constexpr const char* kGridWindow = "setwindow 10,10,10,4,10,10,0,2,0,0,0,#ffffff,0,0,319,239\n";

std::vector<std::string> PagesOf(const Engine& e) {
  std::vector<std::string> pages;
  for (int n = e.back_log.PageCount(); n >= 1; --n) pages.push_back(SjisToUtf8(*e.back_log.PageBack(n)));
  return pages;
}

// Clicks through n page waits.
std::string Clicks(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "click 1 1\n";
  return s;
}

struct PagesCase {
  const char* name;
  const char* define;  // after the grid window
  const char* body;
  std::vector<std::string> pages;  // oldest first
  std::string collected;           // the page still being collected
};

TEST(BackLog, PagesHoldTheTextAsItWasPrinted) {
  const std::vector<PagesCase> cases = {
      {"a page wait commits the page", "", "一二\\\n三", {"一二"}, "三\n"},
      {"each text line ends with a line feed", "", "一\n二三\\", {"一\n二三"}, ""},
      {"a wrap logs its line feed and its indentation", "indent 2\n", "一二三四五六七八九十一\\",
       {"一二三四五六七八九十\n　　一"}, ""},
      {"ruby is kept as written", "", "(一/いち)二\\", {"(一/いち)二"}, ""},
      {"an empty page adds nothing", "", "一\\\n\\\ntextclear\n二\\", {"一", "二"}, ""},
      {"maxkaisoupage keeps only the newest pages", "maxkaisoupage 3\n", "一\\\n二\\\n三\\\n四\\\n五\\",
       {"三", "四", "五"}, ""},
      {"lookbackoff stops appending and committing", "",
       "一\\\nlookbackoff\n二\\\nlookbackon\n三\\", {"一", "三"}, ""},
      {"textcommit commits in the middle of a page", "", "一\ntextcommit\n二\\", {"一\n", "二"}, ""},
      {"textclear commits", "", "一\ntextclear\n二", {"一\n"}, "二\n"},
      {"lookbackflush drops the page being collected", "", "一\nlookbackflush\n二\\", {"二"}, ""},
      {"setwindow drops the page being collected", "",
       "一\nsetwindow 10,10,10,4,10,10,0,2,0,0,0,#ffffff,0,0,319,239\n二\\", {"二"}, ""},
      {"setwindow3 keeps it", "", "一\nsetwindow3 10,10,10,4,10,10,0,2,0,0,0,#ffffff,0,0,319,239\n二\\",
       {"一\n二"}, ""},
      {"br logs a line feed", "", "一/\nbr\n二\\", {"一\n二"}, ""},
  };
  for (const PagesCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kGridWindow) + c.define, c.body));
    std::vector<std::string> pages;
    std::string collected;
    TextRun r = RunTextGame(game, [&](Engine& e) {
      pages = PagesOf(e);
      collected = SjisToUtf8(e.back_log.Collected());
    });
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pages, c.pages);
    EXPECT_EQ(collected, c.collected);
  }
}

// A selection commits the page it was printed on; the choices, and the line
// breaks between them and inside them, are not story text and leave nothing
// in the back-log, so that a selection after a page wait adds no empty page.
TEST(BackLog, ChoicesLeaveNothingInTheLog) {
  struct Case {
    const char* name;
    const char* define;  // after the grid window
    const char* body;    // its selection takes the first choice, the page wait behind it is clicked
    int waits_before;    // page waits clicked through before the selection
    std::vector<std::string> pages;  // oldest first
  };
  const std::vector<Case> cases = {
      {"one choice under text", "", "一\nselect \"はい\",*a\n*a\n二\\", 0, {"一\n", "二"}},
      {"two choices under text", "", "一\nselect \"甲\",*a,\"乙\",*b\n*a\n二\\", 0, {"一\n", "二"}},
      {"select after a page wait", "", "一\\\nselect \"甲\",*a,\"乙\",*b,\"丙\",*c\n*a\n二\\", 1, {"一", "二"}},
      {"selgosub after a page wait", "",
       "一\\\nselgosub \"甲\",*a,\"乙\",*b\n二\\\nend\n*a\nreturn\n*b\nreturn", 1, {"一", "二"}},
      {"selnum after a page wait", "", "一\\\nselnum %1,\"甲\",\"乙\"\n二\\", 1, {"一", "二"}},
      {"a wrapped choice with indentation", "indent 1\n",
       "一\\\nselect \"一二三四五六七八九十一二\",*a,\"乙\",*b\n*a\n二\\", 1, {"一", "二"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kGridWindow) + c.define, c.body));
    std::vector<std::string> pages;
    std::string collected;
    TextRun r = RunTextGame(
        game,
        [&](Engine& e) {
          pages = PagesOf(e);
          collected = SjisToUtf8(e.back_log.Collected());
        },
        {}, RunWith(nullptr, Clicks(c.waits_before) + "choose 1\n" + Clicks(1)));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(pages, c.pages);
    EXPECT_EQ(collected, "");
  }
}

// The commands that read the back-log; the story text prints their results.
INSTANTIATE_TEST_SUITE_P(
    BackLogReaders, ScriptPrints,
    ::testing::Values(
        ScriptCase{"gettext leaves out the line feeds", "一\n二\ngettext $1\n$1", "一\n二\n一二\n"},
        ScriptCase{"getlog counts back from the newest", "一\\\n二\\\ngetlog $1,1\ngetlog $2,2\n$1$2",
                   "一\n二\n二一\n"},
        ScriptCase{"checkpage", "一\\\ncheckpage %1,1\ncheckpage %2,2\ncheckpage %3,0\n%1%2%3", "一\n１０１\n"}));

INSTANTIATE_TEST_SUITE_P(
    BackLogCommands, ScriptErrors,
    ::testing::Values(ErrorCase{"gettext %1", "構文エラー", "gettextの引数は文字変数です。"},
                      ErrorCase{"checkpage $1,1", "構文エラー", "checkpageの第一引数は数字変数です。"},
                      ErrorCase{"getlog %1,1", "構文エラー", "getlogの第一引数は文字変数です。"},
                      ErrorCase{"一\\\ngetlog $1,2", "エラー", "getlogで指定したページ（2）はありません。"},
                      ErrorCase{"getlog $1,0", "エラー", "getlogで指定したページ（0）はありません。"}));

INSTANTIATE_TEST_SUITE_P(
    BackLogDefineCommands, DefineErrors,
    ::testing::Values(ErrorCase{"lookbackcolor \"red\"", "エラー", "lookbackcolorのパラメータは#rrggbbの色指定です。"},
                      ErrorCase{"maxkaisoupage -1", "エラー", "maxkaisoupageのページ数が間違っています。"},
                      ErrorCase{"lookbacksp 1,1000", "エラー", "定義されていないスプライト1000を使おうとしました。"}));

// ---- the viewer -------------------------------------------------------------

// Colour (0xRRGGBB) of the display at the centre of a cell of the grid.
uint32_t CellColour(const DisplaySurface& d, int column, int line) {
  const uint8_t* p = d.RowFromTop(10 + line * 12 + 5) + (10 + column * 10 + 5) * 3;
  return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

uint32_t PixelColour(const DisplaySurface& d, int x, int y) {
  const uint8_t* p = d.RowFromTop(y) + x * 3;
  return uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

// Two old pages ("一", "二三") and the page showing "四" with a selection
// under it, where the scripted player's input ends.
constexpr const char* kThreePages = "一\\\n二三\\\n四\nselect \"はい\",*yes\n*yes\nend";

TEST(BackLogViewer, PagesBackAndForthAndLeaves) {
  struct Case {
    const char* name;
    const char* input;
    int page;               // the page shown at the end (0: the viewer is closed)
    uint32_t first, second;  // the colour of the first two cells of the first line
  };
  constexpr uint32_t kRed = 0xFF0000, kWhite = 0xFFFFFF, kBlack = 0;
  const std::vector<Case> cases = {
      {"the wheel opens it at the newest page", "after 10 wheel 1\n", 1, kRed, kRed},
      {"the wheel pages back", "after 10 wheel 1\nafter 10 wheel 1\n", 2, kRed, kBlack},
      {"there is nothing older than the oldest page", "after 10 wheel 1\nafter 10 wheel 2\n", 2, kRed, kBlack},
      {"the wheel turned down pages forward", "after 10 wheel 1\nafter 10 wheel 1\nafter 10 wheel -1\n", 1, kRed,
       kRed},
      {"PageUp and Up page back", "after 10 wheel 1\nafter 10 key pageup\n", 2, kRed, kBlack},
      {"Down pages forward", "after 10 wheel 1\nafter 10 key up\nafter 10 key down\n", 1, kRed, kRed},
      {"paging forward from the newest page leaves", "after 10 wheel 1\nafter 10 wheel -1\n", 0, kWhite, kBlack},
      {"a click leaves", "after 10 wheel 1\nafter 10 click 200 200\n", 0, kWhite, kBlack},
      {"a right click leaves", "after 10 wheel 1\nafter 10 rclick 200 200\n", 0, kWhite, kBlack},
      {"Escape leaves", "after 10 wheel 1\nafter 10 key escape\n", 0, kWhite, kBlack},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kGridWindow) + "lookbackcolor #ff0000\n", kThreePages));
    FakeFonts fonts;
    FakeFonts::DrawSolid(fonts);
    int page = -1;
    TextRun r = RunTextGame(
        game, [&](Engine& e) { page = e.back_log.viewer.open ? e.back_log.viewer.page : 0; }, {},
        RunWith(&fonts, Clicks(2) + c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    // What the viewer draws is not story text.
    EXPECT_EQ(r.out, "一\n二三\n四\n");
    EXPECT_EQ(page, c.page);
    EXPECT_EQ(CellColour(r.display, 0, 0), c.first);
    EXPECT_EQ(CellColour(r.display, 1, 0), c.second);
    // The choice under "四" is there again once the viewer has closed.
    EXPECT_EQ(CellColour(r.display, 0, 1), c.page == 0 ? 0x999999u : kBlack);
  }
}

// With `rlookback` the right click at a click wait opens the viewer; the
// click that closes it does not also end the wait.
TEST(BackLogViewer, RightClickOpensItAndTheClosingClickStaysInTheViewer) {
  GameDir game;
  game.Write("0.txt", SmallGame(std::string(kGridWindow) + "rlookback\n", "一\\\n二@\n三"));
  uint32_t ticks = 0;
  TextRun r = RunTextGame(game, [&](Engine& e) { ticks = e.platform.Ticks(); }, {},
                          RunWith(nullptr, Clicks(1) + "after 10 rclick 1 1\nafter 10 click 200 200\nafter 1000 click 1 1\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ticks, 1020u);
}

TEST(BackLogViewer, NothingOpensWithoutPages) {
  GameDir game;
  game.Write("0.txt", SmallGame(kGridWindow, "一@\n二"));
  uint32_t ticks = 0;
  TextRun r = RunTextGame(game, [&](Engine& e) { ticks = e.platform.Ticks(); }, {},
                          RunWith(nullptr, "after 10 wheel 1\nafter 500 click 1 1\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ticks, 510u);
}

// The four button pictures: older page over / not over, newer page over / not over.
void WriteButtons(const GameDir& game) {
  const uint32_t colours[4] = {0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF};
  const char* names[4] = {"oo.bmp", "o.bmp", "no.bmp", "n.bmp"};
  for (int i = 0; i < 4; ++i) game.WriteBytes(names[i], MakeBmp24(8, 8, [&](int, int) { return colours[i]; }));
}

TEST(BackLogViewer, ButtonsStandAtTheWindowsRightCornersAndPage) {
  struct Case {
    const char* name;
    const char* input;
    int page;
    uint32_t older, newer;  // what shows at each button's place
  };
  constexpr uint32_t kNone = 0;
  const std::vector<Case> cases = {
      {"at the newest page only the older button", "after 10 wheel 1\n", 1, 0x0000FF, kNone},
      {"in the middle both", "after 10 wheel 1\nafter 10 wheel 1\n", 2, 0x0000FF, 0x00FFFF},
      {"the pointer over a button", "after 10 wheel 1\nafter 10 wheel 1\nafter 10 move 314 4\n", 2, 0x00FF00,
       0x00FFFF},
      {"a click on the older button", "after 10 wheel 1\nafter 10 click 314 4\n", 2, 0x00FF00, 0x00FFFF},
      {"a click on the newer button", "after 10 wheel 1\nafter 10 wheel 1\nafter 10 click 314 235\n", 1,
       0x0000FF, kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    WriteButtons(game);
    game.Write("0.txt", SmallGame(std::string(kGridWindow) +
                                      "lookbackbutton \":c;oo.bmp\",\":c;o.bmp\",\":c;no.bmp\",\":c;n.bmp\"\n",
                                  std::string("一\\\n二\\\n") + kThreePages));
    int page = -1;
    TextRun r = RunTextGame(game, [&](Engine& e) { page = e.back_log.viewer.page; }, {},
                            RunWith(nullptr, Clicks(4) + c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(page, c.page);
    // The frame's right edge is 319: the buttons take x 311..318.
    EXPECT_EQ(PixelColour(r.display, 314, 4), c.older);
    EXPECT_EQ(PixelColour(r.display, 314, 235), c.newer);
    EXPECT_EQ(PixelColour(r.display, 310, 4), kNone);
  }
}

TEST(BackLogViewer, LookbackspShowsTheSpritesOfTheDirectionsWithPagesAndRestoresThem) {
  GameDir game;
  WriteButtons(game);
  game.Write("0.txt", SmallGame(std::string(kGridWindow) + "lookbacksp 3,4\n",
                                "lsp 3,\"o.bmp\",0,0\nlsp 4,\"n.bmp\",0,20\n一\\\n二\\\n三@\n四"));
  struct Case {
    const char* input;
    bool open, older, newer;
  };
  const std::vector<Case> cases = {
      {"after 10 wheel 1\n", true, true, false},
      {"after 10 wheel 1\nafter 10 wheel 1\n", true, false, true},
      {"after 10 wheel 1\nafter 10 click 2 2\nafter 10 click 200 200\n", false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.input);
    bool open = false, older = false, newer = false;
    TextRun r = RunTextGame(game, [&](Engine& e) {
      open = e.back_log.viewer.open;
      older = e.graphics.sprites[3].visible;
      newer = e.graphics.sprites[4].visible;
    }, {}, RunWith(nullptr, Clicks(2) + c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(open, c.open);
    EXPECT_EQ(older, c.older);
    EXPECT_EQ(newer, c.newer);
  }
}

// ---- sprites from pages -------------------------------------------------------

int MaskAt(const ImageSurface& s, int x, int y) { return s.RowFromTop(y)[(s.CellWidth() + x) * 3]; }

TEST(BackLogSprites, LogspLaysAPageOutByItsLineFeeds) {
  GameDir game;
  // The page "一\n二": two lines of one character each.
  game.Write("0.txt", SmallGame(kGridWindow, "一\n二\\\ngetlog $1,1\nlogsp 5,$1,30,40\n"
                                             "logsph2 6,$1,0,0,4,4,1,2"));
  FakeFonts fonts;
  FakeFonts::DrawSolid(fonts);
  TextRun r = RunTextGame(
      game,
      [](Engine& e) {
        const SpriteSlot& s5 = e.graphics.sprites[5];
        EXPECT_EQ(s5.tag, "bklg");
        EXPECT_TRUE(s5.visible);
        EXPECT_EQ(s5.x, 30);
        EXPECT_EQ(s5.y, 40);
        // The window's grid: 10 × 4 cells of 10 × 12.
        ASSERT_EQ(s5.surface.CellWidth(), 100);
        ASSERT_EQ(s5.surface.height, 48);
        EXPECT_EQ(MaskAt(s5.surface, 5, 5), 0);    // 一
        EXPECT_EQ(MaskAt(s5.surface, 5, 17), 0);   // 二 on the next line
        EXPECT_EQ(MaskAt(s5.surface, 15, 5), 255); // not beside 一

        const SpriteSlot& s6 = e.graphics.sprites[6];
        EXPECT_FALSE(s6.visible);
        ASSERT_EQ(s6.surface.CellWidth(), 50);  // 10 columns of 4 + 1
        EXPECT_EQ(MaskAt(s6.surface, 1, 1), 0);
        EXPECT_EQ(MaskAt(s6.surface, 1, 7), 0);  // lines 6 apart
        EXPECT_FALSE(e.text.shown);  // logsp takes the window off
      },
      {}, RunWith(&fonts));
  EXPECT_EQ(r.status, 0) << r.err;
}

}  // namespace
}  // namespace orivane::test
