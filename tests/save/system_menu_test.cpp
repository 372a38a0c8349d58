// The right-click system menu in whole runs: its entries (save and load
// through the slot menus and their yes/no questions, reset, end, the
// back-log, taking the window off), `rmode`, `systemcall`, the slot lines the
// menus show, and the errors of the menu commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/game_fixture.h"
#include "support/script_cases.h"
#include "text/fake_fonts.h"
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
