// The glyph method: how one character unit becomes the coverage of its text
// cell. The character is drawn at three times the cell size (a second time
// one pixel to the right when bold) and each cell pixel takes the 1-2-1 /
// 2-4-2 / 1-2-1 weighted sum of its 3 × 3 source pixels divided by 16. Text
// pictures' plain decorations draw at the cell size without smoothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orivane {

class FontService;

// Cells larger than this on either side come back empty: at three times the
// size they would pass what the font service draws.
inline constexpr int32_t kMaxGlyphCellSide = 341;

// What a glyph is drawn with: the text window's font (or a text picture's).
struct GlyphFont {
  std::string face;    // Shift-JIS face name as scripts give it; a leading '@' is ignored
  int32_t width = 26;  // the cell in pixels
  int32_t height = 26;
  bool bold = true;  // weight 700 and the second draw one pixel to the right
  bool vertical = false;
  bool smooth = true;  // the three-times method; false: drawn at cell size, no smoothing

  bool operator==(const GlyphFont&) const = default;
};

// Coverage of one text cell, `width` × `height` bytes from the top row down:
// 0 leaves the picture as it is, 255 is the text colour.
struct GlyphCell {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> coverage;
};

// The cell of one character unit: a Shift-JIS two-byte character, or one or
// two single-byte characters side by side (`second` 0 for one). Bytes that
// are no Shift-JIS character, and characters no face has, leave the cell
// blank. A font of 0 or less or above kMaxGlyphCellSide on a side gives an
// empty (0 × 0) cell.
GlyphCell RenderGlyphCell(FontService& fonts, const GlyphFont& font, uint8_t first, uint8_t second);

}  // namespace orivane
