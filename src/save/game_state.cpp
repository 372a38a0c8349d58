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

// The arrays are those the *define block declared; a file holds their
// elements in declaration order, without their shapes.
void WriteArrays(const Engine& engine, SaveWriter& out) {
  for (const ArrayRecord& a : engine.vars.arrays()) out.Ints(a.data.data(), a.data.size());
}

void WriteGosubStack(const Engine& engine, SaveWriter& out) {
  const GosubStack& g = engine.interp.gosub;
  out.Int(g.depth());
  for (int i = 0; i < g.depth(); ++i) out.Int(g.At(i));
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

void ReadGameState(const Engine& engine, SaveReader& in, SavedGame& saved) {
  saved.version = in.Int();
  saved.bold = in.Int();
  saved.shadow = in.Int();
  in.Int();  // the length of the back-log page collected then: the pages come later
  saved.right_click_enabled = in.Int() != 0;
  const uint32_t r = static_cast<uint32_t>(in.Int()) & 0xFF, b = static_cast<uint32_t>(in.Int()) & 0xFF,
                 gr = static_cast<uint32_t>(in.Int()) & 0xFF;
  saved.text_color = r << 16 | gr << 8 | b;
  for (std::string& tag : saved.cursor_tags) tag = in.Str();
  saved.window_effect_type = in.Int();
  saved.window_effect_duration = in.Int();
  saved.window_effect_mask = in.Str();
  for (int32_t& v : saved.window) v = in.Int();
  saved.window_picture = in.Str();
  for (bool& absolute : saved.cursor_absolute) absolute = in.Int() == 0;
  for (int32_t& x : saved.cursor_x) x = in.Int();
  for (int32_t& y : saved.cursor_y) y = in.Int();

  saved.background_name = in.Str();
  for (SavedPicture& h : saved.humans) h.tag = in.Str();
  for (SavedPicture& h : saved.humans) h.x = in.Int();
  for (SavedPicture& h : saved.humans) h.y = in.Int();
  for (SavedPicture& h : saved.humans) h.cell = in.Int();
  for (SavedPicture& h : saved.humans) h.opacity = in.Int();
  saved.sprites.assign(kSpriteCount, SavedPicture{});
  for (SavedPicture& s : saved.sprites) {
    s.tag = in.Str();
    s.x = in.Int();
    s.y = in.Int();
    s.visible = in.Int() != 0;
    s.cell = in.Int();
    s.opacity = in.Int();
  }
  const int32_t border = std::clamp(engine.global_border, 0, kVariableCount);
  saved.numbers.assign(static_cast<size_t>(border), 0);
  saved.strings.assign(static_cast<size_t>(border), std::string());
  for (int32_t n = 0; n < border; ++n) {
    saved.numbers[n] = in.Int();
    saved.strings[n] = in.Str();
  }
  // A return point is a byte offset of the script this file was saved with;
  // one past the script is a damaged file (or one of another script).
  saved.gosub.assign(static_cast<size_t>(in.Count(GosubStack::kCapacity)), 0);
  for (int32_t& at : saved.gosub) at = in.Bounded(0, engine.script.length);
  saved.monochrome = in.Int() != 0;
  for (uint8_t& c : saved.tint) c = static_cast<uint8_t>(in.Int());
  saved.negative = in.Int();
  ReadSoundState(in, saved.sound);
  saved.erase_on_effect = in.Int() == 0 ? 0 : 1;
  saved.text_mode = in.Int();
  if (saved.version > 0) {
    saved.bars.emplace();
    for (Bar& bar : *saved.bars) {
      for (int32_t* v : {&bar.x, &bar.y, &bar.width, &bar.height, &bar.value, &bar.maximum}) *v = in.Int();
      bar.color = static_cast<uint32_t>(in.Int()) & 0xFFFFFF;
    }
    saved.number_displays.emplace();
    for (NumberDisplay& n : *saved.number_displays) {
      for (int32_t* v : {&n.x, &n.y, &n.char_width, &n.char_height, &n.value}) *v = in.Int();
      n.color = static_cast<uint32_t>(in.Int()) & 0xFFFFFF;
    }
  }
  saved.text_speed = std::clamp(in.Int(), 0, kSpeedChoices - 1);
  saved.all_sprites_hidden = in.Int() != 0;
  saved.back_log_on = in.Int() != 0;
  saved.button_picture = in.Str();
  // The arrays are those the *define block declared; the file holds their
  // elements in declaration order, without their shapes.
  saved.arrays.clear();
  for (const ArrayRecord& a : engine.vars.arrays()) {
    std::vector<int32_t>& elements = saved.arrays.emplace_back(a.data.size());
    in.Ints(elements.data(), elements.size());
  }
  saved.effect_speed_mode = in.Int();
  if (in.Int() != 0 && saved.erase_on_effect != 0) saved.erase_on_effect = 2;
  ReadIntroLoopNames(in, saved.sound);
  saved.ruby_on = in.Int() != 0;
  saved.ruby_width = in.Int();
  saved.ruby_height = in.Int();
  saved.ruby_font_face = in.Str();
}

void TakeSavedGameState(Engine& engine, SavedGame&& saved) {
  TextWindow& w = engine.text;
  Graphics& g = engine.graphics;

  w.bold = saved.bold;
  w.shadow = saved.shadow;
  engine.text_out.right_click.enabled = saved.right_click_enabled;
  w.text_color = saved.text_color;
  auto& cursors = engine.text_out.cursors;
  for (size_t i = 0; i < cursors.size(); ++i) {
    cursors[i].picture.Reset();
    cursors[i].picture.tag = std::move(saved.cursor_tags[i]);
    cursors[i].absolute = saved.cursor_absolute[i];
    cursors[i].x = saved.cursor_x[i];
    cursors[i].y = saved.cursor_y[i];
  }
  g.effects.window_effect.type = saved.window_effect_type;
  g.effects.window_effect.duration = saved.window_effect_duration;
  g.effects.window_effect.mask = std::move(saved.window_effect_mask);
  int32_t* const geometry[] = {&w.text_left,  &w.text_top,    &w.columns,     &w.rows,       &w.glyph_width,
                               &w.glyph_height, &w.advance_x, &w.advance_y,   &w.frame_color, &w.speed,
                               &w.frame_left, &w.frame_top,   &w.frame_right, &w.frame_bottom};
  for (size_t i = 0; i < saved.window.size(); ++i) *geometry[i] = saved.window[i];
  // Negative grids cannot come from `setwindow`; a file must not make one either.
  w.columns = std::max(0, w.columns);
  w.rows = std::max(0, w.rows);
  w.frame_image.Reset();
  w.frame_image.tag = std::move(saved.window_picture);

  g.background_name = std::move(saved.background_name);
  for (size_t i = 0; i < g.humans.size(); ++i) {
    StandingPicture& h = g.humans[i];
    SavedPicture& from = saved.humans[i];
    h.surface.Reset();
    h.tag = std::move(from.tag);
    h.x = from.x;
    h.y = from.y;
    h.surface.cell = from.cell;
    h.surface.opacity = from.opacity;
  }
  for (size_t i = 0; i < g.sprites.size(); ++i) {
    SpriteSlot& s = g.sprites[i];
    SavedPicture& from = saved.sprites[i];
    s.surface.Reset();
    s.tag = std::move(from.tag);
    s.x = from.x;
    s.y = from.y;
    s.visible = from.visible;
    s.surface.cell = from.cell;
    s.surface.opacity = from.opacity;
  }
  for (size_t n = 0; n < saved.numbers.size(); ++n) {
    engine.vars.SetNum(static_cast<int32_t>(n), saved.numbers[n]);
    engine.vars.SetStr(static_cast<int32_t>(n), std::move(saved.strings[n]));
  }
  GosubStack& gosub = engine.interp.gosub;
  gosub.Clear();
  for (int32_t at : saved.gosub) gosub.Push(at);
  ScreenFilters& f = g.filters;
  f.monochrome = saved.monochrome;
  f.tint_red = saved.tint[0];
  f.tint_green = saved.tint[1];
  f.tint_blue = saved.tint[2];
  f.negative = saved.negative;
  TakeSavedSound(engine, saved.sound);
  w.erase_on_effect = saved.erase_on_effect;
  w.text_mode = saved.text_mode;
  if (saved.bars) g.bars = *saved.bars;
  if (saved.number_displays) g.numbers = *saved.number_displays;
  engine.shell.settings.text_speed = saved.text_speed;
  g.all_sprites_hidden = saved.all_sprites_hidden;
  engine.back_log.on = saved.back_log_on;
  engine.buttons.picture.Reset();
  engine.buttons.picture.tag = std::move(saved.button_picture);
  std::vector<ArrayRecord>& arrays = engine.vars.arrays();
  for (size_t i = 0; i < arrays.size() && i < saved.arrays.size(); ++i) arrays[i].data.swap(saved.arrays[i]);
  g.effects.speed_mode = saved.effect_speed_mode;
  w.ruby_on = saved.ruby_on;
  w.ruby_width = saved.ruby_width;
  w.ruby_height = saved.ruby_height;
  w.ruby_font_face = std::move(saved.ruby_font_face);
}

}  // namespace orivane
