#include "graphics/pixel_view.h"

#include <algorithm>
#include <cstring>

namespace orivane {

void CopyRect(PixelView dst, PixelView src, PixelRect r) {
  r = ClipRect(r, std::min(dst.width, src.width), std::min(dst.height, src.height));
  if (r.empty() || dst.empty() || src.empty()) return;
  const size_t bytes = static_cast<size_t>(r.right - r.left + 1) * 3;
  // Whole unpadded rows of views laid out alike are one block of memory.
  if (r.left == 0 && dst.stride == src.stride && bytes == static_cast<size_t>(dst.stride)) {
    const size_t all = static_cast<size_t>(r.bottom - r.top + 1) * bytes;
    std::memcpy(dst.RowFromTop(r.bottom), src.RowFromTop(r.bottom), all);
    return;
  }
  // Otherwise row by row in memory order (the bottom row first).
  for (int y = r.bottom; y >= r.top; --y)
    std::memcpy(dst.RowFromTop(y) + r.left * 3, src.RowFromTop(y) + r.left * 3, bytes);
}

void FillRect(PixelView dst, PixelRect r, uint32_t rgb) {
  r = ClipRect(r, dst.width, dst.height);
  if (r.empty() || dst.empty()) return;
  const uint8_t b = rgb & 0xFF, g = (rgb >> 8) & 0xFF, red = (rgb >> 16) & 0xFF;
  for (int y = r.top; y <= r.bottom; ++y) {
    uint8_t* p = dst.RowFromTop(y) + r.left * 3;
    for (int x = r.left; x <= r.right; ++x, p += 3) {
      p[0] = b;
      p[1] = g;
      p[2] = red;
    }
  }
}

}  // namespace orivane
