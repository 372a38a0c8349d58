#include "graphics/text_stamp.h"

#include <algorithm>

#include "platform/font_service.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr char32_t kNoCharacter = 0;

// Puts a glyph on the grid with its top-left corner at (left, top). A bitmap
// whose size does not match its bytes is left out.
void Place(const GlyphBitmap& glyph, int64_t left, int64_t top, CoverageGrid& grid) {
  if (grid.empty() || glyph.width <= 0 || glyph.height <= 0 ||
      glyph.coverage.size() != static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height))
    return;
  const int64_t first_x = std::max<int64_t>(0, -left);
  const int64_t end_x = std::min<int64_t>(glyph.width, int64_t{grid.width} - left);
  const int64_t first_y = std::max<int64_t>(0, -top);
  const int64_t end_y = std::min<int64_t>(glyph.height, int64_t{grid.height} - top);
  for (int64_t gy = first_y; gy < end_y; ++gy) {
    const uint8_t* in = glyph.coverage.data() + static_cast<size_t>(gy) * glyph.width;
    uint8_t* out = grid.pixels.data() + static_cast<size_t>(top + gy) * grid.width;
    for (int64_t gx = first_x; gx < end_x; ++gx) out[left + gx] = std::max(out[left + gx], in[gx]);
  }
}

}  // namespace

CoverageGrid::CoverageGrid(int w, int h) {
  if (w <= 0 || h <= 0) return;
  width = w;
  height = h;
  pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
}

int64_t StampText(FontService& fonts, const StampFont& font, std::string_view sjis,
                  CoverageGrid& grid, int64_t left, int64_t top) {
  int64_t pen = left;
  for (size_t i = 0; i < sjis.size();) {
    const bool two_bytes = IsSjisLead(static_cast<uint8_t>(sjis[i])) && i + 1 < sjis.size();
    const size_t length = two_bytes ? 2 : 1;
    const char32_t c = SjisCodePoint(sjis.substr(i, length));
    i += length;
    const int64_t cell = int64_t{font.width} * static_cast<int64_t>(length);
    if (c == kNoCharacter) {
      pen += cell;
      continue;
    }
    GlyphRequest request;
    request.face = font.face;
    request.code_point = c;
    request.width = font.width;
    request.height = font.height;
    request.weight = font.weight;
    const GlyphBitmap glyph = fonts.RasterizeGlyph(request);
    Place(glyph, pen, top, grid);
    pen += glyph.advance > 0 ? glyph.advance : cell;
  }
  return pen;
}

int64_t MeasureText(FontService& fonts, const StampFont& font, std::string_view sjis) {
  CoverageGrid nothing;
  return StampText(fonts, font, sjis, nothing, 0, 0);
}

}  // namespace orivane
