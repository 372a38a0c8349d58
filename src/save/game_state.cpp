#include "save/game_state.h"

#include <algorithm>
#include <string>

#include "engine.h"
#include "sound/sound_lifecycle.h"
#include "text/text_window.h"
#include "util/save_stream.h"

namespace orivane {
namespace {

// The text window's fields 2, 5, 14 and the ruby of field 16 are the
// window's; the cursors (fields 3 and 6) are text output's.
void WriteCursorNames(const Engine& engine, SaveWriter& out) {
  for (const WaitCursor& c : engine.text_out.cursors)
    out.Str(c.picture.tag.rfind("orivane:", 0) == 0 ? std::string() : c.picture.tag);
}

void WriteWindowGeometry(const TextWindow& w, SaveWriter& out) {
  for (int32_t v : {w.text_left, w.text_top, w.columns, w.rows, w.glyph_width, w.glyph_height, w.advance_x,
                    w.advance_y, w.frame_color, w.speed, w.frame_left, w.frame_top, w.frame_right, w.frame_bottom})
    out.Int(v);
  out.Str(w.frame_color == kFramePicture ? w.frame_image.tag : std::string());
}

void ReadWindowGeometry(TextWindow& w, SaveReader& in) {
  for (int32_t* v : {&w.text_left, &w.text_top, &w.columns, &w.rows, &w.glyph_width, &w.glyph_height,
                     &w.advance_x, &w.advance_y, &w.frame_color, &w.speed, &w.frame_left, &w.frame_top,
                     &w.frame_right, &w.frame_bottom})
    *v = in.Int();
  w.frame_image.Reset();
  w.frame_image.tag = in.Str();
  // Negative grids cannot come from `setwindow`; a damaged file must not
  // make one either.
  w.columns = std::max(0, w.columns);
  w.rows = std::max(0, w.rows);
}

// Field 9 stores text-page sprites ("bklg") without their tag: their text is
// not kept, so they come back empty.
std::string SpriteTagForSave(const SpriteSlot& s) { return s.tag == "bklg" ? std::string() : s.tag; }

void WriteVariables(const Engine& engine, SaveWriter& out) {
  const int32_t border = std::clamp(engine.global_border, 0, kVariableCount);
  for (int32_t n = 0; n < border; ++n) {
    out.Int(engine.vars.Num(n));
    out.Str(engine.vars.Str(n));
  }
}

void ReadVariables(Engine& engine, SaveReader& in) {
  const int32_t border = std::clamp(engine.global_border, 0, kVariableCount);
  for (int32_t n = 0; n < border; ++n) {
    engine.vars.SetNum(n, in.Int());
    engine.vars.SetStr(n, in.Str());
  }
}

// The arrays are those the *define block declared; a file holds their
// elements in declaration order, without their shapes.
void WriteArrays(const Engine& engine, SaveWriter& out) {
  for (const ArrayRecord& a : engine.vars.arrays()) out.Ints(a.data.data(), a.data.size());
}

void ReadArrays(Engine& engine, SaveReader& in) {
  for (ArrayRecord& a : engine.vars.arrays()) in.Ints(a.data.data(), a.data.size());
}

void WriteGosubStack(const Engine& engine, SaveWriter& out) {
  const GosubStack& g = engine.interp.gosub;
  out.Int(g.depth());
  for (int i = 0; i < g.depth(); ++i) out.Int(g.At(i));
}

void ReadGosubStack(Engine& engine, SaveReader& in) {
  GosubStack& g = engine.interp.gosub;
  g.Clear();
  const int32_t depth = in.Count(GosubStack::kCapacity);
  // A return point past the script (a damaged file) returns to its end.
  for (int32_t i = 0; i < depth; ++i) g.Push(std::clamp(in.Int(), 0, engine.script.length));
}

}  // namespace

void WriteGameState(Engine& engine, SaveWriter& out) {
  const TextWindow& w = engine.text;
  const Graphics& g = engine.graphics;

  // 1, 2: version, text style, the back-log page's length, rmode, colour.
  out.Int(kSaveFormatVersion);
  out.Int(w.bold);
  out.Int(w.shadow);
  out.Int(static_cast<int32_t>(engine.back_log.Collected().size()));
  out.Int(engine.text_out.right_click.enabled ? 1 : 0);
  out.Int(static_cast<int32_t>(w.text_color >> 16 & 0xFF));
  out.Int(static_cast<int32_t>(w.text_color & 0xFF));
  out.Int(static_cast<int32_t>(w.text_color >> 8 & 0xFF));
  // 3, 4: the cursors' pictures, the window effect.
  WriteCursorNames(engine, out);
  out.Int(g.effects.window_effect.type);
  out.Int(g.effects.window_effect.duration);
  out.Str(g.effects.window_effect.mask);
  // 5, 6: the window, the cursors' places.
  WriteWindowGeometry(w, out);
  const auto& cursors = engine.text_out.cursors;
  out.Int(cursors[0].absolute ? 0 : 1);
  out.Int(cursors[1].absolute ? 0 : 1);
  out.Int(cursors[0].x);
  out.Int(cursors[1].x);
  out.Int(cursors[0].y);
  out.Int(cursors[1].y);
  // 7, 8: the background and the standing pictures.
  out.Str(g.background_name);
  for (const StandingPicture& h : g.humans) out.Str(h.tag);
  for (const StandingPicture& h : g.humans) out.Int(h.x);
  for (const StandingPicture& h : g.humans) out.Int(h.y);
  for (const StandingPicture& h : g.humans) out.Int(h.surface.cell);
  for (const StandingPicture& h : g.humans) out.Int(h.surface.opacity);
  // 9: the sprites.
  for (const SpriteSlot& s : g.sprites) {
    out.Str(SpriteTagForSave(s));
    out.Int(s.x);
    out.Int(s.y);
    out.Int(s.visible ? 1 : 0);
    out.Int(s.surface.cell);
    out.Int(s.surface.opacity);
  }
  // 10, 11: the local variables, the gosub stack.
  WriteVariables(engine, out);
  WriteGosubStack(engine, out);
  // 12: the screen filters: monochrome (on, its tint's red, green, blue) and negative.
  const ScreenFilters& f = g.filters;
  for (int32_t v : {f.monochrome ? 1 : 0, int32_t{f.tint_red}, int32_t{f.tint_green}, int32_t{f.tint_blue}, f.negative})
    out.Int(v);
  // 13: the players of sound.
  WriteSoundState(engine, out);
  // 14, 15.
  out.Int(w.erase_on_effect == 0 ? 0 : 1);
  out.Int(w.text_mode);
  for (const Bar& b : g.bars)
    for (int32_t v : {b.x, b.y, b.width, b.height, b.value, b.maximum, static_cast<int32_t>(b.color)}) out.Int(v);
  for (const NumberDisplay& n : g.numbers)
    for (int32_t v : {n.x, n.y, n.char_width, n.char_height, n.value, static_cast<int32_t>(n.color)}) out.Int(v);
  // 16.
  out.Int(engine.shell.settings.text_speed);
  out.Int(g.all_sprites_hidden ? 1 : 0);
  out.Int(engine.back_log.on ? 1 : 0);
  out.Str(engine.buttons.picture.tag);
  WriteArrays(engine, out);
  out.Int(g.effects.speed_mode);
  out.Int(w.erase_on_effect == 2 ? 1 : 0);
  WriteIntroLoopNames(engine, out);
  out.Int(w.ruby_on ? 1 : 0);
  out.Int(w.ruby_width);
  out.Int(w.ruby_height);
  out.Str(w.ruby_font_face);
}

void ReadGameState(Engine& engine, SaveReader& in) {
  TextWindow& w = engine.text;
  Graphics& g = engine.graphics;

  const int32_t version = in.Int();
  w.bold = in.Int();
  w.shadow = in.Int();
  in.Int();  // the length of the back-log page collected then: the pages come later
  engine.text_out.right_click.enabled = in.Int() != 0;
  const uint32_t r = static_cast<uint32_t>(in.Int()) & 0xFF, b = static_cast<uint32_t>(in.Int()) & 0xFF,
                 gr = static_cast<uint32_t>(in.Int()) & 0xFF;
  w.text_color = r << 16 | gr << 8 | b;
  for (WaitCursor& c : engine.text_out.cursors) {
    c.picture.Reset();
    c.picture.tag = in.Str();
  }
  g.effects.window_effect.type = in.Int();
  g.effects.window_effect.duration = in.Int();
  g.effects.window_effect.mask = in.Str();
  ReadWindowGeometry(w, in);
  auto& cursors = engine.text_out.cursors;
  cursors[0].absolute = in.Int() == 0;
  cursors[1].absolute = in.Int() == 0;
  cursors[0].x = in.Int();
  cursors[1].x = in.Int();
  cursors[0].y = in.Int();
  cursors[1].y = in.Int();

  g.background_name = in.Str();
  for (StandingPicture& h : g.humans) {
    h.surface.Reset();
    h.tag = in.Str();
  }
  for (StandingPicture& h : g.humans) h.x = in.Int();
  for (StandingPicture& h : g.humans) h.y = in.Int();
  for (StandingPicture& h : g.humans) h.surface.cell = in.Int();
  for (StandingPicture& h : g.humans) h.surface.opacity = in.Int();
  for (SpriteSlot& s : g.sprites) {
    s.surface.Reset();
    s.tag = in.Str();
    s.x = in.Int();
    s.y = in.Int();
    s.visible = in.Int() != 0;
    s.surface.cell = in.Int();
    s.surface.opacity = in.Int();
  }
  ReadVariables(engine, in);
  ReadGosubStack(engine, in);
  ScreenFilters& f = g.filters;
  f.monochrome = in.Int() != 0;
  f.tint_red = static_cast<uint8_t>(in.Int());
  f.tint_green = static_cast<uint8_t>(in.Int());
  f.tint_blue = static_cast<uint8_t>(in.Int());
  f.negative = in.Int();
  ReadSoundState(engine, in);
  const int32_t erase = in.Int();
  w.text_mode = in.Int();
  if (version > 0) {
    for (Bar& bar : g.bars) {
      for (int32_t* v : {&bar.x, &bar.y, &bar.width, &bar.height, &bar.value, &bar.maximum}) *v = in.Int();
      bar.color = static_cast<uint32_t>(in.Int()) & 0xFFFFFF;
    }
    for (NumberDisplay& n : g.numbers) {
      n = NumberDisplay{};
      for (int32_t* v : {&n.x, &n.y, &n.char_width, &n.char_height, &n.value}) *v = in.Int();
      n.color = static_cast<uint32_t>(in.Int()) & 0xFFFFFF;
    }
  }
  engine.shell.settings.text_speed = std::clamp(in.Int(), 0, kSpeedChoices - 1);
  g.all_sprites_hidden = in.Int() != 0;
  engine.back_log.on = in.Int() != 0;
  engine.buttons.picture.Reset();
  engine.buttons.picture.tag = in.Str();
  ReadArrays(engine, in);
  g.effects.speed_mode = in.Int();
  const bool spares_ld = in.Int() != 0;
  w.erase_on_effect = erase == 0 ? 0 : spares_ld ? 2 : 1;
  ReadIntroLoopNames(engine, in);
  w.ruby_on = in.Int() != 0;
  w.ruby_width = in.Int();
  w.ruby_height = in.Int();
  w.ruby_font_face = in.Str();
}

}  // namespace orivane
