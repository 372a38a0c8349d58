#include "text/text_draw.h"

#include <algorithm>

#include "text/text_window.h"

namespace orivane {

GlyphFont PageFont(const TextWindow& w) {
  GlyphFont f;
  f.face = w.font_face;
  f.width = w.glyph_width;
  f.height = w.glyph_height;
  f.bold = w.bold != 0;
  f.vertical = w.vertical != 0;
  return f;
}

GlyphFont RubyFont(const TextWindow& w) {
  GlyphFont f;
  f.face = w.ruby_font_face.empty() ? w.font_face : w.ruby_font_face;
  f.width = w.ruby_width == -1 ? w.glyph_width / 2 : w.ruby_width;
  f.height = w.ruby_height == -1 ? w.glyph_height / 2 : w.ruby_height;
  f.bold = true;
  f.vertical = w.vertical != 0;
  return f;
}

PixelRect PutGlyphOnPage(TextWindow& w, const MulTable& mul, int32_t x, int32_t y,
                         const GlyphCell& cell, uint32_t rgb) {
  TextLayer& layer = w.layer;
  const uint8_t* blue = mul.Row(rgb & 0xFF);
  const uint8_t* green = mul.Row((rgb >> 8) & 0xFF);
  const uint8_t* red = mul.Row((rgb >> 16) & 0xFF);
  // Only the rows and columns on the layer are visited; positions are taken
  // as 64-bit so that any script value clips instead of wrapping.
  const int64_t left = std::max<int64_t>(0, -int64_t{x});
  const int64_t top = std::max<int64_t>(0, -int64_t{y});
  const int64_t right = std::min<int64_t>(cell.width, int64_t{layer.width} - x);
  const int64_t bottom = std::min<int64_t>(cell.height, int64_t{layer.height} - y);
  for (int64_t j = top; j < bottom; ++j) {
    const uint8_t* a_row = cell.coverage.data() + j * cell.width;
    for (int64_t i = left; i < right; ++i) {
      const uint8_t a = a_row[i];
      if (a == 0) continue;
      layer.Set(static_cast<int>(x + i), static_cast<int>(y + j), a, blue[a], green[a], red[a]);
    }
  }
  const ShadowOffset shadow = ShadowOffsetOf(w);
  const int64_t dx = shadow.dx, dy = shadow.dy;
  const int64_t l = int64_t{x} + std::min<int64_t>(0, dx), t = int64_t{y} + std::min<int64_t>(0, dy);
  const int64_t r = int64_t{x} + cell.width - 1 + std::max<int64_t>(0, dx);
  const int64_t b = int64_t{y} + cell.height - 1 + std::max<int64_t>(0, dy);
  return ClippedRect(l, t, r, b, layer.width, layer.height);
}

}  // namespace orivane
