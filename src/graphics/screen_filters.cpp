#include "graphics/screen_filters.h"

#include <string>

#include "engine.h"
#include "graphics/compose.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"

namespace orivane {
namespace {

// (b + g + r) / 3 without a division: for sums up to 765 the product with
// 43691 / 2^17 (just above a third) truncates to the same quotient.
inline uint8_t Third(int sum) {
  return static_cast<uint8_t>((sum * 43691) >> 17);
}

void Invert(uint8_t* bytes, int count) {
  for (int i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(255 - bytes[i]);
}

void Tint(uint8_t* px, int pixels, const uint8_t* blue, const uint8_t* green, const uint8_t* red) {
  for (int i = 0; i < pixels; ++i, px += 3) {
    const uint8_t grey = Third(px[0] + px[1] + px[2]);
    px[0] = blue[grey];
    px[1] = green[grey];
    px[2] = red[grey];
  }
}

void CmdMonocro(Engine& engine) {
  ScreenFilters& f = engine.graphics.filters;
  SkipBlanks(engine);
  constexpr const char* kMessage =
      "monocro命令の次は#rrggbbで色指定、もしくは、offでモノクロ指定を解除、です。";
  if (engine.script.Cur() == '#') {
    const uint32_t rgb = ExpectLiteralColor(engine, kMessage, "構文エラー");
    f.monochrome = true;
    f.tint_red = static_cast<uint8_t>(rgb >> 16);
    f.tint_green = static_cast<uint8_t>(rgb >> 8);
    f.tint_blue = static_cast<uint8_t>(rgb);
  } else if (ReadToken(engine) == "off") {
    f.monochrome = false;
  } else {
    ReportError(engine, kMessage, "構文エラー");
  }
  DirtyWholeScreen(engine);
}

void CmdNega(Engine& engine) {
  engine.graphics.filters.negative = ReadNumber(engine);
  DirtyWholeScreen(engine);
}

}  // namespace

void FilterArea(const ScreenFilters& f, const MulTable& mul, PixelView scene, PixelRect area) {
  if (!f.monochrome && f.negative != 1 && f.negative != 2) return;
  area = ClippedRect(area.left, area.top, area.right, area.bottom, scene.width, scene.height);
  if (area.empty() || scene.empty()) return;
  const int pixels = area.right - area.left + 1;
  // The whole screen is one run of bytes when its rows have no padding.
  const bool whole = pixels == scene.width && area.top == 0 && area.bottom == scene.height - 1 &&
                     scene.stride == scene.width * 3;
  const int rows = whole ? 1 : area.bottom - area.top + 1;
  const int run = whole ? pixels * scene.height : pixels;
  const uint8_t* blue = mul.Row(f.tint_blue);
  const uint8_t* green = mul.Row(f.tint_green);
  const uint8_t* red = mul.Row(f.tint_red);
  for (int r = 0; r < rows; ++r) {
    uint8_t* px = (whole ? scene.RowFromTop(scene.height - 1) : scene.RowFromTop(area.top + r)) +
                  area.left * 3;
    if (f.negative == 1) Invert(px, run * 3);
    if (f.monochrome) Tint(px, run, blue, green, red);
    if (f.negative == 2) Invert(px, run * 3);
  }
}

void RegisterScreenFilterCommands(CommandTable& table) {
  table.Register("monocro", CmdMonocro);
  table.Register("nega", CmdNega);
}

}  // namespace orivane
