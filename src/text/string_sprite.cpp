#include "text/string_sprite.h"

#include <algorithm>
#include <string>
#include <utility>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/graphics_commands.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "text/text_output.h"
#include "text/text_window_display.h"

namespace orivane {
namespace {

// Pages for sprites are kept to a sensible size: a script's numbers could
// otherwise ask for a layer of gigabytes.
constexpr int64_t kMaxPageSide = 4096;

// The text window's settings without its page: glyphs, picture and layer stay
// where they are, only the values are copied.
TextWindow SettingsOf(TextWindow& window) {
  TextLayer layer = std::exchange(window.layer, TextLayer{});
  ImageSurface frame = std::exchange(window.frame_image, ImageSurface{});
  TextWindow copy = window;
  window.layer = std::move(layer);
  window.frame_image = std::move(frame);
  return copy;
}

void StringSprite(Engine& engine, bool visible) {
  const int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  const std::string text = ReadString(engine);
  int32_t v[10];
  for (int32_t& value : v) {
    ExpectComma(engine);
    value = ReadNumber(engine);
  }
  const auto [x, y, columns, rows, glyph_w, glyph_h, pitch_x, pitch_y, bold, shadow] = v;
  SpriteSlot& slot = SpriteAt(engine, n);
  EraseTextWindowBeforePictureChange(engine, false);

  TextWindow page = SettingsOf(engine.text);
  page.text_left = page.text_top = 0;
  page.columns = columns;
  page.rows = rows;
  page.glyph_width = glyph_w;
  page.glyph_height = glyph_h;
  page.advance_x = glyph_w + pitch_x;
  page.advance_y = glyph_h + pitch_y;
  page.bold = bold;
  page.shadow = shadow;
  page.column = page.line = 0;
  const ShadowOffset offset = ShadowOffsetOf(page);
  const int64_t reach_x = std::max(0, offset.dx), reach_y = std::max(0, offset.dy);
  const int64_t width = int64_t{columns} * page.advance_x + reach_x;
  const int64_t height = int64_t{rows} * page.advance_y + reach_y;
  if (columns <= 0 || rows <= 0 || width <= 0 || height <= 0 || width > kMaxPageSide || height > kMaxPageSide)
    ReportError(engine, "strspの文字の枠の指定が間違っています。", "エラー");
  page.layer.Resize(static_cast<int32_t>(width), static_cast<int32_t>(height));
  DrawTextOnPage(engine, page, text);

  if (slot.visible && !slot.tag.empty()) DirtySprite(engine, slot);
  slot.surface.Reset();
  MakeTextPagePicture(page, slot.surface);
  slot.surface.tag = kTextPageSpriteTag;
  slot.tag = kTextPageSpriteTag;
  slot.x = x;
  slot.y = y;
  slot.visible = visible;
  if (visible) DirtySprite(engine, slot);
}

void CmdStrsp(Engine& engine) { StringSprite(engine, true); }
void CmdStrsph(Engine& engine) { StringSprite(engine, false); }

}  // namespace

bool MakeTextPagePicture(const TextWindow& page, ImageSurface& out) {
  const TextLayer& layer = page.layer;
  if (!out.CreateBlank(layer.width * 2, layer.height, 24)) return false;
  out.mode = kModeAlpha;
  out.cells = 1;
  out.cell = 0;
  out.interval = kNoAnimation;
  const bool shadow = page.shadow != 0;
  const auto [dx, dy] = ShadowOffsetOf(page);
  for (int y = 0; y < layer.height; ++y) {
    uint8_t* colour = out.RowFromTop(y);
    uint8_t* mask = colour + layer.width * 3;
    for (int x = 0; x < layer.width; ++x) {
      const int a = layer.CoverageAt(x, y);
      const int sx = x - dx, sy = y - dy;
      const int s = shadow && layer.Contains(sx, sy) ? layer.CoverageAt(sx, sy) : 0;
      // The glyph over its shadow, as one alpha: 1 − (1 − s)(1 − a), and the
      // colour that gives the glyph's share of it (the shadow is black).
      const int alpha = 255 - (255 - s) * (255 - a) / 255;
      mask[x * 3] = mask[x * 3 + 1] = mask[x * 3 + 2] = static_cast<uint8_t>(255 - alpha);
      if (alpha == 0 || a == 0) continue;
      const uint8_t* c = layer.ColourAt(x, y);
      for (int i = 0; i < 3; ++i) colour[x * 3 + i] = static_cast<uint8_t>(std::min(255, c[i] * 255 / alpha));
    }
  }
  return true;
}

void RegisterStringSpriteCommands(CommandTable& table) {
  table.Register("strsp", CmdStrsp);
  table.Register("strsph", CmdStrsph);
}

}  // namespace orivane
