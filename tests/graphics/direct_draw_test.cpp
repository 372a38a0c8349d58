// The draw commands: what each paints into the display surface, to the byte,
// which sprite fields they leave set, and how `draw`, `ofscopy` and `bgcpy`
// move pictures between the window, the display surface and the background.
#include "graphics/direct_draw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/window_picture.h"
#include "support/graphics_run.h"
#include "support/scripted_run.h"
#include "text/text_window_paint.h"

namespace orivane::test {
namespace {

// A game whose pictures are a red 4 × 4 square and a two-cell 8 × 4 strip
// (cell 0 red, cell 1 green).
void WriteGame(GameDir& game, const std::string& body) {
  game.WriteBytes("red.bmp", MakeBmp24(4, 4, [](int, int) { return 0xFF0000u; }));
  game.WriteBytes("two.bmp",
                  MakeBmp24(8, 4, [](int x, int) { return x < 4 ? 0xFF0000u : 0x00FF00u; }));
  game.Write("0.txt", ";mode320\n*define\ngame\n*start\n" + body + "\nend\n");
}

// Runs the body and hands the engine at the end to `inspect`.
void RunBody(const std::string& body, const std::function<void(Engine&)>& inspect) {
  GameDir game;
  WriteGame(game, body);
  const RunResult r = RunScripted(game, "", inspect);
  ASSERT_EQ(r.status, 0) << r.err;
}

constexpr const char* kRedSprite = "bg #0000ff,1\nlsp 3,\":c;red.bmp\",0,0\nvsp 3,0\n";
constexpr const char* kStripSprite = "bg #0000ff,1\nlsp 3,\":c/2,0,3;two.bmp\",0,0\nvsp 3,0\n";

TEST(DirectDraw, EachCommandPaintsTheDisplaySurface) {
  struct Case {
    const char* name;
    std::string body;
    int x, y;
    uint32_t pixel;  // of the display surface at the end
  };
  const uint32_t half_red_on_blue = Mul(255, 128) << 16 | Mul(255, 127);
  const std::vector<Case> cases = {
      {"drawclear", "bg #0000ff,1\ndrawclear", 5, 5, 0x000000},
      {"drawfill", "drawfill 255,0,128", 5, 5, 0xFF0080},
      {"drawfill takes the low byte", "drawfill 257,-1,0", 5, 5, 0x01FF00},
      {"drawbg", "bg #112233,1\ndrawclear\ndrawbg", 5, 5, 0x112233},
      {"drawbg2 at full size covers the corner",
       "bg #112233,1\ndrawclear\ndrawbg2 160,120,100,100,0", 5, 5, 0x112233},
      {"drawbg2 at half size leaves the corner", "bg #112233,1\ndrawclear\ndrawbg2 160,120,50,50,0",
       5, 5, 0x000000},
      {"drawbg2 at half size draws the centre", "bg #112233,1\ndrawclear\ndrawbg2 160,120,50,50,0",
       160, 120, 0x112233},
      {"drawsp", std::string(kRedSprite) + "drawsp 3,0,255,20,30", 21, 31, 0xFF0000},
      {"drawsp leaves the rest", std::string(kRedSprite) + "drawsp 3,0,255,20,30", 19, 31,
       0x0000FF},
      {"drawsp with opacity", std::string(kRedSprite) + "drawsp 3,0,128,20,30", 21, 31,
       half_red_on_blue},
      {"drawsp past the left edge", std::string(kRedSprite) + "drawsp 3,0,255,-2,0", 1, 1,
       0xFF0000},
      {"drawsp of a cell past the last draws the last",
       std::string(kStripSprite) + "drawsp 3,5,255,20,30", 21, 31, 0x00FF00},
      {"drawsp2 centres the cell", std::string(kRedSprite) + "drawsp2 3,0,255,20,30,100,100,0", 19,
       29, 0xFF0000},
      {"drawsp2 draws no more than the cell",
       std::string(kRedSprite) + "drawsp2 3,0,255,20,30,100,100,0", 25, 30, 0x0000FF},
      {"drawsp2 scales", std::string(kRedSprite) + "drawsp2 3,0,255,20,30,200,200,0", 23, 31,
       0xFF0000},
      {"drawsp3 with the unit matrix",
       std::string(kRedSprite) + "drawsp3 3,0,255,20,30,1000,0,0,1000", 19, 29, 0xFF0000},
      {"drawsp3 with a singular matrix draws nothing",
       std::string(kRedSprite) + "drawsp3 3,0,255,20,30,1000,1000,1000,1000", 20, 30, 0x0000FF},
      {"ofscopy", "bg #112233,1\ndrawclear\nofscopy", 5, 5, 0x112233},
      {"ofscpy", "bg #112233,1\ndrawclear\nofscpy", 5, 5, 0x112233},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    uint32_t pixel = 0xDEADBEEF;
    RunBody(c.body, [&](Engine& e) { pixel = PixelAt(e.display, c.x, c.y); });
    EXPECT_EQ(pixel, c.pixel);
  }
}

TEST(DirectDraw, DrawspKeepsCellAndOpacityWhileDrawsp2AndDrawsp3PutTheOpacityBack) {
  struct Case {
    const char* body;
    int32_t cell, opacity;  // sprite 3's afterwards
  };
  const std::vector<Case> cases = {
      {"drawsp 3,1,128,0,0", 1, 128},
      {"drawsp 3,5,300,0,0", 1, 255},  // a cell past the last is kept as the last
      {"drawsp 3,-4,-9,0,0", 0, 0},
      {"drawsp2 3,1,128,9,9,100,100,0", 1, -1},
      {"drawsp3 3,1,128,9,9,1000,0,0,1000", 1, -1},
      {"amsp 3,0,0,200\ndrawsp2 3,1,50,9,9,100,100,0", 1, 200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    int32_t cell = -7, opacity = -7;
    RunBody(std::string(kStripSprite) + c.body, [&](Engine& e) {
      cell = e.graphics.sprites[3].surface.cell;
      opacity = e.graphics.sprites[3].surface.opacity;
    });
    EXPECT_EQ(cell, c.cell);
    EXPECT_EQ(opacity, c.opacity);
  }
}

TEST(DirectDraw, TheOpacityDrawspSetsShowsInLaterCompositions) {
  uint32_t after_drawsp = 0, after_drawsp2 = 0;
  RunBody(std::string(kRedSprite) + "drawsp 3,0,128,0,0\nvsp 3,1\nprint 1",
          [&](Engine& e) { after_drawsp = PixelAt(e.display, 1, 1); });
  RunBody(std::string(kRedSprite) + "drawsp2 3,0,128,2,2,100,100,0\nvsp 3,1\nprint 1",
          [&](Engine& e) { after_drawsp2 = PixelAt(e.display, 1, 1); });
  EXPECT_EQ(after_drawsp, Mul(255, 128) << 16 | Mul(255, 127));
  EXPECT_EQ(after_drawsp2, 0xFF0000u);
}

TEST(DirectDraw, DrawShowsTheDisplaySurfaceInTheWindow) {
  for (const bool draw : {false, true}) {
    SCOPED_TRACE(draw ? "draw" : "no draw");
    uint32_t shown = 0;
    RunBody(std::string("bg #0000ff,1\ndrawfill 1,2,3") + (draw ? "\ndraw" : ""),
            [&](Engine& e) { shown = PixelAt(WindowPicture(e), 5, 5); });
    EXPECT_EQ(shown, draw ? 0x010203u : 0x0000FFu);
  }
}

TEST(DirectDraw, BgcpyMakesWhatTheWindowShowsTheBackground) {
  for (const char* command : {"bgcpy", "bgcopy"}) {
    SCOPED_TRACE(command);
    uint32_t copied = 0, sprite = 0, elsewhere = 0;
    std::string name, tag = "?";
    RunBody(std::string("bg #0000ff,1\nlsp 1,\":c;red.bmp\",10,10\nprint 1\n") + command +
                "\ncsp 1\nlsp 2,\":c;red.bmp\",100,100\nprint 1",
            [&](Engine& e) {
              copied = PixelAt(e.display, 11, 11);
              sprite = PixelAt(e.display, 101, 101);
              elsewhere = PixelAt(e.display, 50, 50);
              name = e.graphics.background_name;
              tag = e.graphics.background.tag;
            });
    EXPECT_EQ(copied, 0xFF0000u);  // sprite 1 is gone, its picture stays in the background
    EXPECT_EQ(sprite, 0xFF0000u);
    EXPECT_EQ(elsewhere, 0x0000FFu);
    EXPECT_EQ(name, "*bgcpy");
    EXPECT_EQ(tag, "");
  }
}

TEST(DirectDraw, DrawtextPaintsTheTextWindowIntoTheDisplaySurface) {
  RunBody(
      "bg #0000ff,1\nsetwindow 10,10,5,2,16,16,0,0,0,0,1,#808080,0,0,100,60\n"
      "drawfill 255,255,255\ndrawtext",
      [](Engine& e) {
        DisplaySurface expected;
        expected.Resize(e.display.width, e.display.height);
        FillRect(PixelView(expected), PixelRect{0, 0, expected.width - 1, expected.height - 1},
                 0xFFFFFF);
        PaintTextWindow(e.text, e.graphics.mul, PixelView(expected),
                        PixelRect{0, 0, expected.width - 1, expected.height - 1});
        EXPECT_EQ(e.display.pixels, expected.pixels);
        EXPECT_NE(PixelAt(e.display, 50, 30), 0xFFFFFFu);  // the window's colour over white
        EXPECT_EQ(PixelAt(e.display, 200, 200), 0xFFFFFFu);
      });
}

}  // namespace
}  // namespace orivane::test
