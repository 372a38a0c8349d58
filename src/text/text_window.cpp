#include "text/text_window.h"

#include <algorithm>
#include <utility>

#include "engine.h"

namespace orivane {

void StartTextWindow(Engine& engine) {
  TextWindow& w = engine.text;
  w.frame_right = engine.screen_width;
  w.frame_bottom = engine.screen_height;
  w.layer.Resize(engine.screen_width, engine.screen_height);
}

void ResetTextWindowForGame(Engine& engine) {
  TextWindow& w = engine.text;
  // The graphics reset blackens the screen; the window is not on it any more.
  w.shown = false;
  w.hidden = false;
  StartNewTextPage(w);
}

void StartNewTextPage(TextWindow& window) {
  window.column = 0;
  window.line = 0;
  window.layer.Clear();
  window.font_face = window.pending_font_face;
}

TextWindow CopyPageSettings(TextWindow& window) {
  // The big members step aside while the rest is copied.
  TextLayer layer = std::exchange(window.layer, TextLayer{});
  ImageSurface frame = std::exchange(window.frame_image, ImageSurface{});
  TextWindow copy = window;
  window.layer = std::move(layer);
  window.frame_image = std::move(frame);
  return copy;
}

int32_t TextSpeedInEffect(const Engine& engine) {
  const TextWindow& w = engine.text;
  if (w.speed != kSpeedFromMenu) return w.speed;
  const int choice = std::clamp(engine.shell.settings.text_speed, 0, kSpeedChoices - 1);
  return w.speed_table[choice];
}

int32_t MenuDefaultTextSpeed(const Engine& engine) {
  return engine.shell.text_speed_item ? engine.text.speed_table[0] : kSpeedFromMenu;
}

void TakeMenuFontFace(Engine& engine, const std::string& face_sjis) {
  engine.text.pending_font_face = face_sjis;
}

void TakeMenuDefaultFontFace(Engine& engine) {
  engine.text.pending_font_face = engine.text.default_font_face;
}

void TakeDefaultFontFaceAtGame(Engine& engine) {
  TextWindow& w = engine.text;
  w.pending_font_face = w.default_font_face;
  w.font_face = w.default_font_face;
}

}  // namespace orivane
