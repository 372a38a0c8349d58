// The screen filters of composition: the negative (`nega`) and the tinted
// monochrome (`monocro`). Composition runs them over the area it composes,
// before or after the text window as `windowback` says:
//   negative mode 1: every byte b becomes 255 − b;
//   monochrome on:   grey = (blue + green + red) / 3, and each channel
//                    becomes grey × tint / 255 (the blend product table);
//   negative mode 2: every byte b becomes 255 − b, after the tint.
#pragma once

#include <cstdint>

#include "graphics/mul_table.h"
#include "graphics/pixel_view.h"

namespace orivane {

struct Engine;
class CommandTable;

struct ScreenFilters {
  bool monochrome = false;
  uint8_t tint_red = 0;
  uint8_t tint_green = 0;
  uint8_t tint_blue = 0;
  int32_t negative = 0;  // 0 off, 1 before the monochrome filter, 2 after it
};

// The filters over `area` of the 24-bit picture `scene`.
void FilterArea(const ScreenFilters& filters, const MulTable& mul, PixelView scene, PixelRect area);

// `monocro` and `nega`.
void RegisterScreenFilterCommands(CommandTable& table);

}  // namespace orivane
