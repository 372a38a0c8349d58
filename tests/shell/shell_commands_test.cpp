// The script commands of the window and its menu bar.
#include <gtest/gtest.h>

#include "engine.h"
#include "support/game_fixture.h"
#include "support/graphics_run.h"
#include "support/scripted_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

std::vector<std::string> Labels(const std::vector<MenuItem>& items) {
  std::vector<std::string> out;
  for (const MenuItem& m : items) out.push_back(m.label);
  return out;
}

TEST(ShellCommands, ScriptBuiltMenuListsItemsInReverseAndNestsByDepth) {
  GameDir game;
  game.Write("0.txt",
             "*define\nresetmenu\n"
             "insertmenu \"終了\",end\n"
             "insertmenu \"設定\",sub\n"
             "insertmenu \"普通\",TextMiddle,1\n"
             "insertmenu \"速い\",textfast,1\n"
             "insertmenu \"フォント\",font,1\n"
             "insertmenu \"消す\",sub\n"
             "killmenu 0\n"
             "game\n*start\n頁@\nend\n");
  RunResult r = RunScripted(game, "", [](Engine& e) {
    const std::vector<MenuItem>& bar = e.shell.bar.items;
    ASSERT_EQ(Labels(bar), (std::vector<std::string>{"設定", "終了"}));
    EXPECT_EQ(bar[1].command, menu_id::kEnd);
    const std::vector<MenuItem>& sub = bar[0].children;
    ASSERT_EQ(Labels(sub).size(), 3u);
    EXPECT_EQ(sub[0].label, "フォント");
    EXPECT_TRUE(sub[0].IsSubMenu());
    EXPECT_EQ(sub[0].children.back().command, menu_id::kDefaultFont);
    EXPECT_TRUE(sub[0].children.back().checked);
    EXPECT_EQ(sub[1].command, menu_id::kTextFast);
    EXPECT_EQ(sub[2].command, menu_id::kTextNormal);
    // The completion at `game` made the checks match the settings.
    EXPECT_TRUE(sub[2].checked);
    EXPECT_FALSE(sub[1].checked);
  });
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(ShellCommands, MenuErrorsAreReported) {
  struct Case {
    const char* define;
    const char* message;
  } cases[] = {
      {"resetmenu\nresetmenu\n", "resetmenuは一度だけしか使えません。"},
      {"insertmenu \"a\",end\n", "resetmenuを使わないとメニューをカスタムできません。"},
      {"resetmenu\ninsertmenu \"a\",nosuchthing\n", "メニューカスタマイズ指定が間違っています。"},
  };
  for (const Case& c : cases) {
    GameDir game;
    game.Write("0.txt", std::string("*define\n") + c.define + "game\n*start\nend\n");
    RunResult r = game.Run();
    EXPECT_EQ(r.status, 1) << c.define;
    EXPECT_EQ(r.err.rfind(std::string("エラー\n") + c.message, 0), 0u) << r.err;
  }
}

TEST(ShellCommands, CursorsAreStoredAndTheirNumberChecked) {
  GameDir game;
  game.WriteBytes("cur.bmp", MakeBmp24(6, 4, [](int, int) { return 0x00FF00u; }));
  game.WriteBytes("page.bmp", MakeBmp24(8, 8, [](int, int) { return 0x0000FFu; }));
  game.Write("0.txt",
             "*define\ngame\n*start\nsetcursor 0,\":c;cur.bmp\",4,-2\nabssetcursor 1,\"page.bmp\",600,440\n頁@\nend\n");
  RunResult r = RunScripted(game, "", [](Engine& e) {
    const WaitCursor& normal = e.text_out.cursors[0];
    EXPECT_EQ(normal.picture.tag, ":c;cur.bmp");
    EXPECT_EQ(normal.picture.width, 6);
    EXPECT_EQ(normal.x, 4);
    EXPECT_EQ(normal.y, -2);
    EXPECT_FALSE(normal.absolute);
    EXPECT_TRUE(e.text_out.cursors[1].absolute);
    EXPECT_EQ(e.text_out.cursors[1].x, 600);
  });
  EXPECT_EQ(r.status, 0) << r.err;
  game.Write("0.txt", "*define\ngame\n*start\nsetcursor 2,\"cur.bmp\",0,0\nend\n");
  RunResult bad = game.Run();
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("カーソルは０（通常）と１（クリック消去用）です。"), std::string::npos) << bad.err;
}

TEST(ShellCommands, SwitchesCaptionAndScriptMenuCommands) {
  GameDir game;
  game.Write("0.txt",
             "*define\nusewheel\nuseescspc\nctrlalt\nmode_ext\ndeletemenu\ncaption \"題名\"\ngame\n"
             "*start\nmenu_full\nmenu_click_page\nmenu_cd_off\nmovemousecursor 10,10\n頁@\nend\n");
  RunResult r = RunScripted(game, "", [](Engine& e) {
    EXPECT_TRUE(e.shell.wheel_input);
    EXPECT_TRUE(e.shell.esc_space_input);
    EXPECT_TRUE(e.shell.skip_key_needs_alt);
    // `mode_ext` keeps the auto-mode item, as `automode` does; it does not
    // start auto mode.
    EXPECT_TRUE(e.read_flags.auto_mode_item);
    EXPECT_FALSE(e.shell.settings.auto_mode);
    EXPECT_TRUE(e.shell.menu_deleted);
    EXPECT_EQ(e.shell.caption, Utf8ToSjis("題名"));
    EXPECT_TRUE(e.shell.full_screen);
    EXPECT_TRUE(e.shell.settings.page_mode);
    EXPECT_FALSE(e.shell.settings.cd_on);
  });
  EXPECT_EQ(r.status, 0) << r.err;
}

TEST(ShellCommands, MenuEndAsksBeforeQuitting) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\nmenu_end\n頁@\nend\n");
  RunResult no = RunScripted(game, "answer no\n");
  EXPECT_EQ(no.status, 0) << no.err;
  EXPECT_EQ(no.out, "頁\n");
  RunResult yes = RunScripted(game, "answer yes\n");
  EXPECT_EQ(yes.status, 0) << yes.err;
  EXPECT_EQ(yes.out, "");
}

TEST(ShellCommands, ScriptFontMenuListsTheSameFontsAsTheBuiltInOne) {
  GameDir game;
  game.Write("0.txt",
             "*define\ngame\n*start\n頁@\nend\n");
  size_t once = 0;
  RunScripted(game, "", [&](Engine& e) { once = e.shell.bar.items[1].children.size(); });
  game.Write("0.txt", "*define\nresetmenu\ninsertmenu \"f\",font\ndeletemenu\ngame\n*start\n頁@\nend\n");
  RunScripted(game, "", [&](Engine& e) {
    ASSERT_EQ(e.shell.bar.items.size(), 1u);
    EXPECT_EQ(e.shell.bar.items[0].children.size(), once);
  });
}

}  // namespace
}  // namespace orivane::test
