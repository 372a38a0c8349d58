#include "text/text_window_paint.h"

#include <algorithm>
#include <cstdint>

#include "graphics/sprite_draw.h"
#include "text/text_window.h"

namespace orivane {
namespace {

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
  return PixelRect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                   std::min(a.bottom, b.bottom)};
}

void TintRect(const MulTable& mul, PixelView target, const PixelRect& r, uint32_t rgb) {
  const uint8_t* blue = mul.Row(rgb & 0xFF);
  const uint8_t* green = mul.Row((rgb >> 8) & 0xFF);
  const uint8_t* red = mul.Row((rgb >> 16) & 0xFF);
  for (int y = r.top; y <= r.bottom; ++y) {
    uint8_t* p = target.RowFromTop(y) + r.left * 3;
    for (int x = r.left; x <= r.right; ++x, p += 3) {
      p[0] = blue[p[0]];
      p[1] = green[p[1]];
      p[2] = red[p[2]];
    }
  }
}

void PaintGlyphs(const TextWindow& w, const MulTable& mul, PixelView target,
                 const PixelRect& area) {
  const TextLayer& layer = w.layer;
  if (layer.used.empty()) return;
  const bool shadow = w.shadow != 0;
  const ShadowOffset offset = ShadowOffsetOf(w);
  const int64_t dx = offset.dx, dy = offset.dy;
  const PixelRect& u = layer.used;
  // The glyphs and their shadow lie within the used box and its shifted copy.
  const PixelRect box =
      ClippedRect(std::min<int64_t>(u.left, u.left + dx), std::min<int64_t>(u.top, u.top + dy),
                  std::max<int64_t>(u.right, u.right + dx),
                  std::max<int64_t>(u.bottom, u.bottom + dy), target.width, target.height);
  const PixelRect r = Intersect(box, area);
  if (r.empty()) return;
  for (int y = r.top; y <= r.bottom; ++y) {
    uint8_t* p = target.RowFromTop(y) + r.left * 3;
    for (int x = r.left; x <= r.right; ++x, p += 3) {
      if (shadow) {
        const int64_t sx = x - dx, sy = y - dy;
        if (sx >= 0 && sy >= 0 && sx < layer.width && sy < layer.height) {
          const uint8_t s = layer.CoverageAt(static_cast<int>(sx), static_cast<int>(sy));
          if (s != 0) {
            const uint8_t* dark = mul.Row(255 - s);
            p[0] = dark[p[0]];
            p[1] = dark[p[1]];
            p[2] = dark[p[2]];
          }
        }
      }
      if (!layer.Contains(x, y)) continue;
      const uint8_t a = layer.CoverageAt(x, y);
      if (a == 0) continue;
      const uint8_t* keep = mul.Row(255 - a);
      const uint8_t* c = layer.ColourAt(x, y);
      for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>(std::min(255, keep[p[i]] + c[i]));
    }
  }
}

}  // namespace

PixelRect TextWindowFrame(const TextWindow& w, int width, int height) {
  return ClippedRect(w.frame_left, w.frame_top, w.frame_right, w.frame_bottom, width, height);
}

void PaintTextWindow(TextWindow& w, const MulTable& mul, PixelView target, PixelRect area) {
  if (target.empty()) return;
  const PixelRect frame = TextWindowFrame(w, target.width, target.height);
  if (frame.empty()) return;
  area = ClipRect(area, target.width, target.height);
  if (area.empty()) return;
  const PixelRect r = Intersect(frame, area);
  if (!r.empty()) {
    if (w.frame_color == kFramePicture)
      DrawSprite(mul, w.frame_image, target, &r, w.frame_left, w.frame_top);
    else if ((static_cast<uint32_t>(w.frame_color) & 0xFFFFFF) != 0xFFFFFF)
      TintRect(mul, target, r, static_cast<uint32_t>(w.frame_color));
  }
  PaintGlyphs(w, mul, target, area);
}

}  // namespace orivane
