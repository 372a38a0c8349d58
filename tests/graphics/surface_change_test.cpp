// The part of the screen handed to the window: the smallest rectangle that
// holds every changed pixel, and nothing for a change in row padding alone.
#include "graphics/surface_change.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace orivane {
namespace {

struct ChangeCase {
  std::string name;
  std::vector<std::pair<int, int>> changed_pixels;  // x, y from the top
  SurfaceRect expected;
};

// A 5×4 picture: 15 bytes of pixels and one of padding per row.
DisplaySurface Picture() {
  DisplaySurface s;
  s.Resize(5, 4);
  for (size_t i = 0; i < s.pixels.size(); ++i) s.pixels[i] = static_cast<uint8_t>(i * 7);
  return s;
}

TEST(SurfaceChange, ChangedPartBoundsEveryChangedPixel) {
  const std::vector<ChangeCase> cases = {
      {"nothing", {}, {0, 0, 0, 0}},
      {"one pixel", {{2, 1}}, {2, 1, 1, 1}},
      {"top left", {{0, 0}}, {0, 0, 1, 1}},
      {"bottom right", {{4, 3}}, {4, 3, 1, 1}},
      {"two apart", {{1, 0}, {3, 2}}, {1, 0, 3, 3}},
      {"left in a low row, right in a high one", {{0, 3}, {4, 1}}, {0, 1, 5, 3}},
      {"corners", {{0, 0}, {4, 3}}, {0, 0, 5, 4}},
  };
  for (const ChangeCase& c : cases) {
    const DisplaySurface before = Picture();
    DisplaySurface after = before;
    for (auto [x, y] : c.changed_pixels) after.RowFromTop(y)[x * 3 + 1] ^= 0x40;
    const SurfaceRect r = ChangedPart(before, after);
    EXPECT_EQ(r.Empty(), c.expected.Empty()) << c.name;
    if (c.expected.Empty()) continue;
    EXPECT_EQ(r.x, c.expected.x) << c.name;
    EXPECT_EQ(r.y, c.expected.y) << c.name;
    EXPECT_EQ(r.width, c.expected.width) << c.name;
    EXPECT_EQ(r.height, c.expected.height) << c.name;
    // Copying that part makes the pictures alike.
    DisplaySurface copy = before;
    CopyPart(copy, after, r);
    EXPECT_TRUE(ChangedPart(copy, after).Empty()) << c.name;
  }
}

TEST(SurfaceChange, PaddingIsNoChange) {
  const DisplaySurface before = Picture();
  DisplaySurface after = before;
  for (int y = 0; y < after.height; ++y) after.RowFromTop(y)[15] ^= 0xFF;
  EXPECT_TRUE(ChangedPart(before, after).Empty());
}

TEST(SurfaceChange, CopyPartLeavesTheRestAlone) {
  const DisplaySurface before = Picture();
  DisplaySurface after = before;
  for (uint8_t& b : after.pixels) b ^= 0x10;  // every pixel differs
  DisplaySurface copy = before;
  CopyPart(copy, after, SurfaceRect{1, 1, 2, 2});
  EXPECT_EQ(ChangedPart(before, copy).x, 1);
  const SurfaceRect rest = ChangedPart(copy, after);
  EXPECT_EQ(rest.x, 0);
  EXPECT_EQ(rest.width, 5);
  EXPECT_EQ(rest.height, 4);
  EXPECT_EQ(copy.RowFromTop(1)[3], after.RowFromTop(1)[3]);
  EXPECT_EQ(copy.RowFromTop(0)[3], before.RowFromTop(0)[3]);
  EXPECT_EQ(copy.RowFromTop(1)[0], before.RowFromTop(1)[0]);
}

}  // namespace
}  // namespace orivane
