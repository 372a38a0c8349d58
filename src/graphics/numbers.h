// The numbers of `prnum`: up to 100 three-character numbers a game shows over
// the scene (scores, counters), drawn by composition after the bars. A number
// is drawn at three times its size and shrunk, each pixel's ink the weighted
// average of the nine it came from, so its edges are smooth.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "graphics/mul_table.h"
#include "graphics/pixel_view.h"
#include "graphics/text_stamp.h"

namespace orivane {

struct Engine;
class CommandTable;
class FontService;

struct NumberDisplay {
  int32_t x = -1;  // negative: unused
  int32_t y = 0;
  int32_t char_width = 0;
  int32_t char_height = 0;
  int32_t value = 0;
  uint32_t color = 0;  // 0xRRGGBB
  // The ink of the three characters, 3 × char_width by char_height, worked
  // out at the first drawing after the number was set and kept until then.
  CoverageGrid coverage;
  bool rendered = false;
};

inline constexpr int kNumberCount = 100;
using NumberTable = std::array<NumberDisplay, kNumberCount>;

// The three characters shown for a value: right-aligned in three ("%3d"),
// and of a longer text only the first three.
std::string NumberText(int32_t value);

// The ink of a number's three characters: the text drawn white on black in
// "ＭＳ ゴシック" (normal weight) at three times the character size, each
// output pixel the 3 × 3 block it came from weighted 1 2 1 / 2 4 2 / 1 2 1
// and divided by 16. Empty for a character size of 0 or less, or one whose
// triple the font service refuses.
CoverageGrid RenderNumberCoverage(FontService& fonts, const NumberDisplay& number);

// Draws the used numbers that overlap `area` into the 24-bit picture `scene`:
// per channel min(255, d·(255 − c) + colour·c) for the ink c. A number not
// rendered yet is rendered through `fonts` and kept.
void DrawNumbers(FontService& fonts, NumberTable& numbers, const MulTable& mul, PixelView scene,
                 PixelRect area);

// `prnum` and `prnumclear`.
void RegisterNumberCommands(CommandTable& table);

}  // namespace orivane
