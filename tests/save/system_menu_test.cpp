// The right-click system menu in whole runs: its entries (save and load
// through the slot menus and their yes/no questions, reset, end, the
// back-log, taking the window off), `rmode`, `systemcall`, the slot lines the
// menus show, and the errors of the menu commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "save/menu_layout.h"
#include "support/game_fixture.h"
#include "support/script_cases.h"
#include "text/fake_fonts.h"
#include "text/line_breaking.h"
#include "text/text_window_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

constexpr const char* kMenu =
    "rmenu \"セーブ\",save,\"ロード\",load,\"リセット\",reset,\"終了\",end,\"ログ\",lookback,\"消す\",windowerase\n";

// The right clicks come after the text is typed (20 ms a character): a
// click during typing only shows the rest of the text.
std::string MenuGame(const std::string& body) { return SmallGame(kMenu, body); }

struct MenuCase {
  const char* name;
  const char* body;
  const char* input;
  int status;
  const char* out;
};

TEST(SystemMenu, EntriesDoWhatTheySay) {
  const std::vector<MenuCase> cases = {
      {"save: slot 1, yes", "一@\n二", "after 100 rclick 1 1\nchoose 1\nchoose 1\nchoose 1\n", 0, "一\n二\n"},
      {"the question answered no goes back to the slots, a right click leaves",
       "一@\n二", "after 100 rclick 1 1\nchoose 1\nchoose 1\nchoose 2\nafter 100 rclick 1 1\n", 0, "一\n二\n"},
      {"reset, yes: the game starts again", "if %300 == 1 goto *second\nmov %300,1\n一@\n二\nend\n*second\n三",
       "after 100 rclick 1 1\nchoose 3\nchoose 1\n", 0, "一\n三\n"},
      {"end, yes: the run ends", "一@\n二", "after 100 rclick 1 1\nchoose 4\nchoose 1\n", 0, "一\n"},
      {"end, no: the wait goes on", "一@\n二", "after 100 rclick 1 1\nchoose 4\nchoose 2\n", 0, "一\n二\n"},
      // With the menu the run would end in the save menu, at "一".
      {"rmode 0: a right click does nothing", "rmode 0\n一@\n二", "after 100 rclick 1 1\nchoose 1\n", 0, "一\n二\n"},
  };
  for (const MenuCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", MenuGame(c.body));
    TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, c.status) << r.err;
    EXPECT_EQ(r.out, c.out);
    const std::string name = c.name;
    if (name.rfind("save:", 0) == 0) {
      EXPECT_FALSE(game.ReadBytes("save1.dat").empty());
    }
    if (name.rfind("the question", 0) == 0) {
      EXPECT_TRUE(game.ReadBytes("save1.dat").empty());
    }
  }
}

// The load menu: the game saved at "二" in a first run is loaded through
// the menu in a second and goes on from there.
TEST(SystemMenu, LoadThroughTheMenuGoesOnAtTheSavedPage) {
  GameDir game;
  game.Write("0.txt", MenuGame("一\\\n二@\nsavegame 3\n三\\\n四"));
  ASSERT_EQ(RunTextGame(game).status, 0);
  // Only slot 3 has a file: it is the first line the load menu lets the player take.
  TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, "after 100 click 1 1\nafter 100 rclick 1 1\nchoose 2\nchoose 1\nchoose 1\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一\n二\n二\n三\n四\n");
}

