#include "graphics/direct_draw.h"

#include <algorithm>

#include "engine.h"
#include "graphics/sprite_draw.h"
#include "graphics/transform_draw.h"
#include "graphics/window_picture.h"

namespace orivane {
namespace {

PixelView Display(Engine& engine) {
  return PixelView(engine.display);
}

PixelRect Whole(const DisplaySurface& s) {
  return PixelRect{0, 0, s.width - 1, s.height - 1};
}

// The cell and opacity of a direct draw, as they stay in the sprite.
void SetCellAndOpacity(ImageSurface& s, int cell, int opacity) {
  s.cell = std::clamp(cell, 0, std::max(s.cells, 0));
  s.opacity = std::clamp(opacity, 0, 255);
}

}  // namespace

void ShowDisplay(Engine& engine) {
  ShowOnWindow(engine, engine.display);
}

void FillDisplay(Engine& engine, uint32_t rgb) {
  FillRect(Display(engine), Whole(engine.display), rgb);
}

void CopyBackgroundToDisplay(Engine& engine) {
  PixelView bg = engine.graphics.background.View();
  if (bg.empty()) {
    FillDisplay(engine, 0);
    return;
  }
  CopyRect(Display(engine), bg, Whole(engine.display));
}

void DrawBackgroundTransformed(Engine& engine, int x, int y, int scale_x, int scale_y, int angle) {
  ImageSurface& bg = engine.graphics.background;
  bg.mode = kModeCopy;
  bg.cells = 1;
  bg.cell = 0;
  bg.opacity = 255;
  DrawTransformed(engine.graphics.mul, bg, Display(engine), x, y, scale_x, scale_y, angle);
}

void DrawSpriteOnDisplay(Engine& engine, SpriteSlot& slot, int cell, int opacity, int x, int y) {
  SetCellAndOpacity(slot.surface, cell, opacity);
  DrawSprite(engine.graphics.mul, slot.surface, Display(engine), nullptr, x, y);
}

void DrawSpriteTransformed(Engine& engine, SpriteSlot& slot, int cell, int opacity, int x, int y,
                           int scale_x, int scale_y, int angle) {
  SetCellAndOpacity(slot.surface, cell, opacity);
  DrawTransformed(engine.graphics.mul, slot.surface, Display(engine), x, y, scale_x, scale_y,
                  angle);
}

void DrawSpriteWithMatrixOnDisplay(Engine& engine, SpriteSlot& slot, int cell, int opacity, int x,
                                   int y, int a, int b, int c, int d) {
  SetCellAndOpacity(slot.surface, cell, opacity);
  DrawWithMatrix(engine.graphics.mul, slot.surface, Display(engine), x, y, a, b, c, d);
}

void RenderSpriteIntoScene(Engine& engine, SpriteSlot& slot, int cell, int x, int y, int opacity) {
  ImageSurface& s = slot.surface;
  s.cell = cell;  // the drawing keeps it within the cells
  s.opacity = std::clamp(opacity, -1, 255);
  DisplaySurface& scene = engine.graphics.scene;
  const PixelRect clip = ClippedRect(x, y, int64_t{x} + s.CellWidth(), int64_t{y} + s.height,
                                     scene.width, scene.height);
  if (clip.empty()) return;
  DrawSprite(engine.graphics.mul, s, PixelView(scene), &clip, x, y);
}

void CopyWindowToDisplay(Engine& engine) {
  const DisplaySurface& shown = WindowPicture(engine);
  if (&shown == &engine.display) return;
  DisplaySurface& display = engine.display;
  // A copy of equal layout; the window's picture is the screen's size.
  if (shown.width == display.width && shown.height == display.height &&
      shown.stride == display.stride)
    display.pixels = shown.pixels;
}

void CopyWindowToBackground(Engine& engine) {
  CopyWindowToDisplay(engine);
  Graphics& g = engine.graphics;
  ImageSurface& bg = g.background;
  const DisplaySurface& display = engine.display;
  bg.Reset();
  if (bg.CreateBlank(display.width, display.height, 24))
    CopyRect(bg.View(), PixelView(engine.display), Whole(display));
  bg.tag.clear();
  g.background_name = "*bgcpy";
}

}  // namespace orivane
