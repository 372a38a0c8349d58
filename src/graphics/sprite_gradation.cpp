#include "graphics/sprite_gradation.h"

#include <algorithm>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/graphics_commands.h"
#include "script/command_table.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {
namespace {

uint8_t Byte(int32_t v) {
  return static_cast<uint8_t>(std::clamp(v, 0, 255));
}

bool IsKey(const uint8_t* p, const RgbGradation& g) {
  return p[0] == g.key_blue && p[1] == g.key_green && p[2] == g.key_red;
}

bool RowHasKey(const ImageSurface& s, int y, int columns, const RgbGradation& g) {
  const uint8_t* p = s.RowFromTop(y);
  for (int x = 0; x < columns; ++x, p += 3)
    if (IsKey(p, g)) return true;
  return false;
}

// The share of the way from `top` to `bottom` at step i of n − 1.
uint8_t Blend(int32_t top, int32_t bottom, int i, int n) {
  if (n == 1) return Byte(top);
  const int64_t t = Byte(top), b = Byte(bottom);
  return static_cast<uint8_t>(((n - 1 - i) * t + i * b) / (n - 1));
}

void CmdSpRgbGradation(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  RgbGradation g;
  for (int32_t* v : {&g.top_red, &g.top_green, &g.top_blue, &g.bottom_red, &g.bottom_green,
                     &g.bottom_blue, &g.key_red, &g.key_green, &g.key_blue, &g.mask}) {
    ExpectComma(engine);
    *v = ReadNumber(engine);
  }
  if (n == -1) {
    // The text window's picture is the text window's: it is reached through
    // its hook and shown again wherever the window is.
    auto* window_picture = engine.graphics.hooks.text_window_picture;
    ImageSurface* picture = window_picture ? window_picture(engine) : nullptr;
    if (picture && ApplyRgbGradation(*picture, g)) DirtyWholeScreen(engine);
    return;
  }
  SpriteSlot& slot = SpriteAt(engine, n);
  if (slot.tag.empty()) return;
  ApplyRgbGradation(slot.surface, g);
  DirtySprite(engine, slot);
}

}  // namespace

bool ApplyRgbGradation(ImageSurface& s, const RgbGradation& g) {
  if (!s.loaded || s.bit_count != 24 || s.width <= 0 || s.height <= 0) return false;
  const int visible = std::min(s.CellWidth(), s.width);
  if (visible <= 0) return false;
  int first = 0;
  while (first < s.height && !RowHasKey(s, first, visible, g)) ++first;
  if (first == s.height) return false;
  int last = s.height - 1;
  while (!RowHasKey(s, last, visible, g)) --last;
  const int rows = last - first + 1;
  const uint8_t mask = Byte(g.mask);
  // The mask of column x is at x + visible; columns past the picture have none.
  const int masked = std::clamp(s.width - visible, 0, visible);
  for (int i = 0; i < rows; ++i) {
    const uint8_t blue = Blend(g.top_blue, g.bottom_blue, i, rows);
    const uint8_t green = Blend(g.top_green, g.bottom_green, i, rows);
    const uint8_t red = Blend(g.top_red, g.bottom_red, i, rows);
    uint8_t* row = s.RowFromTop(first + i);
    for (int x = 0; x < visible; ++x) {
      uint8_t* p = row + static_cast<size_t>(x) * 3;
      if (!IsKey(p, g)) continue;
      p[0] = blue;
      p[1] = green;
      p[2] = red;
      if (x < masked) std::fill_n(row + static_cast<size_t>(x + visible) * 3, 3, mask);
    }
  }
  return true;
}

void RegisterGradationCommands(CommandTable& table) {
  table.Register("sp_rgb_gradation", CmdSpRgbGradation);
}

}  // namespace orivane
