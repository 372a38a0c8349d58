#include "graphics/numbers.h"

#include <algorithm>
#include <cstdio>

#include "engine.h"
#include "graphics/compose.h"
#include "platform/font_service.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {
namespace {

constexpr int kCharacters = 3;
constexpr int kScale = 3;

// The number's rectangle (x, y, x + 3 × char width, y + char height), as
// the number is dirtied when it comes and goes.
void DirtyNumber(Engine& engine, const NumberDisplay& n) {
  if (n.x < 0) return;
  AddDirty(engine, n.x, n.y, int64_t{n.x} + int64_t{kCharacters} * n.char_width,
           int64_t{n.y} + n.char_height);
}

// "#rrggbb", written out or in a string expression.
uint32_t ReadNumberColor(Engine& engine) {
  constexpr const char* kMessage = "prnumの色は#rrggbbで指定します。";
  SkipBlanks(engine);
  if (engine.script.Cur() == '#') return ExpectLiteralColor(engine, kMessage, "エラー");
  const std::string text = ReadString(engine);
  if (text.size() != 7 || text[0] != '#') ReportError(engine, kMessage, "エラー");
  return ParseColor(engine, std::string_view(text).substr(1));
}

void CmdPrnum(Engine& engine) {
  const int32_t slot_number = ReadNumber(engine);
  NumberDisplay n;
  for (int32_t* v : {&n.value, &n.x, &n.y, &n.char_width, &n.char_height}) {
    ExpectComma(engine);
    *v = ReadNumber(engine);
  }
  ExpectComma(engine);
  n.color = ReadNumberColor(engine);
  if (slot_number < 0 || slot_number >= kNumberCount)
    ReportError(engine, "prnumの番号%dは使えません（０～９９）。", "エラー", {slot_number});
  NumberDisplay& slot = engine.graphics.numbers[static_cast<size_t>(slot_number)];
  DirtyNumber(engine, slot);
  slot = std::move(n);
  DirtyNumber(engine, slot);
}

void CmdPrnumclear(Engine& engine) {
  for (NumberDisplay& n : engine.graphics.numbers) {
    DirtyNumber(engine, n);
    n = NumberDisplay{};
  }
}

// The weighted sum of the 3 × 3 block whose top-left is (x, y), over 16.
uint8_t ShrunkInk(const CoverageGrid& big, int x, int y) {
  static constexpr int kWeights[3][3] = {{1, 2, 1}, {2, 4, 2}, {1, 2, 1}};
  int sum = 0;
  for (int dy = 0; dy < 3; ++dy)
    for (int dx = 0; dx < 3; ++dx) sum += kWeights[dy][dx] * big.At(x + dx, y + dy);
  return static_cast<uint8_t>(sum / 16);
}

void DrawNumber(const NumberDisplay& n, const MulTable& mul, PixelView scene, PixelRect area) {
  const CoverageGrid& ink = n.coverage;
  if (ink.empty()) return;
  const PixelRect r = ClippedRect(
      std::max<int64_t>(n.x, area.left), std::max<int64_t>(n.y, area.top),
      std::min<int64_t>(int64_t{n.x} + ink.width - 1, area.right),
      std::min<int64_t>(int64_t{n.y} + ink.height - 1, area.bottom), scene.width, scene.height);
  if (r.empty()) return;
  const uint8_t colour[3] = {static_cast<uint8_t>(n.color), static_cast<uint8_t>(n.color >> 8),
                             static_cast<uint8_t>(n.color >> 16)};
  for (int y = r.top; y <= r.bottom; ++y) {
    uint8_t* d = scene.RowFromTop(y) + static_cast<size_t>(r.left) * 3;
    for (int x = r.left; x <= r.right; ++x, d += 3) {
      const int c = ink.At(x - n.x, y - n.y);
      if (c == 0) continue;  // d·255 + colour·0 is d itself
      const uint8_t* keep = mul.Row(255 - c);
      const uint8_t* ink_row = mul.Row(c);
      for (int k = 0; k < 3; ++k)
        d[k] = static_cast<uint8_t>(std::min(255, keep[d[k]] + ink_row[colour[k]]));
    }
  }
}

}  // namespace

std::string NumberText(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%3d", value);
  return std::string(text, kCharacters);
}

CoverageGrid RenderNumberCoverage(FontService& fonts, const NumberDisplay& n) {
  if (n.char_width <= 0 || n.char_height <= 0 || n.char_width > kMaxGlyphRequestSide / kScale ||
      n.char_height > kMaxGlyphRequestSide / kScale)
    return CoverageGrid{};
  const int cell_w = kScale * n.char_width, cell_h = kScale * n.char_height;
  CoverageGrid big(kCharacters * cell_w, cell_h);
  StampText(fonts, StampFont{kGothicFaceUtf8, cell_w, cell_h, 400}, NumberText(n.value), big, 0, 0);
  CoverageGrid small(kCharacters * n.char_width, n.char_height);
  for (int y = 0; y < small.height; ++y)
    for (int x = 0; x < small.width; ++x)
      small.pixels[static_cast<size_t>(y) * small.width + x] =
          ShrunkInk(big, kScale * x, kScale * y);
  return small;
}

void DrawNumbers(FontService& fonts, NumberTable& numbers, const MulTable& mul, PixelView scene,
                 PixelRect area) {
  if (scene.empty() || area.empty()) return;
  for (NumberDisplay& n : numbers) {
    if (n.x < 0) continue;
    if (!n.rendered) {
      n.coverage = RenderNumberCoverage(fonts, n);
      n.rendered = true;
    }
    DrawNumber(n, mul, scene, area);
  }
}

void RegisterNumberCommands(CommandTable& table) {
  table.Register("prnum", CmdPrnum);
  table.Register("prnumclear", CmdPrnumclear);
}

}  // namespace orivane
