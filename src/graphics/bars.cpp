#include "graphics/bars.h"

#include <algorithm>
#include <string>

#include "engine.h"
#include "graphics/compose.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {
namespace {

// The bar's rectangle (x, y, x + width, y + height) and what it fills, which
// reaches further when the value passes the maximum: both are drawn again.
void DirtyBar(Engine& engine, const Bar& b) {
  if (b.x < 0) return;
  AddDirty(engine, b.x, b.y, int64_t{b.x} + b.width, int64_t{b.y} + b.height);
  const PixelRect filled = FilledRect(b);
  if (!filled.empty()) AddDirty(engine, filled.left, filled.top, filled.right, filled.bottom);
}

// "#rrggbb", written out or in a string expression.
uint32_t ReadBarColor(Engine& engine) {
  constexpr const char* kMessage = "barの色は#rrggbbで指定します。";
  SkipBlanks(engine);
  if (engine.script.Cur() == '#') return ExpectLiteralColor(engine, kMessage, "エラー");
  const std::string text = ReadString(engine);
  if (text.size() != 7 || text[0] != '#') ReportError(engine, kMessage, "エラー");
  return ParseColor(engine, std::string_view(text).substr(1));
}

void CmdBar(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  Bar b;
  for (int32_t* v : {&b.value, &b.x, &b.y, &b.width, &b.height, &b.maximum}) {
    ExpectComma(engine);
    *v = ReadNumber(engine);
  }
  ExpectComma(engine);
  b.color = ReadBarColor(engine);
  if (n < 0 || n >= kBarCount)
    ReportError(engine, "barの番号%dは使えません（０～９９）。", "エラー", {n});
  Bar& slot = engine.graphics.bars[static_cast<size_t>(n)];
  DirtyBar(engine, slot);
  slot = b;
  DirtyBar(engine, slot);
}

void CmdBarclear(Engine& engine) {
  for (Bar& b : engine.graphics.bars) {
    DirtyBar(engine, b);
    b = Bar{};
  }
}

}  // namespace

PixelRect FilledRect(const Bar& b) {
  if (b.x < 0 || b.value <= 0 || b.maximum <= 0 || b.width <= 0 || b.height <= 0)
    return PixelRect{};
  const int64_t filled = int64_t{b.value} * b.width / b.maximum;
  if (filled <= 0) return PixelRect{};
  return PixelRect{b.x, b.y,
                   static_cast<int>(std::min<int64_t>(int64_t{b.x} + filled - 1, INT32_MAX)),
                   static_cast<int>(std::min<int64_t>(int64_t{b.y} + b.height - 1, INT32_MAX))};
}

void DrawBars(const BarTable& bars, PixelView scene, PixelRect area) {
  for (const Bar& b : bars) {
    const PixelRect r = FilledRect(b);
    if (r.empty()) continue;
    const PixelRect clip = ClippedRect(std::max(r.left, area.left), std::max(r.top, area.top),
                                       std::min(r.right, area.right),
                                       std::min(r.bottom, area.bottom), scene.width, scene.height);
    if (!clip.empty()) FillRect(scene, clip, b.color);
  }
}

void RegisterBarCommands(CommandTable& table) {
  table.Register("bar", CmdBar);
  table.Register("barclear", CmdBarclear);
}

}  // namespace orivane
