// PixelView: a window onto 24-bit blue-green-red pixel memory with rows stored
// bottom-up, the layout of the display surface, the scene buffer and every
// 24-bit picture. Drawing routines take views so that they work on any of them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/display_surface.h"

namespace orivane {

struct PixelView {
  uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  PixelView() = default;
  PixelView(uint8_t* p, int w, int h, int s) : pixels(p), width(w), height(h), stride(s) {}
  explicit PixelView(DisplaySurface& d)
      : pixels(d.pixels.data()), width(d.width), height(d.height), stride(d.stride) {}

  uint8_t* RowFromTop(int y) const { return pixels + static_cast<size_t>(height - 1 - y) * stride; }
  bool empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
};

// An inclusive rectangle: left..right by top..bottom.
struct PixelRect {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;
  bool empty() const { return right < left || bottom < top; }
};

// A rectangle of script values (any size, so worked out in 64 bits), of
// which only the part on a width × height picture is kept.
inline PixelRect ClippedRect(int64_t l, int64_t t, int64_t r, int64_t b, int width, int height) {
  l = l < 0 ? 0 : l;
  t = t < 0 ? 0 : t;
  r = r > int64_t{width} - 1 ? int64_t{width} - 1 : r;
  b = b > int64_t{height} - 1 ? int64_t{height} - 1 : b;
  if (r < l || b < t) return PixelRect{};
  return PixelRect{static_cast<int>(l), static_cast<int>(t), static_cast<int>(r),
                   static_cast<int>(b)};
}

// The rectangle clipped to 0..width-1 by 0..height-1.
inline PixelRect ClipRect(PixelRect r, int width, int height) {
  if (r.left < 0) r.left = 0;
  if (r.top < 0) r.top = 0;
  if (r.right > width - 1) r.right = width - 1;
  if (r.bottom > height - 1) r.bottom = height - 1;
  return r;
}

// Copies the rectangle (clipped to both views) from `src` to the same place in `dst`.
void CopyRect(PixelView dst, PixelView src, PixelRect r);
// Fills the rectangle (clipped) with one colour given as 0xRRGGBB.
void FillRect(PixelView dst, PixelRect r, uint32_t rgb);

}  // namespace orivane
