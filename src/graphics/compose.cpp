#include "graphics/compose.h"

#include <algorithm>
#include <cstdlib>

#include "engine.h"
#include "graphics/bars.h"
#include "graphics/numbers.h"
#include "graphics/layers.h"
#include "graphics/screen_filters.h"
#include "graphics/sprite_draw.h"
#include "platform/platform.h"

namespace orivane {
namespace {

int32_t Clamp32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

bool CoversScreen(const ImageSurface& s, int64_t x, int64_t y, int w, int h) {
  return s.Drawable() && s.mode == kModeCopy && x <= 0 && y <= 0 && x + s.CellWidth() >= w &&
         y + s.height >= h;
}

bool HumansShown(const Graphics& g) {
  return !g.all_sprites_hidden || g.keep_humans_when_hidden;
}

// True when an opaque picture that will be drawn hides the whole screen, so
// the background need not be copied.
bool SceneCovered(const Engine& engine) {
  const Graphics& g = engine.graphics;
  const int w = engine.screen_width, h = engine.screen_height;
  if (!g.all_sprites_hidden) {
    for (int n = 0; n < kSpriteCount; ++n) {
      const SpriteSlot& s = g.sprites[n];
      if (g.quill_text_sprites && n < 10) continue;
      if (s.tag.empty() || !s.visible || s.tag[0] == '*') continue;
      if (s.surface.opacity == 255 && CoversScreen(s.surface, s.x, s.y, w, h)) return true;
    }
  }
  if (HumansShown(g)) {
    for (const StandingPicture& p : g.humans)
      if (!p.tag.empty() && CoversScreen(p.surface, p.x, p.y, w, h)) return true;
  }
  return false;
}

void DrawBackground(Engine& engine, PixelView scene, PixelRect area) {
  Graphics& g = engine.graphics;
  PixelView bg = g.background.View();
  if (!g.bgalia_on) {
    if (bg.empty())
      FillRect(scene, area, 0);
    else
      CopyRect(scene, bg, area);
    return;
  }
  FillRect(scene, area, 0);
  if (bg.empty()) return;
  // The background's (0, 0) stands at (bgalia x, bgalia y) on the screen.
  const int w = std::min(g.bgalia_w, bg.width), h = std::min(g.bgalia_h, bg.height);
  PixelRect r{std::max<int>(area.left, g.bgalia_x), std::max<int>(area.top, g.bgalia_y),
              std::min<int>(area.right, g.bgalia_x + w - 1),
              std::min<int>(area.bottom, g.bgalia_y + h - 1)};
  if (r.empty()) return;
  for (int y = r.top; y <= r.bottom; ++y)
    std::copy_n(bg.RowFromTop(y - g.bgalia_y) + (r.left - g.bgalia_x) * 3,
                (r.right - r.left + 1) * 3, scene.RowFromTop(y) + r.left * 3);
}

void DrawSpriteSlot(Engine& engine, int n, PixelView scene, const PixelRect& area) {
  Graphics& g = engine.graphics;
  SpriteSlot& s = g.sprites[n];
  if (s.tag.empty() || !s.visible) return;
  if (s.tag[0] == '*') {
    DrawLayer(engine, LayerNumber(s.tag), area);
    return;
  }
  DrawSprite(g.mul, s.surface, scene, &area, s.x, s.y);
}

void DrawSprites(Engine& engine, int from, int down_to, PixelView scene, const PixelRect& area) {
  Graphics& g = engine.graphics;
  if (g.all_sprites_hidden) return;
  for (int n = from; n >= down_to; --n) {
    if (g.quill_text_sprites && n < 10) continue;
    DrawSpriteSlot(engine, n, scene, area);
  }
}

void DrawStandingPictures(Engine& engine, PixelView scene, const PixelRect& area) {
  Graphics& g = engine.graphics;
  if (!HumansShown(g)) return;
  auto draw = [&](int i) {
    StandingPicture& p = g.humans[i];
    if (!p.tag.empty()) DrawSprite(g.mul, p.surface, scene, &area, p.x, p.y);
  };
  if (g.human_order.empty()) {
    draw(kHumanLeft);
    draw(kHumanCentre);
    draw(kHumanRight);
    return;
  }
  // The first letter ends on top, so the letters are drawn last to first.
  for (int i = std::min<int>(2, static_cast<int>(g.human_order.size()) - 1); i >= 0; --i) {
    switch (g.human_order[i]) {
      case 'l':
      case 'L':
        draw(kHumanLeft);
        break;
      case 'c':
      case 'C':
        draw(kHumanCentre);
        break;
      case 'r':
      case 'R':
        draw(kHumanRight);
        break;
      default:
        break;
    }
  }
}

bool TextWindowShowing(Engine& engine) {
  auto* showing = engine.graphics.hooks.text_window_showing;
  return showing && showing(engine);
}

}  // namespace

void ComposeScene(Engine& engine, const PixelRect* dirty) {
  Graphics& g = engine.graphics;
  const int w = engine.screen_width, h = engine.screen_height;
  PixelRect area = dirty ? PixelRect{dirty->left, dirty->top, dirty->right + 1, dirty->bottom + 1}
                         : PixelRect{0, 0, w - 1, h - 1};
  area = ClipRect(area, w, h);
  PixelView scene(g.scene);
  area = ClipRect(area, scene.width, scene.height);
  if (area.empty() || scene.empty()) return;
  const ComposeHooks& hooks = g.hooks;

  if (!SceneCovered(engine)) DrawBackground(engine, scene, area);
  DrawSprites(engine, kSpriteCount - 1, g.human_z + 1, scene, area);
  DrawStandingPictures(engine, scene, area);
  if (g.window_back) {
    FilterArea(g.filters, g.mul, scene, area);
    if (hooks.draw_text_window && TextWindowShowing(engine)) hooks.draw_text_window(engine, area);
  }
  DrawSprites(engine, g.human_z, 0, scene, area);
  if (!g.window_back) FilterArea(g.filters, g.mul, scene, area);
  if (!g.quill_text_sprites) {
    DrawBars(g.bars, scene, area);
    DrawNumbers(engine.platform.Fonts(), g.numbers, g.mul, scene, area);
  }
  if (!g.window_back && hooks.draw_text_window && TextWindowShowing(engine))
    hooks.draw_text_window(engine, area);
  if (hooks.draw_button_highlight) hooks.draw_button_highlight(engine, area);
  if (hooks.draw_back_log_buttons) hooks.draw_back_log_buttons(engine, area);
  if (hooks.draw_wait_cursor) hooks.draw_wait_cursor(engine, area);
  if (hooks.draw_menu_screen) hooks.draw_menu_screen(engine, area);
}

void DirtySprite(Engine& engine, const SpriteSlot& slot) {
  if (!slot.tag.empty() && slot.tag[0] == '*') {
    DirtyWholeScreen(engine);
    return;
  }
  const ImageSurface& s = slot.surface;
  AddDirty(engine, slot.x, slot.y, int64_t{slot.x} + s.CellWidth() + 1,
           int64_t{slot.y} + s.height + 1);
}

void DirtyStandingPicture(Engine& engine, const StandingPicture& p) {
  const ImageSurface& s = p.surface;
  AddDirty(engine, p.x, p.y, int64_t{p.x} + s.CellWidth() + 1, int64_t{p.y} + s.height + 1);
}

void AddDirty(Engine& engine, int64_t l, int64_t t, int64_t r, int64_t b) {
  engine.graphics.dirty.Add(Clamp32(l), Clamp32(t), Clamp32(r), Clamp32(b), engine.screen_width,
                            engine.screen_height);
}

void DirtyWholeScreen(Engine& engine) {
  AddDirty(engine, 0, 0, engine.screen_width, engine.screen_height);
}

}  // namespace orivane
