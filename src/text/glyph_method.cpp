#include "text/glyph_method.h"

#include <algorithm>
#include <string_view>

#include "platform/font_service.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr char32_t kNoCharacter = 0;

// A coverage picture being drawn: `width` × `height` bytes from the top.
struct Canvas {
  int width;
  int height;
  std::vector<uint8_t> pixels;
};

// Puts a glyph bitmap on the canvas with its top-left corner at (left, top);
// ink over ink keeps the stronger value. A bitmap whose size does not match
// its bytes is left out.
void Place(const GlyphBitmap& glyph, int left, int top, Canvas& canvas) {
  if (glyph.width <= 0 || glyph.height <= 0 ||
      glyph.coverage.size() != static_cast<size_t>(glyph.width) * static_cast<size_t>(glyph.height))
    return;
  // Positions and sizes are bounded by the canvas (a few hundred pixels) and
  // by kMaxGlyphRequestSide, so these sums stay far inside int.
  const int first_x = std::max(0, -left), end_x = std::min(glyph.width, canvas.width - left);
  const int first_y = std::max(0, -top), end_y = std::min(glyph.height, canvas.height - top);
  for (int gy = first_y; gy < end_y; ++gy) {
    const uint8_t* in = glyph.coverage.data() + static_cast<size_t>(gy) * glyph.width;
    uint8_t* out = canvas.pixels.data() + static_cast<size_t>(top + gy) * canvas.width;
    for (int gx = first_x; gx < end_x; ++gx) out[left + gx] = std::max(out[left + gx], in[gx]);
  }
}

// The second draw of a bold glyph, one pixel to the right, over the first.
void DrawAgainOneRight(Canvas& canvas) {
  for (int y = 0; y < canvas.height; ++y) {
    uint8_t* row = canvas.pixels.data() + static_cast<size_t>(y) * canvas.width;
    for (int x = canvas.width - 1; x > 0; --x) row[x] = std::max(row[x], row[x - 1]);
  }
}

// Each cell pixel: the 1-2-1 / 2-4-2 / 1-2-1 weighted sum of its 3 × 3
// block, divided by 16.
GlyphCell ReduceByThree(const Canvas& big, int width, int height) {
  GlyphCell cell{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height)};
  for (int y = 0; y < height; ++y) {
    const uint8_t* r0 = big.pixels.data() + static_cast<size_t>(3 * y) * big.width;
    const uint8_t* r1 = r0 + big.width;
    const uint8_t* r2 = r1 + big.width;
    uint8_t* out = cell.coverage.data() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const int i = 3 * x;
      const int sum = r0[i] + 2 * r0[i + 1] + r0[i + 2] + 2 * r1[i] + 4 * r1[i + 1] +
                      2 * r1[i + 2] + r2[i] + 2 * r2[i + 1] + r2[i + 2];
      out[x] = static_cast<uint8_t>(sum >> 4);
    }
  }
  return cell;
}

}  // namespace

GlyphCell RenderGlyphCell(FontService& fonts, const GlyphFont& font, uint8_t first,
                          uint8_t second) {
  if (font.width <= 0 || font.height <= 0 || font.width > kMaxGlyphCellSide ||
      font.height > kMaxGlyphCellSide)
    return {};
  char32_t characters[2] = {kNoCharacter, kNoCharacter};
  if (IsSjisLead(first)) {
    const char unit[2] = {static_cast<char>(first), static_cast<char>(second)};
    characters[0] = second ? SjisCodePoint(std::string_view(unit, 2)) : kNoCharacter;
  } else {
    const char a = static_cast<char>(first), b = static_cast<char>(second);
    characters[0] = first ? SjisCodePoint(std::string_view(&a, 1)) : kNoCharacter;
    characters[1] = second ? SjisCodePoint(std::string_view(&b, 1)) : kNoCharacter;
  }

  // The font as the text output creates it: three times the cell when
  // smoothing, the cell itself otherwise. Its width is that of a half-width
  // character; vertical writing turns the font, so the cell's width is then
  // the font's height.
  const int scale = font.smooth ? 3 : 1;
  const int across = scale * (font.vertical ? font.width : font.height);
  const int along = scale * (font.vertical ? font.height : font.width);
  const std::string face = SjisToUtf8(font.face);
  GlyphRequest request;
  request.face = face;
  request.height = across;
  request.width = along / 2;
  request.weight = font.bold ? 700 : 400;
  request.vertical = font.vertical;
  request.monochrome = !font.smooth;

  Canvas canvas{
      scale * font.width, scale * font.height,
      std::vector<uint8_t>(static_cast<size_t>(scale * font.width) * (scale * font.height))};
  int pen = 0;  // along the writing direction, for the second single-byte character
  for (char32_t c : characters) {
    if (c == kNoCharacter) {  // a blank half-width place
      pen += request.width;
      continue;
    }
    request.code_point = c;
    const GlyphBitmap glyph = fonts.RasterizeGlyph(request);
    if (font.vertical)
      Place(glyph, 0, pen, canvas);
    else
      Place(glyph, pen, 0, canvas);
    pen += std::clamp(glyph.advance, 0, along);
  }
  if (!font.smooth) return GlyphCell{font.width, font.height, std::move(canvas.pixels)};
  if (font.bold) DrawAgainOneRight(canvas);
  return ReduceByThree(canvas, font.width, font.height);
}

}  // namespace orivane
