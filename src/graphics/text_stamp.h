// Text turned into coverage: a Shift-JIS string drawn with one face at one
// size through the platform's font service into a grid of coverage bytes.
// The numbers of `prnum` are shrunk from such a grid, and the picture tools
// (`createdummy`, `font2bmp`) paint their text from one.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orivane {

class FontService;

// The face the engine's own drawings use ("ＭＳ ゴシック", UTF-8).
inline constexpr char kGothicFaceUtf8[] = "ＭＳ ゴシック";

// Coverage bytes (0 = none, 255 = full ink), `width` × `height`, rows from the top.
struct CoverageGrid {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;

  CoverageGrid() = default;
  // A blank grid; a side of 0 or less gives an empty one.
  CoverageGrid(int w, int h);
  uint8_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool empty() const { return pixels.empty(); }
};

// A face and cell size as the font service takes them: `height` the cell
// height, `width` the advance of a half-width character.
struct StampFont {
  std::string_view face;  // UTF-8
  int width = 0;
  int height = 0;
  int weight = 400;
};

// Draws `sjis` onto `grid` with the pen starting at (left, top): each
// character's glyph at the pen, the pen then moving on by the glyph's advance
// (the cell's width when the service gives none). Ink over ink keeps the
// stronger value; ink outside the grid is cut off. A byte sequence that is no
// Shift-JIS character moves the pen by its cell without ink. Returns the pen
// position after the last character (for an empty grid: the text's width).
int64_t StampText(FontService& fonts, const StampFont& font, std::string_view sjis,
                  CoverageGrid& grid, int64_t left, int64_t top);

// The width the text takes at that font: where StampText leaves the pen.
int64_t MeasureText(FontService& fonts, const StampFont& font, std::string_view sjis);

}  // namespace orivane