// The slot lines: the name, the number and the time of the file, all
// full-width; an empty slot is a row of dashes and cannot be loaded.
TEST(SystemMenu, SlotLinesShowTheirFilesTimes) {
  GameDir game;
  game.Write("0.txt", MenuGame("savegame 2\n一@\n二"));
  std::vector<std::string> texts;
  std::vector<bool> selectable;
  TextRun r = RunTextGame(
      game,
      [&](Engine& e) {
        for (const MenuScreenLine& l : e.system_menu.screen.lines) {
          texts.push_back(SjisToUtf8(l.text));
          selectable.push_back(l.selectable);
        }
      },
      {}, RunWith(nullptr, "after 100 rclick 1 1\nchoose 2\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  ASSERT_EQ(texts.size(), 11u);  // title, a blank line, nine slots
  EXPECT_EQ(texts[0], "＜ロード＞");
  EXPECT_EQ(texts[2], "しおり１　－－－－－－－－－－－－");
  EXPECT_FALSE(selectable[2]);
  // "しおり２　MM月DD日HH時MM分" in full-width characters.
  const std::string two = texts[3];
  EXPECT_EQ(two.rfind("しおり２　", 0), 0u) << two;
  EXPECT_NE(two.find("月"), std::string::npos) << two;
  EXPECT_NE(two.find("分"), std::string::npos) << two;
  EXPECT_EQ(two.find(' '), std::string::npos) << two;
  EXPECT_TRUE(selectable[3]);
}

// Stopped in the menu, the screenshot shows it: the entries on black.
TEST(SystemMenu, TheScreenShowsTheMenu) {
  GameDir game;
  game.Write("0.txt", MenuGame("bg white,1\n一@\n二"));
  FakeFonts fonts;
  FakeFonts::DrawSolid(fonts);
  TextRun r = RunTextGame(game, {}, {}, RunWith(&fonts, "after 100 rclick 1 1\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  int grey = 0, white = 0;
  for (int y = 0; y < r.display.height; ++y)
    for (int x = 0; x < r.display.width; ++x) {
      const uint8_t* p = r.display.RowFromTop(y) + x * 3;
      grey += p[0] == 0xAA && p[1] == 0xAA && p[2] == 0xAA;
      white += p[0] == 0xFF && p[1] == 0xFF && p[2] == 0xFF;
    }
  EXPECT_GT(grey, 1000);   // six entries in the normal colour
  EXPECT_EQ(white, 0);     // the white background is covered
}

// Every menu screen fits the screen in every screen mode: each line lies
// wholly on it, and a question too wide for it goes on over further lines,
// broken between characters that may be parted, with nothing left out.
TEST(SystemMenu, MenusAndQuestionsFitEveryScreen) {
  struct Screen {
    const char* mode_line;
    int width, height;
  };
  const std::vector<Screen> screens = {{";mode320", 320, 240}, {";mode400", 400, 300}, {"", 640, 480},
                                       {";mode800", 800, 600}};
  struct Menu {
    const char* name;
    const char* input;     // the run ends on this menu screen
    const char* question;  // how the question ends ("": a menu, not a question)
  };
  const std::vector<Menu> menus = {
      {"the system menu", "after 100 rclick 1 1\n", ""},
      {"the save menu", "after 100 rclick 1 1\nchoose 1\n", ""},
      {"the load menu", "after 100 rclick 1 1\nchoose 2\n", ""},
      {"the save question", "after 100 rclick 1 1\nchoose 1\nchoose 1\n", "にセーブします。よろしいですか？"},
      {"the load question", "after 100 rclick 1 1\nchoose 2\nchoose 1\n", "をロードします。よろしいですか？"},
  };
  for (const Screen& screen : screens) {
    for (const Menu& menu : menus) {
      SCOPED_TRACE(std::string(menu.name) + " at " + std::to_string(screen.width) + "x" +
                   std::to_string(screen.height));
      GameDir game;
      game.Write("0.txt", std::string(screen.mode_line) + "\n*define\n" + kMenu +
                              "game\n*start\nsavegame 1\n一@\n二\nend\n");
      MenuScreenState shown;
      int width = 0, height = 0;
      TextRun r = RunTextGame(
          game,
          [&](Engine& e) {
            shown = e.system_menu.screen;
            width = e.screen_width;
            height = e.screen_height;
          },
          {}, RunWith(nullptr, menu.input));
      EXPECT_EQ(r.status, 0) << r.err;
      ASSERT_TRUE(shown.open);
      EXPECT_EQ(width, screen.width);
      EXPECT_EQ(height, screen.height);
      const MenuLook& look = shown.look;
      std::string question;
      for (const MenuScreenLine& line : shown.lines) {
        SCOPED_TRACE(SjisToUtf8(line.text));
        const int64_t right = line.x + MenuTextWidth(look, line.text) + std::max(0, look.glyph_width - look.advance_x);
        const int64_t bottom = line.y + std::max(look.advance_y, look.glyph_height);
        EXPECT_GE(line.x, 0);
        EXPECT_LE(right, screen.width);
        EXPECT_GE(line.y, 0);
        EXPECT_LE(bottom, screen.height);
        if (!*menu.question || line.selectable || line.text.size() < 2) continue;
        // A question's line does not begin with what may not begin a line.
        if (!question.empty()) {
          EXPECT_FALSE(MayNotBeginLine(static_cast<uint8_t>(line.text[0]), static_cast<uint8_t>(line.text[1])));
        }
        question += SjisToUtf8(line.text);
      }
      if (*menu.question) {
        EXPECT_EQ(question.rfind("しおり１　", 0), 0u) << question;
        ASSERT_GE(question.size(), std::string(menu.question).size());
        EXPECT_EQ(question.substr(question.size() - std::string(menu.question).size()), menu.question);
      }
    }
  }
}

// ウィンドウを消す at a click wait: the wait's cursor belongs to the window,
// so it leaves the screen with the window and comes back with it. On black,
// with an untinted window and blank glyphs, the cursor is all there is to see.
TEST(SystemMenu, TheCursorGoesAndComesBackWithTheErasedWindow) {
  struct Case {
    const char* name;
    const char* input;
    bool cursor_seen;
  };
  // The run stops (--timeout) long before the last click, at the moment to look at.
  const std::vector<Case> cases = {
      {"at the wait", "", true},
      {"the window erased", "after 100 rclick 1 1\nchoose 6\n", false},
      {"the window back", "after 100 rclick 1 1\nchoose 6\nafter 100 click 1 1\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kMenu) + "setwindow 10,10,10,4,10,10,0,2,0,0,0,#ffffff,0,0,319,239\n",
                                  "一@\n二"));
    TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, std::string(c.input) + "after 100000 click 1 1\n", 5000));
    EXPECT_EQ(r.status, 3) << r.err;
    int lit = 0;
    for (int y = 0; y < r.display.height; ++y)
      for (int x = 0; x < r.display.width; ++x) {
        const uint8_t* p = r.display.RowFromTop(y) + x * 3;
        lit += (p[0] | p[1] | p[2]) != 0;
      }
    EXPECT_EQ(lit > 0, c.cursor_seen) << lit << " pixels lit";
  }
}

TEST(SystemMenu, SystemcallRunsAnEntryFromTheScript) {
  GameDir game;
  game.Write("0.txt", MenuGame("一\\\nsystemcall save\n二"));
  TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, "after 100 click 1 1\nchoose 4\nchoose 1\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(game.ReadBytes("save4.dat").empty());
}

INSTANTIATE_TEST_SUITE_P(
    SystemMenuCommands, ScriptErrors,
    ::testing::Values(ErrorCase{"systemcall nothing", "エラー", "systemcall命令へのパラメータが間違っています。"},
                      ErrorCase{"systemcall end", "エラー", "systemcall命令へのパラメータが間違っています。"}));

INSTANTIATE_TEST_SUITE_P(
    SystemMenuDefineCommands, DefineErrors,
    ::testing::Values(ErrorCase{"rmenu \"セーブ\",keep", "エラー", "rmenu命令へのパラメータが間違っています。"},
                      ErrorCase{"menuselectcolor #ffffff,\"grey\",#555599", "エラー",
                                "menuselectcolorのパラメータが違います。"}));

}  // namespace
}  // namespace orivane::test
