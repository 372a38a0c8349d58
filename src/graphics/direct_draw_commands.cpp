#include "graphics/direct_draw_commands.h"

#include <array>
#include <cstdint>

#include "engine.h"
#include "graphics/direct_draw.h"
#include "graphics/graphics_commands.h"
#include "script/command_table.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {
namespace {

// N numbers separated by commas.
template <size_t N>
std::array<int32_t, N> ReadNumbers(Engine& engine) {
  std::array<int32_t, N> values{};
  for (size_t i = 0; i < N; ++i) {
    if (i > 0) ExpectComma(engine);
    values[i] = ReadNumber(engine);
  }
  return values;
}

// The colour bytes as the exported DrawFill receives them: the low byte.
uint8_t ColourByte(int32_t v) {
  return static_cast<uint8_t>(v);
}

void CmdDraw(Engine& engine) {
  ShowDisplay(engine);
}

void CmdDrawClear(Engine& engine) {
  FillDisplay(engine, 0);
}

void CmdDrawFill(Engine& engine) {
  const auto [r, g, b] = ReadNumbers<3>(engine);
  FillDisplay(engine, uint32_t{ColourByte(r)} << 16 | uint32_t{ColourByte(g)} << 8 | ColourByte(b));
}

void CmdDrawBg(Engine& engine) {
  CopyBackgroundToDisplay(engine);
}

void CmdDrawBg2(Engine& engine) {
  const auto [x, y, sx, sy, angle] = ReadNumbers<5>(engine);
  DrawBackgroundTransformed(engine, x, y, sx, sy, angle);
}

void CmdDrawSp(Engine& engine) {
  const auto [n, cell, opacity, x, y] = ReadNumbers<5>(engine);
  DrawSpriteOnDisplay(engine, SpriteAt(engine, n), cell, opacity, x, y);
}

// `drawsp2` and `drawsp3` leave the cell they drew set but not the opacity.
class KeptOpacity {
 public:
  explicit KeptOpacity(SpriteSlot& slot) : slot_(slot), opacity_(slot.surface.opacity) {}
  ~KeptOpacity() { slot_.surface.opacity = opacity_; }
  KeptOpacity(const KeptOpacity&) = delete;
  KeptOpacity& operator=(const KeptOpacity&) = delete;

 private:
  SpriteSlot& slot_;
  int32_t opacity_;
};

void CmdDrawSp2(Engine& engine) {
  const auto [n, cell, opacity, x, y, sx, sy, angle] = ReadNumbers<8>(engine);
  SpriteSlot& slot = SpriteAt(engine, n);
  KeptOpacity kept(slot);
  DrawSpriteTransformed(engine, slot, cell, opacity, x, y, sx, sy, angle);
}

void CmdDrawSp3(Engine& engine) {
  const auto [n, cell, opacity, x, y, a, b, c, d] = ReadNumbers<9>(engine);
  SpriteSlot& slot = SpriteAt(engine, n);
  KeptOpacity kept(slot);
  DrawSpriteWithMatrixOnDisplay(engine, slot, cell, opacity, x, y, a, b, c, d);
}

void CmdOfsCopy(Engine& engine) {
  CopyWindowToDisplay(engine);
}

void CmdBgCopy(Engine& engine) {
  CopyWindowToBackground(engine);
}

}  // namespace

void RegisterDirectDrawCommands(CommandTable& table) {
  table.Register("draw", CmdDraw);
  table.Register("drawclear", CmdDrawClear);
  table.Register("drawfill", CmdDrawFill);
  table.Register("drawbg", CmdDrawBg);
  table.Register("drawbg2", CmdDrawBg2);
  table.Register("drawsp", CmdDrawSp);
  table.Register("drawsp2", CmdDrawSp2);
  table.Register("drawsp3", CmdDrawSp3);
  table.Register("ofscopy", CmdOfsCopy);
  table.Register("ofscpy", CmdOfsCopy);
  table.Register("bgcopy", CmdBgCopy);
  table.Register("bgcpy", CmdBgCopy);
}

}  // namespace orivane
