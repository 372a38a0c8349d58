// Blending a glyph cell onto a picture: the blend formula, the two shadow
// rules and clipping, checked against the arithmetic written out.
#include "text/glyph_draw.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "platform/display_surface.h"

namespace orivane::test {
namespace {

using Pixel = std::array<int, 3>;  // blue, green, red

int Keep(int in, int a) {
  return in * (255 - a) / 255;
}
Pixel Darkened(Pixel p, int a) {
  return {Keep(p[0], a), Keep(p[1], a), Keep(p[2], a)};
}
Pixel Blended(Pixel p, int a, Pixel colour) {
  Pixel out;
  for (int c = 0; c < 3; ++c) out[c] = std::min(255, Keep(p[c], a) + colour[c] * a / 255);
  return out;
}

class GlyphDrawTest : public ::testing::Test {
 protected:
  GlyphDrawTest() {
    screen_.Resize(10, 6);
    for (int y = 0; y < screen_.height; ++y)
      for (int x = 0; x < screen_.width; ++x) Set(x, y, Background(x, y));
  }
  static Pixel Background(int x, int y) { return {20 + 13 * x, 90 + 17 * y, 250 - 7 * x}; }
  Pixel Get(int x, int y) {
    const uint8_t* p = screen_.RowFromTop(y) + 3 * x;
    return {p[0], p[1], p[2]};
  }
  void Set(int x, int y, Pixel v) {
    uint8_t* p = screen_.RowFromTop(y) + 3 * x;
    for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(v[c]);
  }
  PixelRect Draw(int x, int y, const GlyphPaint& paint) {
    return DrawGlyph(PixelView(screen_), x, y, cell_, paint, mul_);
  }

  DisplaySurface screen_;
  MulTable mul_;
  // Three by two: a row of falling ink and a row with a gap.
  GlyphCell cell_{3, 2, {255, 200, 60, 128, 0, 30}};
  const Pixel colour_{0x30, 0x20, 0x10};  // 0x102030 as blue, green, red
};

TEST_F(GlyphDrawTest, BlendsEachPixelByItsCoverageWithoutShadow) {
  GlyphPaint paint;
  paint.rgb = 0x102030;
  const PixelRect r = Draw(2, 1, paint);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool inside = x >= 2 && x < 5 && y >= 1 && y < 3;
      const Pixel want =
          inside ? Blended(Background(x, y), cell_.coverage[(y - 1) * 3 + (x - 2)], colour_)
                 : Background(x, y);
      EXPECT_EQ(Get(x, y), want) << x << "," << y;
    }
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 1);
  EXPECT_EQ(r.right, 4);
  EXPECT_EQ(r.bottom, 2);
}

// The plain shadow: a pixel's right neighbour is darkened by the pixel's
// coverage just before the neighbour's own ink, one column past the cell.
TEST_F(GlyphDrawTest, ShadowDarkensTheRightNeighbourBeforeItsInk) {
  GlyphPaint paint;
  paint.rgb = 0x102030;
  paint.shadow = true;
  const PixelRect r = Draw(2, 1, paint);
  for (int row = 0; row < 2; ++row) {
    const uint8_t* a = &cell_.coverage[row * 3];
    const int y = 1 + row;
    EXPECT_EQ(Get(2, y), Blended(Background(2, y), a[0], colour_));
    EXPECT_EQ(Get(3, y), Blended(Darkened(Background(3, y), a[0]), a[1], colour_));
    EXPECT_EQ(Get(4, y), Blended(Darkened(Background(4, y), a[1]), a[2], colour_));
    EXPECT_EQ(Get(5, y), Darkened(Background(5, y), a[2]));
    EXPECT_EQ(Get(6, y), Background(6, y));
  }
  EXPECT_EQ(Get(1, 1), Background(1, 1));
  EXPECT_EQ(r.right, 5);
}

