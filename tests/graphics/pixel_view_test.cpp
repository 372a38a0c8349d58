// Copying a rectangle between views: exactly the rectangle's pixels change,
// whether whole rows go as one block of memory or row by row, with padded
// rows and with views of different widths.
#include "graphics/pixel_view.h"

#include <gtest/gtest.h>

#include <random>

#include "support/graphics_run.h"

namespace orivane::test {
namespace {

DisplaySurface RandomSurface(std::mt19937& rng, int w, int h) {
  DisplaySurface d;
  d.Resize(w, h);
  for (uint8_t& b : d.pixels) b = static_cast<uint8_t>(rng());
  return d;
}

TEST(PixelView, CopyRectChangesExactlyTheClippedRectangle) {
  struct Case {
    int dst_w, src_w, h;  // widths 5 and 7 give padded rows
    PixelRect r;
  } cases[] = {
      {8, 8, 6, {0, 0, 7, 5}},     // whole unpadded surface: one block
      {8, 8, 6, {0, 2, 7, 3}},     // whole rows, some of them
      {8, 8, 6, {0, 0, 6, 5}},     // one column short of whole rows
      {8, 8, 6, {1, 0, 7, 5}},     // from the second column
      {5, 5, 4, {0, 0, 4, 3}},     // padded rows: row by row
      {7, 8, 6, {0, 0, 9, 9}},     // views of different sizes, clipped to both
      {8, 8, 6, {-3, -2, 20, 1}},  // clipped at every side
  };
  std::mt19937 rng(21);
  for (const Case& c : cases) {
    DisplaySurface dst = RandomSurface(rng, c.dst_w, c.h), src = RandomSurface(rng, c.src_w, c.h);
    const DisplaySurface before = dst;
    CopyRect(PixelView(dst), PixelView(src), c.r);
    const PixelRect in = ClipRect(c.r, std::min(c.dst_w, c.src_w), c.h);
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.dst_w; ++x) {
        const bool inside = x >= in.left && x <= in.right && y >= in.top && y <= in.bottom;
        EXPECT_EQ(PixelAt(dst, x, y), inside ? PixelAt(src, x, y) : PixelAt(before, x, y))
            << "rect " << c.r.left << "," << c.r.top << " " << c.r.right << "," << c.r.bottom
            << " at " << x << "," << y;
      }
    // Row padding is not part of any pixel and stays as it was.
    for (int y = 0; y < c.h; ++y)
      for (int i = c.dst_w * 3; i < dst.stride; ++i)
        EXPECT_EQ(dst.RowFromTop(y)[i], before.RowFromTop(y)[i]);
  }
}

}  // namespace
}  // namespace orivane::test
