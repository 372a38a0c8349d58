#include "text/text_picture.h"

#include <climits>
#include <cstdint>
#include <string>

#include "engine.h"
#include "graphics/image_tag.h"
#include "platform/platform.h"
#include "text/glyph_draw.h"
#include "text/glyph_method.h"

namespace orivane {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;
// The mask is drawn like a colour: white ground, the text in black.
constexpr uint32_t kMaskInk = kBlack;
constexpr uint32_t kOutlineInk = kBlack;

// A pen this far left draws nothing any more; stopping there keeps every
// position that reaches DrawGlyph (plus the outline's two pixels) in 32 bits.
constexpr int64_t kFarLeft = INT32_MIN / 2;

// What every unit of one text picture is drawn with.
struct TextPen {
  GlyphFont font;  // face, glyph size, weight; smoothed for decoration 0
  int32_t advance = 0;
  int32_t decoration = 0;
  GlyphPaint paint;  // colour, and for decoration 0 the text window's shadow
};

TextPen PenFor(const Engine& engine, const TextPictureLayout& layout) {
  const TextWindow& window = engine.text;
  const bool sprite_font = window.sprite_font.width != -1;
  TextPen pen;
  pen.font.face = sprite_font ? window.sprite_font.face : window.font_face;
  pen.font.width = layout.glyph_width;
  pen.font.height = layout.glyph_height;
  pen.font.bold = (sprite_font ? window.sprite_font.bold : window.bold) != 0;
  pen.font.vertical = false;
  // Decorations other than 1 and 2 draw as the default, 0.
  pen.font.smooth = layout.decoration != 1 && layout.decoration != 2;
  pen.advance = layout.advance;
  pen.decoration = layout.decoration;
  if (pen.font.smooth) {
    pen.paint.shadow = window.shadow != 0;
    pen.paint.shadow_offset_set = window.shadow_offset_set;
    pen.paint.shadow_dx = window.shadow_dx;
    pen.paint.shadow_dy = window.shadow_dy;
  }
  return pen;
}

// The columns x .. x + width − 1 of a picture, as a picture of their own:
// drawing into it is clipped to those columns.
PixelView Columns(const PixelView& whole, int64_t x, int64_t width) {
  return PixelView(whole.pixels + x * 3, static_cast<int>(width), whole.height, whole.stride);
}

void DrawUnit(Engine& engine, PixelView target, int32_t x, const TextPen& pen, uint8_t first,
              uint8_t second) {
  const GlyphCell& cell = engine.glyphs.Get(engine.platform.Fonts(), pen.font, first, second);
  const MulTable& mul = engine.graphics.mul;
  if (pen.decoration != 2) {
    DrawGlyph(target, x, 0, cell, pen.paint, mul);
    return;
  }
  // Outlined: the glyph in black one pixel above, left, right and below its
  // place at (x + 1, 1), then the glyph itself.
  const GlyphPaint outline{kOutlineInk};
  constexpr int32_t kAround[4][2] = {{1, 0}, {0, 1}, {2, 1}, {1, 2}};
  for (const auto& at : kAround) DrawGlyph(target, x + at[0], at[1], cell, outline, mul);
  DrawGlyph(target, x + 1, 1, cell, pen.paint, mul);
}

// One pass over the text into one cell (the mask's or a colour's).
void DrawText(Engine& engine, PixelView target, const std::string& text, const TextPen& pen) {
  int64_t x = 0;
  for (size_t i = 0; i < text.size();) {
    const uint8_t first = static_cast<uint8_t>(text[i]);
    if (first == ' ' || first == '\t') {
      ++i;  // a blank takes no place
      continue;
    }
    const uint8_t second = i + 1 < text.size() ? static_cast<uint8_t>(text[i + 1]) : 0;
    i += 2;
    if (x <= target.width - 1 && x > kFarLeft)
      DrawUnit(engine, target, static_cast<int32_t>(x), pen, first, second);
    x += pen.advance;
  }
}

}  // namespace

void InstallTextPictureRenderer(Engine& engine) {
  engine.graphics.hooks.render_text_picture = RenderTextPicture;
}

void RenderTextPicture(Engine& engine, ImageSurface& surface, const ParsedTag& tag,
                       const TextPictureLayout& layout) {
  const int64_t colours = static_cast<int64_t>(tag.text_colors.size());
  const int64_t cell_w = layout.cell_width, cell_h = layout.cell_height;
  if (colours < 1 || cell_w <= 0 || cell_h <= 0 || !surface.loaded || surface.bit_count != 24 ||
      surface.width != cell_w * 2 * colours || surface.height != cell_h)
    return;
  const PixelView whole = surface.View();
  const PixelRect cell{0, 0, static_cast<int>(cell_w - 1), static_cast<int>(cell_h - 1)};
  TextPen pen = PenFor(engine, layout);

  // The mask, drawn once into the first cell's mask place.
  const PixelView mask = Columns(whole, cell_w, cell_w);
  FillRect(mask, cell, kWhite);
  pen.paint.rgb = kMaskInk;
  DrawText(engine, mask, layout.text, pen);

  for (int64_t k = 0; k < colours; ++k) {
    const PixelView text_part = Columns(whole, 2 * cell_w * k, cell_w);
    FillRect(text_part, cell, kBlack);
    pen.paint.rgb = tag.text_colors[static_cast<size_t>(k)];
    DrawText(engine, text_part, layout.text, pen);
    if (k > 0) CopyRect(Columns(whole, 2 * cell_w * k + cell_w, cell_w), mask, cell);
  }
}

}  // namespace orivane
