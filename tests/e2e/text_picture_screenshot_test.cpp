// A text picture on screen: the program, run headless with the machine's
// fonts, shows a ":s" sprite's first colour where the sprite lies and
// nothing anywhere else.
#include <gtest/gtest.h>

#include <string>

#include "platform/fontconfig/fontconfig_fonts.h"
#include "support/game_fixture.h"

namespace orivane::test {
namespace {

// Whether the machine's fonts draw テ (the engine's standard face or any
// face with Japanese).
bool JapaneseGlyphsAvailable() {
  FontconfigFonts fonts;
  GlyphRequest r;
  r.face = "IPAGothic";
  r.code_point = U'テ';
  r.width = 12;
  r.height = 24;
  const GlyphBitmap g = fonts.RasterizeGlyph(r);
  for (uint8_t a : g.coverage)
    if (a > 128) return true;
  return false;
}

TEST(TextPictureScreenshot, ShowsTheTextInTheFirstColour) {
  if (!JapaneseGlyphsAvailable()) GTEST_SKIP() << "no font with Japanese glyphs installed";
  GameDir game;
  game.Write("0.txt",
             "*define\ngame\n*start\n"
             "lsp 1, \":s/24,24,0;#ffffff#ffff00テスト\", 10, 10\nprint 1\nend\n");
  RunResult r = RunProgram({"--headless", "--screenshot", game.path() + "/shot.bmp", game.path()});
  ASSERT_EQ(r.status, 0) << r.err;
  constexpr int kW = 640, kH = 480;
  const Screenshot shot(game.ReadBytes("shot.bmp"), kW, kH);
  ASSERT_TRUE(shot.Complete());
  const auto pixel = [&](int x, int y) { return shot.Pixel(x, y); };
  // The sprite: three characters of 24 and the shadow's column, 24 high.
  const int left = 10, top = 10, right = 10 + 3 * 24 + 1, bottom = 10 + 24;
  int white = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const uint32_t p = pixel(x, y);
      const bool inside = x >= left && x < right && y >= top && y < bottom;
      if (!inside) {
        ASSERT_EQ(p, 0u) << x << "," << y;
        continue;
      }
      const uint32_t red = p >> 16, green = (p >> 8) & 0xFF, blue = p & 0xFF;
      EXPECT_TRUE(red == green && green == blue) << "not grey at " << x << "," << y;  // no yellow
      if (blue >= 0xC0) ++white;
    }
  // Strokes of three characters: far more than a few stray pixels.
  EXPECT_GT(white, 3 * 24);
}

}  // namespace
}  // namespace orivane::test
