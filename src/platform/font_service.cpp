#include "platform/font_service.h"

namespace orivane {

GlyphBitmap NoFonts::RasterizeGlyph(const GlyphRequest& request) {
  GlyphBitmap glyph;
  if (request.width <= 0 || request.height <= 0 || request.width > kMaxGlyphRequestSide ||
      request.height > kMaxGlyphRequestSide)
    return glyph;
  const char32_t c = request.code_point;
  const bool half_width = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
  glyph.advance = half_width ? request.width : 2 * request.width;
  glyph.width = request.vertical ? request.height : glyph.advance;
  glyph.height = request.vertical ? glyph.advance : request.height;
  glyph.coverage.assign(static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height), 0);
  return glyph;
}

}  // namespace orivane
