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

// The glyph grid of a page: what strsp gives, or what logsp2 takes.
struct PageGrid {
  int32_t columns = 0, rows = 0;
  int32_t glyph_width = 0, glyph_height = 0;
  int32_t pitch_x = 0, pitch_y = 0;
  int32_t bold = 0, shadow = 0;
};

// Lays `text` out on a page of the text window's settings with `grid`, makes
// it sprite n's picture (tag "bklg") and places the sprite at (x, y).
void ShowTextPageSprite(Engine& engine, int32_t n, const std::string& text, int32_t x, int32_t y,
                        const PageGrid& grid, PageTextForm form, bool visible, const char* bad_grid_message) {
  SpriteSlot& slot = SpriteAt(engine, n);
  TextWindow page = CopyPageSettings(engine.text);
  page.text_left = page.text_top = 0;
  page.columns = grid.columns;
  page.rows = grid.rows;
  page.glyph_width = grid.glyph_width;
  page.glyph_height = grid.glyph_height;
  page.advance_x = grid.glyph_width + grid.pitch_x;
  page.advance_y = grid.glyph_height + grid.pitch_y;
  page.bold = grid.bold;
  page.shadow = grid.shadow;
  page.column = page.line = 0;
  const ShadowOffset offset = ShadowOffsetOf(page);
  const int64_t reach_x = std::max(0, offset.dx), reach_y = std::max(0, offset.dy);
  const int64_t width = int64_t{grid.columns} * page.advance_x + reach_x;
  const int64_t height = int64_t{grid.rows} * page.advance_y + reach_y;
  if (grid.columns <= 0 || grid.rows <= 0 || width <= 0 || height <= 0 || width > kMaxPageSide ||
      height > kMaxPageSide)
    ReportError(engine, bad_grid_message, "エラー");
  page.layer.Resize(static_cast<int32_t>(width), static_cast<int32_t>(height));
  DrawTextOnPage(engine, page, text, form);

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
  SpriteAt(engine, n);  // a bad sprite number is reported before anything changes
  EraseTextWindowBeforePictureChange(engine, false);
  const PageGrid grid{columns, rows, glyph_w, glyph_h, pitch_x, pitch_y, bold, shadow};
  ShowTextPageSprite(engine, n, text, x, y, grid, PageTextForm::kStory, visible,
                     "strspの文字の枠の指定が間違っています。");
}

void CmdStrsp(Engine& engine) { StringSprite(engine, true); }
void CmdStrsph(Engine& engine) { StringSprite(engine, false); }

// `logsp` and its kin: a back-log page (or any text in its form, line feeds
// ending lines) as a sprite, on the text window's grid. The "2" forms give
// the glyph size, the pitches and optionally bold and shadow.
void LogSprite(Engine& engine, bool visible, bool own_glyphs) {
  const int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  const std::string text = ReadString(engine);
  ExpectComma(engine);
  const int32_t x = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t y = ReadNumber(engine);
  const TextWindow& w = engine.text;
  PageGrid grid{w.columns,  w.rows, w.glyph_width, w.glyph_height, w.advance_x - w.glyph_width,
                w.advance_y - w.glyph_height, w.bold, w.shadow};
  if (own_glyphs) {
    int32_t* fields[] = {&grid.glyph_width, &grid.glyph_height, &grid.pitch_x, &grid.pitch_y};
    for (int32_t* f : fields) {
      ExpectComma(engine);
      *f = ReadNumber(engine);
    }
    if (CommaFollows(engine)) {
      ExpectComma(engine);
      grid.bold = ReadNumber(engine);
      ExpectComma(engine);
      grid.shadow = ReadNumber(engine);
    }
  }
  SpriteAt(engine, n);
  RemoveTextWindow(engine);
  ShowTextPageSprite(engine, n, text, x, y, grid, PageTextForm::kBackLog, visible,
                     "logspの文字の枠の指定が間違っています。");
}

void CmdLogsp(Engine& engine) { LogSprite(engine, true, false); }
void CmdLogsph(Engine& engine) { LogSprite(engine, false, false); }
void CmdLogsp2(Engine& engine) { LogSprite(engine, true, true); }
void CmdLogsph2(Engine& engine) { LogSprite(engine, false, true); }

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
  table.Register("logsp", CmdLogsp);
  table.Register("logsph", CmdLogsph);
  table.Register("logsp2", CmdLogsp2);
  table.Register("logsph2", CmdLogsph2);
}

}  // namespace orivane
