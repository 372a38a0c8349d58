// The sprite getters, cells and their animation, `spwait`, `transmode`, `blt`
// and the argument errors of the picture commands.
#include <gtest/gtest.h>

#include "graphics/animation.h"
#include "graphics/image_surface.h"
#include "support/graphics_run.h"

namespace orivane::test {
namespace {

void WriteGame(GameDir& game, const std::string& body, const std::string& define = "") {
  game.Write("0.txt", ";mode320\n*define\n" + define + "game\n*start\n" + body + "\nend\n");
}

// Three cells of 2 × 2 in red, green, blue.
std::string ThreeCells() {
  return MakeBmp24(6, 2, [](int x, int) {
    const uint32_t c[3] = {0xFF0000, 0x00FF00, 0x0000FF};
    return c[x / 2];
  });
}

TEST(SpriteCommands, GettersReadSizeCellsAndVisibility) {
  GameDir game;
  game.WriteBytes("cells.bmp", ThreeCells());
  game.WriteBytes("a.bmp", MakeBmp24(8, 3, [](int, int) { return 0u; }));
  WriteGame(game,
            "lsp 4,\":c/3,0,3;cells.bmp\",0,0\nlsph 5,\":a;a.bmp\",0,0\n"
            "getspsize 4,%1,%2,%3\ngetspsize 5,%4,%5\ngetspmode %6,4\ngetspmode %7,5\n"
            "lsp 9,\":l/3,100,0;cells.bmp\",0,0\n"
            "%1 %2 %3 %4 %5 %6 %7");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "２２３４３１０\n");  // the number reader takes the blanks after each

  WriteGame(game, "getspsize 1,2,%3");
  r = RunPictures(game);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("getspsizeの第ニ引数は数字変数です。"), std::string::npos) << r.err;
  WriteGame(game, "getspmode 1,1");
  r = RunPictures(game);
  EXPECT_NE(r.err.find("getspmodeの第一引数は数字変数です。"), std::string::npos) << r.err;
  WriteGame(game, "geteffectspeed 4");
  r = RunPictures(game);
  EXPECT_NE(r.err.find("geteffectspeedの第一引数は数字変数です。"), std::string::npos) << r.err;
}

TEST(SpriteCommands, CellAndSpwaitShowTheLastCell) {
  GameDir game;
  game.WriteBytes("cells.bmp", ThreeCells());
  WriteGame(game, "bg black,1\nlsp 1,\":c/3,0,3;cells.bmp\",0,0\ncell 1,2\nprint 1");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0x0000FFu);

  // Loop mode 1 stops on the last cell: spwait returns once it is shown
  // and one more interval has passed.
  WriteGame(game, "bg black,1\nlsp 1,\":c/3,100,1;cells.bmp\",0,0\nprint 1\nspwait 1");
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 0, 0), 0x0000FFu);
  EXPECT_GE(r.end_ticks, 300u);
  EXPECT_LE(r.end_ticks, 310u);

  // A sprite that never animates is not waited for.
  WriteGame(game, "bg black,1\nlsp 1,\":c/3,0,3;cells.bmp\",0,0\nprint 1\nspwait 1");
  r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.end_ticks, 0u);
}

TEST(SpriteCommands, AnimationLoopModes) {
  struct Case {
    int loop;
    std::vector<int> cells;  // after each due step
  } cases[] = {
      {0, {1, 2, 0, 1}}, {1, {1, 2, 2, 2}}, {2, {1, 2, 1, 0, 1}},  // ping-pong
  };
  for (const Case& c : cases) {
    ImageSurface s;
    s.CreateBlank(6, 1, 24);
    s.cells = 3;
    s.interval = 10;
    s.loop_mode = c.loop;
    uint32_t now = 0;
    std::vector<int> seen;
    for (size_t i = 0; i < c.cells.size(); ++i) {
      EXPECT_FALSE(AdvanceCell(s, now + 10));  // exactly the interval is not yet due
      now += 11;
      AdvanceCell(s, now);
      seen.push_back(s.cell);
    }
    EXPECT_EQ(seen, c.cells) << "loop mode " << c.loop;
  }
  // Per-cell times from a list.
  ImageSurface s;
  s.CreateBlank(4, 1, 24);
  s.cells = 2;
  s.interval = -1;
  s.intervals = {5, 50};
  EXPECT_TRUE(AdvanceCell(s, 6));
  EXPECT_FALSE(AdvanceCell(s, 6 + 50));
  EXPECT_TRUE(AdvanceCell(s, 6 + 51));
}

TEST(SpriteCommands, TransmodeGivesBareNamesTheirMode) {
  GameDir game;
  game.WriteBytes("k.bmp",
                  MakeBmp24(2, 1, [](int x, int) { return x == 0 ? 0x00FF00u : 0xFF0000u; }));
  struct Case {
    const char* define;
    uint32_t left;
  } cases[] = {{"", 0x000080}, {"transmode copy\n", 0x00FF00}, {"transmode leftup\n", 0x000080}};
  for (const Case& c : cases) {
    WriteGame(game, "bg #000080,1\nlsp 1,\"k.bmp\",0,0\nprint 1", c.define);
    PictureRun r = RunPictures(game);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PixelAt(r.display, 0, 0), c.left) << c.define;
    EXPECT_EQ(PixelAt(r.display, 1, 0), 0xFF0000u) << c.define;
  }
}

TEST(SpriteCommands, BltStretchesTheComposedScene) {
  GameDir game;
  game.WriteBytes("q.bmp", MakeBmp24(2, 2, [](int x, int y) {
                    return x + y * 2 == 3 ? 0xFFFFFFu : 0x102030u * (x + 2 * y);
                  }));
  WriteGame(game, "bg black,1\nlsp 1,\":c;q.bmp\",0,0\nprint 1\nblt 100,100,20,20,0,0,2,2");
  PictureRun r = RunPictures(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(PixelAt(r.display, 100, 100), 0u);
  EXPECT_EQ(PixelAt(r.display, 119, 119), 0xFFFFFFu);
  EXPECT_EQ(PixelAt(r.display, 112, 105), 0x102030u);
  EXPECT_EQ(PixelAt(r.display, 120, 120), 0u);
}

TEST(SpriteCommands, SpriteNumbersBeyondTheTableAreRefused) {
  GameDir game;
  game.WriteBytes("k.bmp", MakeBmp24(2, 1, [](int, int) { return 0u; }));
  for (const char* line : {"lsp 1000,\"k.bmp\",0,0", "vsp -2,1", "csp 5000", "cell 1000,0"}) {
    WriteGame(game, line);
    PictureRun r = RunPictures(game);
    EXPECT_EQ(r.status, 1) << line;
    EXPECT_NE(r.err.find("定義されていないスプライト"), std::string::npos) << r.err;
  }
}

}  // namespace
}  // namespace orivane::test
