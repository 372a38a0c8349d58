// Scaled, rotated and matrix drawing: centre anchoring, nearest-neighbour
// sampling, the blend rules, and the reuse of a blended colour along a row.
#include "graphics/transform_draw.h"

#include <gtest/gtest.h>

#include "graphics/sprite_draw.h"
#include "support/graphics_run.h"

namespace orivane::test {
namespace {

// A 4 × 2 picture whose pixels are all different: value = 0x10·x + y + 1.
ImageSurface Numbered(int mode = kModeCopy) {
  ImageSurface s;
  s.CreateBlank(4, 2, 24);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) s.RowFromTop(y)[x * 3] = static_cast<uint8_t>(0x10 * x + y + 1);
  s.mode = mode;
  return s;
}

DisplaySurface Screen(int w, int h, uint32_t rgb) {
  DisplaySurface d;
  d.Resize(w, h);
  FillRect(PixelView(d), PixelRect{0, 0, w - 1, h - 1}, rgb);
  return d;
}

bool SameScreen(const DisplaySurface& a, const DisplaySurface& b) {
  return a.pixels == b.pixels;
}

TEST(TransformDraw, IdentityMatchesThePlainDrawingAroundTheCentre) {
  MulTable mul;
  for (int mode : {kModeCopy, kModeLeftUp}) {
    ImageSurface pic = Numbered(mode);
    DisplaySurface plain = Screen(16, 16, 0x808080), turned = plain, matrix = plain;
    DrawSprite(mul, pic, PixelView(plain), nullptr, 8 - 2, 8 - 1);
    DrawTransformed(mul, pic, PixelView(turned), 8, 8, 100, 100, 0);
    DrawTransformed(mul, pic, PixelView(turned), 8, 8, 100, 100,
                    360);  // the angle is taken modulo 360
    DrawWithMatrix(mul, pic, PixelView(matrix), 8, 8, 1000, 0, 0, 1000);
    EXPECT_TRUE(SameScreen(plain, turned)) << mode;
    EXPECT_TRUE(SameScreen(plain, matrix)) << mode;
  }
}

TEST(TransformDraw, DoubleScaleRepeatsEachSourcePixel) {
  MulTable mul;
  ImageSurface pic = Numbered();
  DisplaySurface screen = Screen(20, 20, 0);
  DrawTransformed(mul, pic, PixelView(screen), 10, 10, 200, 200, 0);
  // Top-left of the doubled picture is (10 − 4, 10 − 2).
  for (int x = 0; x < 8; ++x)
    for (int y = 0; y < 4; ++y)
      EXPECT_EQ(PixelAt(screen, 6 + x, 8 + y), 0x10u * (x / 2) + y / 2 + 1) << x << "," << y;
  EXPECT_EQ(PixelAt(screen, 5, 8), 0u);
  EXPECT_EQ(PixelAt(screen, 14, 8), 0u);
}

TEST(TransformDraw, HalfTurnAndMirrorMatrixAgree) {
  MulTable mul;
  ImageSurface pic = Numbered();
  DisplaySurface turned = Screen(16, 16, 0), mirrored = Screen(16, 16, 0);
  DrawTransformed(mul, pic, PixelView(turned), 8, 8, 100, 100, 180);
  DrawWithMatrix(mul, pic, PixelView(mirrored), 8, 8, -1000, 0, 0, -1000);
  EXPECT_TRUE(SameScreen(turned, mirrored));
  // The top-left source pixel now sits at the bottom right of the picture.
  EXPECT_EQ(PixelAt(turned, 8 + 2, 8 + 1), 0x01u);
  EXPECT_EQ(PixelAt(turned, 8 - 1, 8 + 0), 0x32u);
}

TEST(TransformDraw, QuarterTurnMovesColumnsToRows) {
  MulTable mul;
  ImageSurface pic = Numbered();
  DisplaySurface screen = Screen(16, 16, 0);
  DrawTransformed(mul, pic, PixelView(screen), 8, 8, 100, 100, 90);
  // The 4 × 2 picture stands 2 wide and 4 high; every source pixel appears once.
  int found = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) found += PixelAt(screen, x, y) != 0;
  EXPECT_EQ(found, 8);
  EXPECT_EQ(PixelAt(screen, 8, 6) != 0 && PixelAt(screen, 8, 9) != 0, true);
}

TEST(TransformDraw, BlendedColourIsReusedAlongARow) {
  MulTable mul;
  ImageSurface pic;
  pic.CreateBlank(1, 1, 24);
  pic.RowFromTop(0)[0] = 200;
  pic.opacity = 128;
  // Two destination pixels of different colour both map to the one source pixel.
  DisplaySurface screen = Screen(4, 4, 0);
  screen.RowFromTop(1)[1 * 3] = 0;
  screen.RowFromTop(1)[2 * 3] = 100;
  DrawTransformed(mul, pic, PixelView(screen), 2, 2, 200, 200, 0);
  const int first = Mul(200, 128) + Mul(0, 127);
  EXPECT_EQ(PixelAt(screen, 1, 1) & 0xFF, static_cast<uint32_t>(first));
  EXPECT_EQ(PixelAt(screen, 2, 1) & 0xFF, static_cast<uint32_t>(first));  // not 100 blended
}

TEST(TransformDraw, SingularMatrixAndZeroScaleDrawNothing) {
  MulTable mul;
  ImageSurface pic = Numbered();
  DisplaySurface screen = Screen(16, 16, 0x123456), before = screen;
  DrawWithMatrix(mul, pic, PixelView(screen), 8, 8, 1000, 1000, 1000, 1000);
  DrawWithMatrix(mul, pic, PixelView(screen), 8, 8, 1, 0, 0, 999);  // det 0.000999
  DrawTransformed(mul, pic, PixelView(screen), 8, 8, 0, 100, 0);
  EXPECT_TRUE(SameScreen(screen, before));
  // Far off screen: clipped away without touching memory outside.
  DrawTransformed(mul, pic, PixelView(screen), -100000, 2000000000, 5000, 5000, 33);
  DrawWithMatrix(mul, pic, PixelView(screen), 2000000000, -2000000000, 900000, 5, 7, 900000);
  EXPECT_TRUE(SameScreen(screen, before));
}

}  // namespace
}  // namespace orivane::test
