#include "graphics/surface_change.h"

#include <cstring>

namespace orivane {

SurfaceRect ChangedPart(const DisplaySurface& before, const DisplaySurface& after) {
  const int w = after.width, h = after.height;
  const size_t row_bytes = static_cast<size_t>(w) * 3;
  auto row_differs = [&](int y) { return std::memcmp(before.RowFromTop(y), after.RowFromTop(y), row_bytes) != 0; };
  int top = 0;
  while (top < h && !row_differs(top)) ++top;
  if (top == h) return SurfaceRect{};
  int bottom = h - 1;
  while (bottom > top && !row_differs(bottom)) --bottom;
  // The columns: each row narrows the search to the columns still outside
  // the span found so far.
  int left = w, right = -1;
  for (int y = top; y <= bottom; ++y) {
    const uint8_t* a = before.RowFromTop(y);
    const uint8_t* b = after.RowFromTop(y);
    auto pixel_differs = [&](int x) { return std::memcmp(a + x * 3, b + x * 3, 3) != 0; };
    for (int x = 0; x < left; ++x)
      if (pixel_differs(x)) {
        left = x;
        break;
      }
    for (int x = w - 1; x > right; --x)
      if (pixel_differs(x)) {
        right = x;
        break;
      }
  }
  return SurfaceRect{left, top, right - left + 1, bottom - top + 1};
}

void CopyPart(DisplaySurface& to, const DisplaySurface& from, const SurfaceRect& part) {
  const size_t offset = static_cast<size_t>(part.x) * 3, bytes = static_cast<size_t>(part.width) * 3;
  for (int y = part.y; y < part.y + part.height; ++y)
    std::memcpy(to.RowFromTop(y) + offset, from.RowFromTop(y) + offset, bytes);
}

}  // namespace orivane
