// The fonts of the machine, as the engine sees them: the faces the font menu
// offers and the glyph of one character of a face at an exact pixel size.
// The platform hands the service out; the engine core never talks to a font
// library itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orivane {

struct FontMenuEntry {
  int number;        // the family's place in the report, below `limit`
  std::string name;  // UTF-8 face name (the Japanese name when the font has one)
};

// Requests with a width or height above this many pixels are refused (the
// glyph comes back empty): no text window comes near it, and a script
// cannot make the service allocate without bound.
inline constexpr int kMaxGlyphRequestSide = 1024;

// One character to draw, sized as a Windows font of `width` × `height` is:
// `height` is the cell height (the face's ascent plus descent), `width` the
// advance of a half-width character; a full-width character is twice as wide.
struct GlyphRequest {
  std::string_view face;  // UTF-8 face name; a leading '@' (a vertical face) is ignored
  char32_t code_point = 0;
  int width = 0;
  int height = 0;
  int weight = 400;         // 400 normal, 700 bold (synthesised when the face has no bold)
  bool vertical = false;    // vertical writing, see GlyphBitmap
  bool monochrome = false;  // no anti-aliasing: every coverage byte is 0 or 255
};

// A character's glyph placed in its cell as text drawn at the cell's top-left
// corner puts it: 8-bit coverage (0 = background, 255 = full ink), rows from
// the top. Ink outside the cell is cut off.
//
// Horizontal writing: the cell is `advance` wide and the request's `height`
// tall, the baseline at the face's ascent.
//
// Vertical writing (the text column runs downwards, the request's `height`
// runs across the column and `width` along it): a full-width character stands
// upright in its vertical form (brackets turned, the long vowel mark
// vertical) in a cell `height` wide and `advance` (twice `width`) tall; a
// half-width character lies on its side, turned a quarter clockwise, in a
// cell `height` wide and its own advance tall.
struct GlyphBitmap {
  int width = 0;
  int height = 0;
  int advance = 0;                // the pen step to the next character, along the writing direction
  std::vector<uint8_t> coverage;  // width × height bytes
};

class FontService {
 public:
  virtual ~FontService() = default;

  // The faces for the font menu: installed families with Japanese coverage,
  // reported one family at a time in a fixed order. Each reported family
  // takes the next number (0, 1, 2 ...); only fixed-pitch outline faces whose
  // name does not begin with '@' (a vertical-writing face) are kept, so the
  // numbers of the kept ones need not be consecutive. Reporting stops at
  // `limit` families.
  virtual std::vector<FontMenuEntry> ListMenuFonts(int limit) = 0;

  // The glyph of one character. A face the machine does not have, or one
  // without the character, gives way to the engine's standard Japanese face.
  // A character no face has, a size of 0 or less or above
  // kMaxGlyphRequestSide gives a blank or empty bitmap, never an error.
  virtual GlyphBitmap RasterizeGlyph(const GlyphRequest& request) = 0;
};

// A machine without fonts: the menu lists none and every glyph is blank. A
// blank glyph still has its cell (the request's width, twice that for a
// character outside ASCII and the half-width katakana, by the request's
// height), so text laid out without fonts advances as it would with them.
// What a headless platform uses when it is given no font service.
class NoFonts final : public FontService {
 public:
  std::vector<FontMenuEntry> ListMenuFonts(int) override { return {}; }
  GlyphBitmap RasterizeGlyph(const GlyphRequest& request) override;
};

}  // namespace orivane
