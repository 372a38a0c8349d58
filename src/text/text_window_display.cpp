#include "text/text_window_display.h"

#include <algorithm>
#include <cstdint>

#include "engine.h"
#include "graphics/compose.h"
#include "graphics/effects.h"
#include "platform/platform.h"
#include "text/click_wait.h"
#include "text/text_window_paint.h"

namespace orivane {
namespace {

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

void DrawIntoScene(Engine& engine, PixelRect area) {
  PaintTextWindow(engine.text, engine.graphics.mul, PixelView(engine.graphics.scene), area);
}

bool PaintedHook(Engine& engine) {
  return TextWindowPainted(engine);
}

void EraseHook(Engine& engine, bool for_ld) {
  EraseTextWindowBeforePictureChange(engine, for_ld);
}

ImageSurface* WindowPictureHook(Engine& engine) { return &engine.text.frame_image; }

// Shows or hides the `windowchip` sprites; true when one of them changed.
// Unused slots and numbers outside the table are passed over.
bool SetWindowChipsVisible(Engine& engine, bool visible) {
  bool changed = false;
  for (int32_t n : engine.text.window_chips) {
    if (n < 0 || n >= kSpriteCount) continue;
    SpriteSlot& slot = engine.graphics.sprites[n];
    if (slot.tag.empty() || slot.visible == visible) continue;
    slot.visible = visible;
    DirtySprite(engine, slot);
    changed = true;
  }
  return changed;
}

// Composes the dirty rectangle and shows it with the text-window effect.
void ShowWithWindowEffect(Engine& engine) {
  const EffectSlot& fx = engine.graphics.effects.window_effect;
  const PixelRect dirty = engine.graphics.dirty.Rect();
  // Effect 0 shows nothing now, and so composes nothing either.
  if (fx.type != 0) ComposeScene(engine, &dirty);
  RunTransition(engine, fx.type, fx.duration, fx.mask, &dirty);
}

// The window leaves the screen model: its chips are hidden, it is no longer
// shown and its area is dirty. True when anything changed.
bool TakeWindowOff(Engine& engine) {
  bool changed = SetWindowChipsVisible(engine, false);
  if (engine.text.shown) {
    engine.text.shown = false;
    DirtyTextWindow(engine);
    changed = true;
  }
  return changed;
}

}  // namespace

void InstallTextWindowHooks(Engine& engine) {
  ComposeHooks& hooks = engine.graphics.hooks;
  hooks.draw_text_window = DrawIntoScene;
  hooks.text_window_showing = PaintedHook;
  hooks.erase_text_window = EraseHook;
  hooks.text_window_picture = WindowPictureHook;
}

bool TextWindowPainted(const Engine& engine) {
  return engine.text.shown && !engine.text.hidden;
}

void DirtyTextWindow(Engine& engine) {
  const TextWindow& w = engine.text;
  const int32_t sw = engine.screen_width, sh = engine.screen_height;
  DirtyRect& dirty = engine.graphics.dirty;
  dirty.Add(w.frame_left, w.frame_top, w.frame_right, w.frame_bottom, sw, sh);
  // A wait's cursor comes and goes with the window, wherever it stands.
  if (engine.text_out.cursor_showing) DirtyWaitCursor(engine);
  const PixelRect& u = w.layer.used;
  if (u.empty()) return;
  // A shadow may reach past the glyphs, and glyphs past the frame.
  const ShadowOffset shadow = ShadowOffsetOf(w);
  const int64_t dx = shadow.dx, dy = shadow.dy;
  dirty.Add(Clamp32(std::min<int64_t>(u.left, u.left + dx)),
            Clamp32(std::min<int64_t>(u.top, u.top + dy)),
            Clamp32(std::max<int64_t>(u.right, u.right + dx)),
            Clamp32(std::max<int64_t>(u.bottom, u.bottom + dy)), sw, sh);
}

void ShowTextWindow(Engine& engine) {
  TextWindow& w = engine.text;
  bool changed = SetWindowChipsVisible(engine, true);
  if (!w.shown) {
    w.shown = true;
    DirtyTextWindow(engine);
    changed = true;
  }
  if (changed) ShowWithWindowEffect(engine);
}

void RemoveTextWindow(Engine& engine) {
  if (TakeWindowOff(engine)) ShowWithWindowEffect(engine);
}

void RepaintTextWindow(Engine& engine) {
  if (!engine.text.shown) return;
  DirtyTextWindow(engine);
  ShowDirtyNow(engine);
}

void StartNewPageOnScreen(Engine& engine) {
  engine.back_log.Commit();
  TextWindow& w = engine.text;
  if (w.shown) DirtyTextWindow(engine);
  StartNewTextPage(w);
  if (w.shown) ShowTextProgress(engine);
}

void ShowTextProgress(Engine& engine) {
  ReadFlags& rf = engine.read_flags;
  if (rf.skip_mode) {
    const uint32_t now = engine.platform.Ticks();
    // Within a frame of the last showing, nothing. (Counted forward from now,
    // so that a moment from long ago never looks like one still to come.)
    const uint32_t frame_left = rf.skip_show_due - now;
    if (frame_left != 0 && frame_left <= kSkipFrameMs) return;
    rf.skip_show_due = now + kSkipFrameMs;
  }
  ShowDirtyNow(engine);
}

void EraseTextWindowBeforePictureChange(Engine& engine, bool exempt_under_mode2) {
  const TextWindow& w = engine.text;
  if (!w.shown || w.erase_on_effect == 0) return;
  if (exempt_under_mode2 && w.erase_on_effect == 2) return;
  TakeWindowOff(engine);
  ShowDirtyNow(engine);
}

}  // namespace orivane
