#include "text/text_window_commands.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/effects.h"
#include "graphics/image_tag.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "text/text_window.h"
#include "text/text_window_display.h"

namespace orivane {
namespace {

// ---- argument helpers ---------------------------------------------------------

bool AtStatementEnd(Engine& engine) {
  SkipBlanks(engine);
  const uint8_t c = engine.script.Cur();
  return c == '\n' || c == ':' || c == ';' || c == 0;
}

bool StartsWord(uint8_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// Sizes and pitches come from the script unchecked; their sums wrap as 32-bit
// integers do instead of overflowing.
int32_t WrapAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A literal "#rrggbb" at the script position (the caller has seen the '#').
uint32_t ReadLiteralColor(Engine& engine) {
  const uint32_t rgb = ReadColor(engine);
  engine.script.Advance(7);
  return rgb;
}

// The window's look: a literal colour, or a picture tag given as a string.
struct WindowLook {
  bool picture = false;
  uint32_t color = 0;
  std::string tag;
};

WindowLook ReadWindowLook(Engine& engine) {
  WindowLook look;
  SkipBlanks(engine);
  if (engine.script.Cur() == '#') {
    look.color = ReadLiteralColor(engine);
  } else {
    look.picture = true;
    look.tag = ReadString(engine);
  }
  return look;
}

// Sets the window's look; a picture keeps the frame where it is.
void ApplyWindowLook(Engine& engine, const WindowLook& look) {
  TextWindow& w = engine.text;
  if (look.picture) {
    w.frame_color = kFramePicture;
    LoadImageTag(engine, w.frame_image, look.tag);
  } else {
    w.frame_color = static_cast<int32_t>(look.color);
    w.frame_image.Release();
  }
}

// ---- geometry and look ------------------------------------------------------------

struct WindowGeometry {
  int32_t text_left, text_top, columns, rows, glyph_width, glyph_height, pitch_x, pitch_y, speed,
      bold, shadow;
  WindowLook look;
  int32_t frame_left, frame_top, frame_right = 0, frame_bottom = 0;
};

WindowGeometry ReadWindowGeometry(Engine& engine) {
  WindowGeometry g;
  int32_t* const numbers[] = {&g.text_left,   &g.text_top,     &g.columns, &g.rows,
                              &g.glyph_width, &g.glyph_height, &g.pitch_x, &g.pitch_y,
                              &g.speed,       &g.bold,         &g.shadow};
  bool first = true;
  for (int32_t* n : numbers) {
    if (!first) ExpectComma(engine);
    first = false;
    *n = ReadNumber(engine);
  }
  ExpectComma(engine);
  g.look = ReadWindowLook(engine);
  ExpectComma(engine);
  g.frame_left = ReadNumber(engine);
  ExpectComma(engine);
  g.frame_top = ReadNumber(engine);
  if (!g.look.picture) {
    ExpectComma(engine);
    g.frame_right = ReadNumber(engine);
    ExpectComma(engine);
    g.frame_bottom = ReadNumber(engine);
  }
  return g;
}

// `setwindow` and `setwindow3`. The two differ only in the back-log page being
// collected, which `setwindow` discards.
void SetWindow(Engine& engine, bool keep_collected_page) {
  const WindowGeometry g = ReadWindowGeometry(engine);
  if (g.columns < 0 || g.rows < 0)
    ReportError(engine, "setwindowの縦横文字数指定が間違っています。", "エラー");
  TextWindow& w = engine.text;
  if (w.shown) RemoveTextWindow(engine);
  StartNewTextPage(w);
  if (!keep_collected_page) engine.back_log.DropCollected();
  w.text_left = g.text_left;
  w.text_top = g.text_top;
  w.columns = g.columns;
  w.rows = g.rows;
  w.glyph_width = g.glyph_width;
  w.glyph_height = g.glyph_height;
  w.advance_x = WrapAdd(g.glyph_width, g.pitch_x);
  w.advance_y = WrapAdd(g.glyph_height, g.pitch_y);
  w.speed = g.speed;
  w.bold = g.bold;
  w.shadow = g.shadow;
  w.frame_left = g.frame_left;
  w.frame_top = g.frame_top;
  ApplyWindowLook(engine, g.look);
  if (g.look.picture) {
    // The frame is exactly the picture's size.
    w.frame_right = Clamp32(int64_t{g.frame_left} + w.frame_image.CellWidth() - 1);
    w.frame_bottom = Clamp32(int64_t{g.frame_top} + w.frame_image.height - 1);
  } else {
    w.frame_right = g.frame_right;
    w.frame_bottom = g.frame_bottom;
  }
  ComposeScene(engine, nullptr);
  RunTransition(engine, 1, 0, {}, nullptr);
}

void CmdSetwindow(Engine& engine) { SetWindow(engine, false); }
void CmdSetwindow3(Engine& engine) { SetWindow(engine, true); }

void CmdSetwindow2(Engine& engine) {
  ApplyWindowLook(engine, ReadWindowLook(engine));
  RepaintTextWindow(engine);
}

// ---- fonts -------------------------------------------------------------------

void CmdFont(Engine& engine) {
  engine.text.pending_font_face = ReadString(engine);
}

void CmdDefaultfont(Engine& engine) {
  engine.text.default_font_face = ReadString(engine);
}

void CmdSpfont(Engine& engine) {
  TextWindow& w = engine.text;
  SkipBlanks(engine);
  if (StartsWord(engine.script.Cur())) {
    if (ReadToken(engine) != "clear")
      ReportError(engine, "spfontの引数は、文字列もしくはclearです。", "エラー");
    w.sprite_font = SpriteFont{};
    return;
  }
  SpriteFont f;
  f.face = ReadString(engine);
  if (!CommaFollows(engine)) {
    f.width = w.glyph_width;
    f.height = w.glyph_height;
    f.advance_x = w.advance_x;
    f.advance_y = w.advance_y;
    f.bold = w.bold;
    f.shadow = w.shadow;
  } else {
    int32_t v[6];
    for (int32_t& n : v) {
      ExpectComma(engine);
      n = ReadNumber(engine);
    }
    f.width = v[0];
    f.height = v[1];
    f.advance_x = WrapAdd(v[0], v[2]);
    f.advance_y = WrapAdd(v[1], v[3]);
    f.bold = v[4];
    f.shadow = v[5];
  }
  w.sprite_font = std::move(f);
}

void CmdRubyon(Engine& engine) {
  TextWindow& w = engine.text;
  w.ruby_on = true;
  w.ruby_font_face.clear();
  if (AtStatementEnd(engine)) {
    w.ruby_width = -1;
    w.ruby_height = -1;
    return;
  }
  w.ruby_width = ReadNumber(engine);
  ExpectComma(engine);
  w.ruby_height = ReadNumber(engine);
  if (CommaFollows(engine)) {
    ExpectComma(engine);
    w.ruby_font_face = ReadString(engine);
  }
}

void CmdRubyoff(Engine& engine) {
  engine.text.ruby_on = false;
}

void CmdTateyoko(Engine& engine) {
  TextWindow& w = engine.text;
  w.pending_vertical = ReadNumber(engine);
  if (w.column == 0 && w.line == 0) w.vertical = w.pending_vertical;
}

// ---- speed -------------------------------------------------------------------

void CmdTextspeed(Engine& engine) {
  engine.text.speed = ReadNumber(engine);
}

void CmdTextspeeddefault(Engine& engine) {
  engine.text.speed = MenuDefaultTextSpeed(engine);
}

void CmdDefaultspeed(Engine& engine) {
  auto& table = engine.text.speed_table;
  table[0] = ReadNumber(engine);
  ExpectComma(engine);
  table[1] = ReadNumber(engine);
  ExpectComma(engine);
  table[2] = ReadNumber(engine);
}

void CmdSettextspeed(Engine& engine) {
  engine.text.speed_min = ReadNumber(engine);
  ExpectComma(engine);
  engine.text.speed_max = ReadNumber(engine);
}

// ---- colours and shadow --------------------------------------------------------

void CmdSetcolor(Engine& engine) {
  const int32_t index = ReadNumber(engine);
  ExpectComma(engine);
  SkipBlanks(engine);
  if (engine.script.Cur() != '#')
    ReportError(engine,
                "カラー指定が間違っています。HTMLと同じ形式（例：#75fe1b）で指定してください。",
                "構文エラー");
  const uint32_t rgb = ReadLiteralColor(engine);
  if (index < 0 || index >= kPaletteSize)
    ReportError(engine, "setcolorの番号は0-255です", "エラー");
  engine.text.palette[index] = rgb;
}

void CmdShadedistance(Engine& engine) {
  TextWindow& w = engine.text;
  const int32_t dx = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t dy = ReadNumber(engine);
  w.shadow_offset_set = true;
  w.shadow_dx = dx;
  w.shadow_dy = dy;
}

// ---- cursor and line ends -------------------------------------------------------

void CmdLocate(Engine& engine) {
  const int32_t column = ReadNumber(engine);
  ExpectComma(engine);
  const int32_t line = ReadNumber(engine);
  engine.text.column = column;
  engine.text.line = line;
}

void CmdIndent(Engine& engine) {
  engine.text.indent = ReadNumber(engine);
}

void CmdClickstr(Engine& engine) {
  std::string chars = ReadString(engine);
  ExpectComma(engine);
  const int32_t n = ReadNumber(engine);
  engine.text.click_chars = std::move(chars);
  engine.text.click_lines_from_bottom = n;
}

void CmdLinepage(Engine& engine) {
  engine.text.line_page = true;
}

void CmdLinepage2(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  engine.text.line_page2 = true;
  engine.text.click_lines_from_bottom = n;
}

void CmdZenkakko(Engine& engine) {
  engine.text.bracket_conversion = true;
}

// ---- showing and hiding --------------------------------------------------------

void CmdTexton(Engine& engine) {
  ShowTextWindow(engine);
}

void CmdTextoff(Engine& engine) {
  RemoveTextWindow(engine);
}

void CmdTexthide(Engine& engine) {
  engine.text.hidden = true;
  RepaintTextWindow(engine);
}

void CmdTextshow(Engine& engine) {
  engine.text.hidden = false;
  RepaintTextWindow(engine);
}

void CmdTextmode(Engine& engine) {
  const int32_t mode = ReadNumber(engine);
  if (engine.text.shown) RemoveTextWindow(engine);
  engine.text.text_mode = mode;
}

void CmdErasetextwindow(Engine& engine) {
  engine.text.erase_on_effect = ReadNumber(engine);
}

void CmdWindowchip(Engine& engine) {
  const int32_t n = ReadNumber(engine);
  std::vector<int32_t>& chips = engine.text.window_chips;
  if (chips.size() >= kMaxWindowChips || std::find(chips.begin(), chips.end(), n) != chips.end())
    return;
  chips.push_back(n);
}

// `tal` letter, opacity [, effect]: the standing picture l, c or r is drawn
// with this opacity (0 clear … 255 solid) from now on, until a new picture is
// loaded into its place.
void CmdTal(Engine& engine) {
  EraseTextWindowBeforePictureChange(engine, true);
  SkipBlanks(engine);
  std::string letter = StartsWord(engine.script.Cur()) ? ReadToken(engine) : ReadString(engine);
  ExpectComma(engine);
  const int32_t opacity = ReadNumber(engine);
  int index = -1;
  if (letter == "l" || letter == "L") index = kHumanLeft;
  if (letter == "c" || letter == "C") index = kHumanCentre;
  if (letter == "r" || letter == "R") index = kHumanRight;
  if (index >= 0) {
    StandingPicture& p = engine.graphics.humans[index];
    if (!p.tag.empty()) {
      p.surface.opacity = std::clamp(opacity, 0, 255);
      DirtyStandingPicture(engine, p);
    }
  }
  if (CommaFollows(engine)) {
    ExpectComma(engine);
    ReadEffectArgument(engine);
  }
}

}  // namespace

void RegisterTextWindowCommands(CommandTable& table) {
  table.Register("setwindow", CmdSetwindow);
  table.Register("setwindow2", CmdSetwindow2);
  table.Register("setwindow3", CmdSetwindow3);
  table.Register("font", CmdFont);
  table.Register("setfont", CmdFont);
  table.Register("defaultfont", CmdDefaultfont);
  table.Register("spfont", CmdSpfont);
  table.Register("rubyon", CmdRubyon);
  table.Register("rubyoff", CmdRubyoff);
  table.Register("tateyoko", CmdTateyoko);
  table.Register("textspeed", CmdTextspeed);
  table.Register("textspeeddefault", CmdTextspeeddefault);
  table.Register("defaultspeed", CmdDefaultspeed);
  table.Register("settextspeed", CmdSettextspeed);
  table.Register("setcolor", CmdSetcolor);
  table.Register("shadedistance", CmdShadedistance);
  table.Register("locate", CmdLocate);
  table.Register("indent", CmdIndent);
  table.Register("clickstr", CmdClickstr);
  table.Register("linepage", CmdLinepage);
  table.Register("linepage2", CmdLinepage2);
  table.Register("zenkakko", CmdZenkakko);
  table.Register("texton", CmdTexton);
  table.Register("textoff", CmdTextoff);
  table.Register("texthide", CmdTexthide);
  table.Register("textshow", CmdTextshow);
  table.Register("textmode", CmdTextmode);
  table.Register("erasetextwindow", CmdErasetextwindow);
  table.Register("windowchip", CmdWindowchip);
  table.Register("tal", CmdTal);
}

}  // namespace orivane
