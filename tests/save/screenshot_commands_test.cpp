// The screen copies a script keeps: shrunk to the size asked for, written as
// BMP files inside the game folder, kept or let go as each command says.
#include <gtest/gtest.h>

#include <string>

#include "support/game_fixture.h"
#include "support/script_cases.h"

namespace orivane::test {
namespace {

std::string Game(const std::string& body) { return "*define\ngame\n*start\n" + body + "\nend\n"; }

TEST(ScreenshotCommands, TheCopyIsShrunkWrittenKeptAndLetGo) {
  GameDir game;
  game.Write("0.txt", Game("bg #204080,1\ngetscreenshot 64,48\nsavescreenshot2 \"a.bmp\"\nsavescreenshot \"b.bmp\"\n"
                           "savescreenshot \"c.bmp\"\ngetscreenshot 8,6\ndeletescreenshot\nsavescreenshot \"d.bmp\""));
  RunResult r = game.Run();
  ASSERT_EQ(r.status, 0) << r.err;
  const std::string a = game.ReadBytes("a.bmp");
  ASSERT_EQ(a.size(), 54u + 64 * 3 * 48);
  EXPECT_EQ(a, game.ReadBytes("b.bmp"));  // savescreenshot2 kept it
  // Every pixel of a one-colour screen keeps the colour (blue, green, red).
  EXPECT_EQ(a.substr(54, 3), "\x80\x40\x20");
  EXPECT_EQ(a.substr(a.size() - 3), "\x80\x40\x20");
  EXPECT_TRUE(game.ReadBytes("c.bmp").empty());  // savescreenshot let it go
  EXPECT_TRUE(game.ReadBytes("d.bmp").empty());  // and so did deletescreenshot
}

INSTANTIATE_TEST_SUITE_P(
    ScreenshotCommands, ScriptErrors,
    ::testing::Values(ErrorCase{"getscreenshot 0,10", "エラー", "getscreenshotの大きさが間違っています。"},
                      ErrorCase{"getscreenshot 5000,10", "エラー", "getscreenshotの大きさが間違っています。"},
                      ErrorCase{"getscreenshot 10,10\nsavescreenshot \"../a.bmp\"", "エラー",
                                "savescreenshotのファイル名../a.bmpはゲームのフォルダの外を指しています。"}));

}  // namespace
}  // namespace orivane::test
