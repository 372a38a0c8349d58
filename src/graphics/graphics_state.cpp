#include "graphics/graphics_state.h"

#include "engine.h"
#include "graphics/animation.h"

namespace orivane {

void AttachGraphics(Engine& engine) { AttachAnimation(engine); }

void StartGraphics(Engine& engine) {
  Graphics& g = engine.graphics;
  const int w = engine.screen_width, h = engine.screen_height;
  g.scene.Resize(w, h);
  g.work.Resize(w, h);
  g.background.Reset();
  g.background.CreateBlank(w, h, 24);
  g.background_name = "black";
  for (SpriteSlot& s : g.sprites) {
    s.tag.clear();
    s.visible = false;
    s.x = s.y = 0;
    s.surface.Reset();
  }
  for (StandingPicture& p : g.humans) {
    p.tag.clear();
    p.x = p.y = 0;
    p.surface.Reset();
  }
  g.human_centre = {w / 4, w / 2, 3 * (w / 4)};
  g.human_baseline = h;
  g.human_z = 499;
  g.human_order.clear();
  g.dirty.Clear();
  g.all_sprites_hidden = false;
  g.keep_humans_when_hidden = false;
  g.window_back = false;
  g.quill_text_sprites = false;
  g.bgalia_on = false;
  g.bgalia_x = -1;
  g.bgalia_y = g.bgalia_w = g.bgalia_h = 0;
  g.default_mode = kModeLeftUp;
  g.jpeg_mode = false;
  g.missing_image_tolerance = false;
  g.picture_plugins.clear();
  g.effects = EffectSettings{};
}

void ResetGraphicsForGame(Engine& engine) {
  Graphics& g = engine.graphics;
  FillRect(PixelView(engine.display),
           PixelRect{0, 0, engine.display.width - 1, engine.display.height - 1}, 0);
  g.background.Fill(PixelRect{0, 0, g.background.width - 1, g.background.height - 1}, 0);
  g.background.tag.clear();
  g.background_name = "black";
  // Sprite pictures stay loaded: the next `lsp` of the same tag reuses them.
  for (SpriteSlot& s : g.sprites) {
    s.tag.clear();
    s.x = s.y = 0;
  }
  for (StandingPicture& p : g.humans) p.tag.clear();
  g.human_order.clear();
  g.all_sprites_hidden = false;
  g.filters = ScreenFilters{};
  g.bars = BarTable{};
  g.numbers = NumberTable{};
}

}  // namespace orivane
