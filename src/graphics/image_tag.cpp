#include "graphics/image_tag.h"

#include <algorithm>
#include <climits>

#include "engine.h"
#include "graphics/picture_loader.h"
#include "platform/platform.h"
#include "script/error.h"

namespace orivane {
namespace {

// A read position in the tag; bytes past the end read as 0.
class TagCursor {
 public:
  explicit TagCursor(std::string_view text) : text_(text) {}
  uint8_t Cur() const { return At(pos_); }
  uint8_t Peek(size_t k) const { return At(pos_ + k); }
  uint8_t At(size_t p) const { return p < text_.size() ? static_cast<uint8_t>(text_[p]) : 0; }
  bool AtEnd() const { return pos_ >= text_.size(); }
  void Advance(size_t n = 1) { pos_ = std::min(text_.size(), pos_ + n); }
  std::string_view Rest() const { return text_.substr(pos_); }

  // A decimal number with an optional sign, as atoi reads it; the digits are
  // consumed. Values beyond 32 bits saturate.
  int32_t Decimal() {
    while (Cur() == ' ' || Cur() == '\t') Advance();
    int64_t sign = 1;
    if (Cur() == '+' || Cur() == '-') {
      if (Cur() == '-') sign = -1;
      Advance();
    }
    int64_t v = 0;
    while (Cur() >= '0' && Cur() <= '9') {
      if (v < INT64_C(1) << 40) v = v * 10 + (Cur() - '0');
      Advance();
    }
    v *= sign;
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  }
  // Moves onto the next byte `c` (false at the end of the tag).
  bool SeekTo(char c) {
    while (!AtEnd() && Cur() != static_cast<uint8_t>(c)) Advance();
    return !AtEnd();
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

bool HexDigit(uint8_t c, uint32_t& v) {
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  else
    return false;
  return true;
}

// Reads "#rrggbb" at the cursor.
bool ReadHexColor(TagCursor& c, uint32_t& rgb) {
  rgb = 0;
  for (int i = 1; i <= 6; ++i) {
    uint32_t d;
    if (!HexDigit(c.Peek(static_cast<size_t>(i)), d)) return false;
    rgb = (rgb << 4) | d;
  }
  c.Advance(7);
  return true;
}

TagError ParseFilters(TagCursor& c, ParsedTag& out) {
  c.Advance();  // '<'
  for (;;) {
    const uint8_t ch = c.Cur();
    if (ch == ' ' || ch == ',') {
      c.Advance();
    } else if (ch == 'b' || ch == 'B') {
      c.Advance();
      out.brightness = c.Decimal();
    } else if (ch == 'r' || ch == 'R') {
      c.Advance();
      if (c.Cur() != 'g' && c.Cur() != 'G') return TagError::kMalformed;
      c.Advance();
      if (c.Cur() != 'b' && c.Cur() != 'B') return TagError::kMalformed;
      c.Advance();
      out.filter_red = c.Decimal();
      if (c.Cur() != ',') return TagError::kMalformed;
      c.Advance();
      out.filter_green = c.Decimal();
      if (c.Cur() != ',') return TagError::kMalformed;
      c.Advance();
      out.filter_blue = c.Decimal();
    } else if (ch == '>') {
      c.Advance();
      return TagError::kNone;
    } else {
      return TagError::kMalformed;  // any other byte, or the end of the tag
    }
  }
}

TagError ParseTextPicture(TagCursor& c, ParsedTag& out) {
  out.is_text = true;
  if (c.Cur() == '/') {
    c.Advance();
    out.text_has_size = true;
    out.text_width = c.Decimal();
    if (!c.SeekTo(',')) return TagError::kMalformed;
    c.Advance();
    out.text_height = c.Decimal();
    if (!c.SeekTo(',')) return TagError::kMalformed;
    c.Advance();
    out.text_pitch = c.Decimal();
    while (!c.AtEnd() && c.Cur() != ',' && c.Cur() != ';') c.Advance();
    if (c.AtEnd()) return TagError::kMalformed;
    if (c.Cur() == ',') {
      c.Advance();
      out.text_decoration = c.Decimal();
      if (!c.SeekTo(';')) return TagError::kMalformed;
    }
    c.Advance();  // ';'
  }
  while (c.Cur() == '#' && static_cast<int>(out.text_colors.size()) < kMaxTextPictureColors) {
    uint32_t rgb;
    if (!ReadHexColor(c, rgb)) return TagError::kBadColor;
    out.text_colors.push_back(rgb);
  }
  if (out.text_colors.empty()) return TagError::kTextWithoutColor;
  if (c.Cur() == '$') {
    c.Advance();
    out.text_from_variable = true;
    out.text_variable = c.Decimal();
  } else {
    out.text = std::string(c.Rest());
  }
  return TagError::kNone;
}

TagError ParseAnimationGroup(TagCursor& c, ParsedTag& out) {
  out.cells = c.Decimal();
  // A picture must have at least one cell: every cell width divides by it.
  if (out.cells < 1) return TagError::kMalformed;
  if (!c.SeekTo(',')) return TagError::kMalformed;
  c.Advance();
  if (c.Cur() == '<') {
    c.Advance();
    out.intervals.clear();
    for (int32_t i = 0; i < out.cells; ++i) {
      out.intervals.push_back(c.Decimal());
      if (c.AtEnd()) return TagError::kMalformed;
      if (i == out.cells - 1 && c.Cur() != '>') return TagError::kMalformed;
      c.Advance();
    }
    out.interval = -1;
  } else {
    out.interval = c.Decimal();
  }
  if (!c.SeekTo(',')) return TagError::kMalformed;
  c.Advance();
  out.loop_mode = c.Decimal();
  if (out.loop_mode == 3) out.interval = kNoAnimation;
  return TagError::kNone;
}

TagError ParseModePart(TagCursor& c, ParsedTag& out) {
  c.Advance();  // ':'
  while (c.Cur() == ' ' || c.Cur() == '\t') c.Advance();
  const uint8_t letter = c.Cur();
  switch (letter) {
    case 'a':
      out.has_mode = true;
      out.mode = kModeAlpha;
      c.Advance();
      break;
    case 'l':
      out.has_mode = true;
      out.mode = kModeLeftUp;
      c.Advance();
      break;
    case 'r':
      out.has_mode = true;
      out.mode = kModeRightUp;
      c.Advance();
      break;
    case 'c':
      out.has_mode = true;
      out.mode = kModeCopy;
      c.Advance();
      break;
    case '#':
      if (!ReadHexColor(c, out.key_rgb)) return TagError::kBadColor;
      out.has_mode = true;
      out.mode = kModeGivenKey;
      break;
    case '!':
      c.Advance();
      out.has_mode = true;
      out.mode = kModeGivenKey;
      out.key_by_index = true;
      out.key_index = c.Decimal();
      break;
    case 'm':
      c.Advance();
      out.has_mode = true;
      out.mode = kModeCopy;
      while (!c.AtEnd() && c.Cur() != '/' && c.Cur() != ';') {
        out.mask_file.push_back(static_cast<char>(c.Cur()));
        c.Advance();
      }
      break;
    case 's':
      c.Advance();
      return ParseTextPicture(c, out);
    default:
      break;  // not a mode letter: the default mode stays
  }
  for (;;) {
    if (c.AtEnd()) return TagError::kMalformed;
    const uint8_t ch = c.Cur();
    c.Advance();
    if (ch == ';') break;
    if (ch == '/') {
      out.animated = true;
      TagError e = ParseAnimationGroup(c, out);
      if (e != TagError::kNone) return e;
    }
  }
  out.file = std::string(c.Rest());
  return TagError::kNone;
}

}  // namespace

TagError ParseImageTag(std::string_view tag, ParsedTag& out) {
  out = ParsedTag{};
  tag = tag.substr(0, std::min(tag.size(), kMaxTagBytes));
  TagCursor c(tag);
  if (c.Cur() == '*') {
    c.Advance();
    out.is_layer = true;
    out.layer = c.Decimal();
    return TagError::kNone;
  }
  if (c.Cur() == '<') {
    TagError e = ParseFilters(c, out);
    if (e != TagError::kNone) return e;
  }
  if (c.Cur() == ':') return ParseModePart(c, out);
  out.file = std::string(c.Rest());
  return TagError::kNone;
}

}  // namespace orivane

namespace orivane {
namespace {

void ReportTagError(Engine& engine, TagError e) {
  switch (e) {
    case TagError::kNone:
      return;
    case TagError::kMalformed:
      ReportError(engine, "タグの指定がおかしいです。", "タグエラー");
    case TagError::kBadColor:
      ReportError(engine,
                  "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。",
                  "構文エラー");
    case TagError::kTextWithoutColor:
      ReportError(engine, "画像タグ:sの次は色指定#rrggbbです。", "エラー");
  }
}

// Replaces `surface`'s picture by a 24-bit one: the cell of the picture at
// the left and the mask picture (clipped to the same size) at the right.
void JoinMask(Engine& engine, ImageSurface& surface, const std::string& mask_tag) {
  if (surface.cells > 1)
    ReportError(engine, "画像指定タグ:mファイル名のときは複数セル画像はサポートしていません。",
                "エラー");
  ImageSurface mask;
  LoadImageTag(engine, mask, mask_tag);
  surface.ConvertTo24();
  mask.ConvertTo24();
  const int w = surface.CellWidth(), h = surface.height;
  if (w <= 0 || h <= 0) return;
  ImageSurface joined;
  if (!joined.CreateBlank(w * 2, h, 24)) return;
  for (int y = 0; y < h; ++y) {
    uint8_t* dst = joined.RowFromTop(y);
    std::copy_n(surface.RowFromTop(y), static_cast<size_t>(w) * 3, dst);
    if (mask.loaded && mask.bit_count == 24 && y < mask.height)
      std::copy_n(mask.RowFromTop(y), static_cast<size_t>(std::min(w, mask.width)) * 3,
                  dst + w * 3);
  }
  surface.Reset();
  surface.CreateBlank(w * 2, h, 24);
  surface.pixels = std::move(joined.pixels);
  surface.mode = kModeAlpha;
}

void ApplyFilters(Engine& engine, ImageSurface& s, const ParsedTag& p) {
  if (p.brightness != kNoFilter && s.loaded && s.bit_count == 24) {
    const int64_t n = p.brightness;
    const int cols = s.CellWidth() * 3;
    for (int y = 0; y < s.height; ++y) {
      uint8_t* row = s.RowFromTop(y);
      for (int i = 0; i < cols; ++i)
        row[i] = static_cast<uint8_t>(std::clamp<int64_t>(row[i] * n / 255, 0, 255));
    }
  }
  if (p.filter_red != kNoFilter && s.loaded) {
    if (s.color_count != 0)
      ReportError(engine, "フルカラー画像以外ではフィルタはかけられません", "エラー");
    if (s.bit_count != 24) return;
    const int64_t factor[3] = {p.filter_blue, p.filter_green, p.filter_red};
    const int cols = s.CellWidth();
    for (int y = 0; y < s.height; ++y) {
      uint8_t* px = s.RowFromTop(y);
      for (int x = 0; x < cols; ++x, px += 3)
        for (int c = 0; c < 3; ++c)
          px[c] = static_cast<uint8_t>(std::clamp<int64_t>(px[c] * factor[c] / 255, 0, 255));
    }
  }
}

// One load without the `jpegmode` retry.
void LoadTagOnce(Engine& engine, ImageSurface& surface, const std::string& tag) {
  Graphics& g = engine.graphics;
  surface.Reset();
  surface.mode = g.default_mode;
  ParsedTag p;
  ReportTagError(engine, ParseImageTag(tag, p));
  const uint32_t now = engine.platform.Ticks();
  if (p.is_layer) {
    surface.CreateBlank(1, 1, 24);
    surface.mode = kModeLeftUp;
    surface.tag = tag;
    return;
  }
  if (p.has_mode) {
    surface.mode = p.mode;
    surface.key_red = static_cast<int32_t>((p.key_rgb >> 16) & 0xFF);
    surface.key_green = static_cast<int32_t>((p.key_rgb >> 8) & 0xFF);
    surface.key_blue = static_cast<int32_t>(p.key_rgb & 0xFF);
    surface.key_index = p.key_index;
    surface.anim_start = now;
  }
  if (p.is_text) {
    PrepareTextPicture(engine, surface, p);
    surface.tag = tag;
    return;
  }
  surface.cells = p.cells;
  surface.interval = p.interval;
  surface.intervals = p.intervals;
  surface.loop_mode = p.loop_mode;
  LoadPictureFile(engine, surface, p.file);
  surface.tag = tag;
  if (!surface.loaded) return;
  if (!p.mask_file.empty()) JoinMask(engine, surface, p.mask_file);
  ApplyFilters(engine, surface, p);
}

// bmp → jpg: after the last '.', a 'b' becomes 'j', then an 'm' at the next
// place 'p', then a 'p' at the next place 'g'.
std::string JpegModeTag(std::string tag) {
  const size_t dot = tag.rfind('.');
  if (dot == std::string::npos) return tag;
  const char from[3] = {'b', 'm', 'p'}, to[3] = {'j', 'p', 'g'};
  for (size_t i = 0; i < 3 && dot + 1 + i < tag.size(); ++i)
    if (tag[dot + 1 + i] == from[i]) tag[dot + 1 + i] = to[i];
  return tag;
}

}  // namespace

void LoadImageTag(Engine& engine, ImageSurface& surface, const std::string& full_tag) {
  const std::string tag = full_tag.substr(0, std::min(full_tag.size(), kMaxTagBytes));
  if (!surface.tag.empty() && surface.tag == tag) {
    surface.cell = 0;
    return;
  }
  LoadTagOnce(engine, surface, tag);
  if (surface.loaded || !engine.graphics.jpeg_mode) return;
  const std::string retry = JpegModeTag(tag);
  LoadTagOnce(engine, surface, retry);
  if (!surface.loaded && !engine.graphics.optional_picture)
    ReportError(engine, "%s", "ロードエラー(JPEGMODE)", {retry});
}

void LoadOptionalImageTag(Engine& engine, ImageSurface& surface, const std::string& tag) {
  bool& optional = engine.graphics.optional_picture;
  optional = true;
  try {
    LoadImageTag(engine, surface, tag);
  } catch (...) {
    optional = false;
    throw;
  }
  optional = false;
}

TextPictureLayout LayOutTextPicture(const Engine& engine, const ParsedTag& p) {
  TextPictureLayout layout;
  layout.text = p.text_from_variable ? engine.vars.Str(p.text_variable) : p.text;
  const TextWindow& window = engine.text;
  if (p.text_has_size) {
    layout.glyph_width = p.text_width;
    layout.glyph_height = p.text_height;
    // The pitch is added in 64 bits: both numbers come straight from the tag.
    layout.advance = static_cast<int32_t>(
        std::clamp<int64_t>(int64_t{p.text_pitch} + p.text_width, INT32_MIN, INT32_MAX));
    layout.decoration = p.text_decoration;
  } else if (window.sprite_font.width != -1) {
    layout.glyph_width = window.sprite_font.width;
    layout.glyph_height = window.sprite_font.height;
    layout.advance = window.sprite_font.advance_x;
  } else {
    layout.glyph_width = window.glyph_width;
    layout.glyph_height = window.glyph_height;
    layout.advance = window.advance_x;
  }
  const int64_t advance = layout.advance, glyph_w = layout.glyph_width;
  int64_t cell_w = static_cast<int64_t>(layout.text.size()) * advance / 2;
  if (advance < glyph_w) cell_w += glyph_w - advance;
  int64_t cell_h = layout.glyph_height;
  const ShadowOffset shadow = ShadowOffsetOf(window);  // the shadow's reach widens the cell
  cell_w += shadow.dx;
  cell_h += shadow.dy;

  if (layout.decoration == 2) {
    cell_w += 2;
    cell_h += 2;
  }
  layout.cell_width = cell_w;
  layout.cell_height = cell_h;
  return layout;
}

void PrepareTextPicture(Engine& engine, ImageSurface& surface, const ParsedTag& p) {
  surface.is_text = true;
  surface.mode = kModeAlpha;
  surface.cells = static_cast<int32_t>(p.text_colors.size());
  surface.cell = 0;
  surface.interval = kNoAnimation;
  surface.loop_mode = 3;
  surface.anim_start = engine.platform.Ticks();
  const TextPictureLayout layout = LayOutTextPicture(engine, p);
  const int64_t cell_w = layout.cell_width, cell_h = layout.cell_height;
  const int64_t total_w = cell_w * 2 * surface.cells;
  if (cell_w <= 0 || cell_h <= 0 || total_w > kMaxPictureSide || cell_h > kMaxPictureSide) return;
  const std::string keep_tag = surface.tag;
  if (!surface.CreateBlank(static_cast<int32_t>(total_w), static_cast<int32_t>(cell_h), 24)) return;
  surface.is_text = true;
  // Until glyphs are drawn every mask column is clear (255): the picture adds nothing.
  for (int k = 0; k < surface.cells; ++k)
    surface.Fill(
        PixelRect{static_cast<int>(k * 2 * cell_w + cell_w), 0,
                  static_cast<int>(k * 2 * cell_w + 2 * cell_w - 1), static_cast<int>(cell_h - 1)},
        0xFFFFFF);
  surface.tag = keep_tag;
  if (engine.graphics.hooks.render_text_picture)
    engine.graphics.hooks.render_text_picture(engine, surface, p, layout);
}

}  // namespace orivane
