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
  // The visited part lies on the layer, so pixels are stored without a test
  // each, and the box of the inked ones joins the layer's used box once.
  bool inked = false;
  int64_t ink_left = 0, ink_right = 0, ink_top = 0, ink_bottom = 0;
  for (int64_t j = top; j < bottom; ++j) {
    const uint8_t* a_row = cell.coverage.data() + j * cell.width + left;
    // The layer pixel under the cell's column `left` of this row.
    const size_t at = static_cast<size_t>(y + j) * static_cast<size_t>(layer.width) + static_cast<size_t>(x + left);
    uint8_t* coverage = layer.coverage.data() + at;
    uint8_t* colour = layer.colour.data() + at * 3;
    // The inked run of the row; blank pixels inside it keep what is under
    // them (a mask instead of a branch: the rows of a glyph are ragged).
    int64_t first = 0, last = right - left - 1;
    while (first <= last && a_row[first] == 0) ++first;
    while (last >= first && a_row[last] == 0) --last;
    if (last < first) continue;
    for (int64_t k = first; k <= last; ++k) {
      const uint8_t a = a_row[k];
      const uint8_t keep = a == 0 ? 0xFF : 0;  // blue[0], green[0] and red[0] are 0
      coverage[k] = static_cast<uint8_t>((coverage[k] & keep) | a);
      colour[k * 3] = static_cast<uint8_t>((colour[k * 3] & keep) | blue[a]);
      colour[k * 3 + 1] = static_cast<uint8_t>((colour[k * 3 + 1] & keep) | green[a]);
      colour[k * 3 + 2] = static_cast<uint8_t>((colour[k * 3 + 2] & keep) | red[a]);
    }
    first += left;
    last += left;
    if (!inked) {
      inked = true;
      ink_left = first;
      ink_right = last;
      ink_top = j;
    }
    ink_left = std::min(ink_left, first);
    ink_right = std::max(ink_right, last);
    ink_bottom = j;
  }
  if (inked) {
    const PixelRect ink{static_cast<int>(x + ink_left), static_cast<int>(y + ink_top),
                        static_cast<int>(x + ink_right), static_cast<int>(y + ink_bottom)};
    PixelRect& used = layer.used;
    if (used.empty()) {
      used = ink;
    } else {
      used.left = std::min(used.left, ink.left);
      used.top = std::min(used.top, ink.top);
      used.right = std::max(used.right, ink.right);
      used.bottom = std::max(used.bottom, ink.bottom);
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
