// The bars of `bar`: up to 100 filled rectangles a game uses for gauges,
// drawn by composition after the front sprites. A bar shows the part of its
// width that its value is of its maximum.
#pragma once

#include <array>
#include <cstdint>

#include "graphics/pixel_view.h"

namespace orivane {

struct Engine;
class CommandTable;

struct Bar {
  int32_t x = -1;  // −1: unused
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t value = 0;
  int32_t maximum = 0;
  uint32_t color = 0;  // 0xRRGGBB
};

inline constexpr int kBarCount = 100;
using BarTable = std::array<Bar, kBarCount>;

// The filled rectangle of a bar (inclusive); empty when nothing is filled:
// an unused bar, a value of 0 or less, or a maximum of 0 or less.
PixelRect FilledRect(const Bar& bar);

// Fills the bars that overlap `area` into the 24-bit picture `scene`.
void DrawBars(const BarTable& bars, PixelView scene, PixelRect area);

// `bar` and `barclear`.
void RegisterBarCommands(CommandTable& table);

}  // namespace orivane
