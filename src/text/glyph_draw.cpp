#include "text/glyph_draw.h"

#include <algorithm>

namespace orivane {
namespace {

// The rectangle of a w × h box at (left, top) on the picture, clipped; empty
// when none of it is on the picture. Positions come from scripts, so they
// are taken as 64-bit before anything is added to them.
PixelRect OnPicture(int64_t left, int64_t top, int w, int h, PixelView target) {
  if (left >= target.width || top >= target.height || left + w <= 0 || top + h <= 0) return {};
  return ClipRect(PixelRect{static_cast<int>(left), static_cast<int>(top),
                            static_cast<int>(left + w - 1), static_cast<int>(top + h - 1)},
                  target.width, target.height);
}

PixelRect Union(PixelRect a, PixelRect b) {
  if (a.empty()) return b;
  if (b.empty()) return a;
  return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
          std::max(a.bottom, b.bottom)};
}

// in × (255 − a)/255 on the three channels of one pixel.
inline void Darken(uint8_t* p, const uint8_t* keep) {
  p[0] = keep[p[0]];
  p[1] = keep[p[1]];
  p[2] = keep[p[2]];
}

// min(255, in × (255 − a)/255 + colour × a/255); `colour` is blue, green, red.
inline void Blend(uint8_t* p, const uint8_t* keep, const uint8_t* ink, const uint8_t colour[3]) {
  for (int c = 0; c < 3; ++c)
    p[c] = static_cast<uint8_t>(std::min(255, keep[p[c]] + ink[colour[c]]));
}

// Darkens the picture under the cell placed at (x, y) by each pixel's coverage.
void DarkenUnder(PixelView target, int32_t x, int32_t y, const GlyphCell& cell,
                 const MulTable& mul) {
  for (int cy = std::max(0, -y); cy < cell.height && y + cy < target.height; ++cy) {
    const uint8_t* a = cell.coverage.data() + static_cast<size_t>(cy) * cell.width;
    uint8_t* row = target.RowFromTop(y + cy);
    for (int cx = std::max(0, -x); cx < cell.width && x + cx < target.width; ++cx)
      if (a[cx]) Darken(row + 3 * (x + cx), mul.Row(255 - a[cx]));
  }
}

}  // namespace

PixelRect DrawGlyph(PixelView target, int32_t x, int32_t y, const GlyphCell& cell,
                    const GlyphPaint& paint, const MulTable& mul) {
  if (target.empty() || cell.width <= 0 || cell.height <= 0 ||
      cell.coverage.size() != static_cast<size_t>(cell.width) * static_cast<size_t>(cell.height))
    return {};
  const uint8_t colour[3] = {static_cast<uint8_t>(paint.rgb), static_cast<uint8_t>(paint.rgb >> 8),
                             static_cast<uint8_t>(paint.rgb >> 16)};
  const bool moved_shadow = paint.shadow && paint.shadow_offset_set;
  const bool trailing_shadow = paint.shadow && !paint.shadow_offset_set;

  PixelRect shadow_area;
  if (moved_shadow) {
    shadow_area = OnPicture(int64_t{x} + paint.shadow_dx, int64_t{y} + paint.shadow_dy, cell.width,
                            cell.height, target);
    if (!shadow_area.empty())
      DarkenUnder(target, x + paint.shadow_dx, y + paint.shadow_dy, cell, mul);
  }

  // The glyph, with the trailing shadow one pixel wider. One row at a time,
  // left to right, so that the shadow of a pixel lands on its right
  // neighbour before that neighbour's own ink.
  const int span = cell.width + (trailing_shadow ? 1 : 0);
  const PixelRect glyph_area = OnPicture(x, y, span, cell.height, target);
  if (!glyph_area.empty()) {
    for (int py = glyph_area.top; py <= glyph_area.bottom; ++py) {
      const uint8_t* a = cell.coverage.data() + static_cast<size_t>(py - y) * cell.width;
      uint8_t* row = target.RowFromTop(py);
      int cx = glyph_area.left - x;
      uint8_t shade = trailing_shadow && cx > 0 ? a[cx - 1] : 0;
      for (; cx <= glyph_area.right - x; ++cx) {
        uint8_t* p = row + 3 * (x + cx);
        if (shade) Darken(p, mul.Row(255 - shade));
        const uint8_t ink = cx < cell.width ? a[cx] : 0;
        if (ink) Blend(p, mul.Row(255 - ink), mul.Row(ink), colour);
        shade = trailing_shadow ? ink : 0;
      }
    }
  }
  return Union(glyph_area, shadow_area);
}

}  // namespace orivane