// With `shadedistance` the whole shadow is darkened at its offset first and
// the glyph blended over it, so where they overlap the ink lies on shadow.
TEST_F(GlyphDrawTest, MovedShadowIsDarkenedFirstAtItsOffset) {
  GlyphPaint paint;
  paint.rgb = 0x102030;
  paint.shadow = true;
  paint.shadow_offset_set = true;
  paint.shadow_dx = 1;
  paint.shadow_dy = 1;
  const PixelRect r = Draw(2, 1, paint);
  auto a = [&](int x, int y) { return cell_.coverage[y * 3 + x]; };
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 10; ++x) {
      Pixel want = Background(x, y);
      if (x >= 3 && x < 6 && y >= 2 && y < 4) want = Darkened(want, a(x - 3, y - 2));
      if (x >= 2 && x < 5 && y >= 1 && y < 3) want = Blended(want, a(x - 2, y - 1), colour_);
      EXPECT_EQ(Get(x, y), want) << x << "," << y;
    }
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.top, 1);
  EXPECT_EQ(r.right, 5);
  EXPECT_EQ(r.bottom, 3);
}

TEST_F(GlyphDrawTest, NegativeShadowOffsetGoesUpAndLeft) {
  GlyphPaint paint;
  paint.shadow = true;
  paint.shadow_offset_set = true;
  paint.shadow_dx = -2;
  paint.shadow_dy = -1;
  Draw(4, 2, paint);
  EXPECT_EQ(Get(2, 1), Darkened(Background(2, 1), 255));
  EXPECT_EQ(Get(7, 2), Background(7, 2));  // no trailing shadow as well
}

TEST_F(GlyphDrawTest, ClipsAtEveryEdgeAndFarAway) {
  GlyphPaint paint;
  paint.shadow = true;
  // Half off the left: the pixel in column 0 is the cell's second column,
  // darkened by the first column's coverage.
  PixelRect r = Draw(-1, 0, paint);
  EXPECT_EQ(Get(0, 0), Blended(Darkened(Background(0, 0), 255), 200, {255, 255, 255}));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 2);
  // Off the right and bottom edges.
  r = Draw(8, 5, paint);
  EXPECT_EQ(r.right, 9);
  EXPECT_EQ(r.bottom, 5);
  for (auto [x, y] : {std::pair{INT_MAX, 0},
                      {INT_MIN, 0},
                      {0, INT_MAX},
                      {0, INT_MIN},
                      {-4, 0},
                      {10, 0},
                      {0, 6}}) {
    EXPECT_TRUE(Draw(x, y, paint).empty()) << x << "," << y;
  }
  // Only the trailing shadow of the cell's last column is on the picture.
  const Pixel before = Get(0, 3);
  r = Draw(-3, 3, paint);
  EXPECT_EQ(Get(0, 3), Darkened(before, 60));
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.right, 0);
}

// Offsets are the script's: sums that pass the range of int neither wrap
// round onto the picture nor keep a shadow that does land from being drawn.
TEST_F(GlyphDrawTest, ShadowOffsetsFarOutOfRange) {
  GlyphPaint paint;
  paint.shadow = true;
  paint.shadow_offset_set = true;
  paint.shadow_dx = INT_MAX;
  paint.shadow_dy = INT_MAX;
  EXPECT_TRUE(Draw(INT_MAX, INT_MAX, paint).empty());
  paint.shadow_dx = INT_MIN;
  paint.shadow_dy = 0;
  EXPECT_TRUE(Draw(INT_MIN, 0, paint).empty());
  // The glyph far off to the left, its shadow brought back onto the picture.
  paint.shadow_dx = 1000000002;
  const PixelRect r = Draw(-1000000000, 1, paint);
  EXPECT_EQ(Get(2, 1), Darkened(Background(2, 1), 255));
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.right, 4);
}

TEST_F(GlyphDrawTest, EmptyOrInconsistentCellsDrawNothing) {
  const DisplaySurface before = screen_;
  GlyphPaint paint;
  paint.shadow = true;
  cell_ = GlyphCell{};
  EXPECT_TRUE(Draw(1, 1, paint).empty());
  cell_ = GlyphCell{4, 4, std::vector<uint8_t>(3, 255)};
  EXPECT_TRUE(Draw(1, 1, paint).empty());
  EXPECT_EQ(screen_.pixels, before.pixels);
}

}  // namespace
}  // namespace orivane::test
