#include "graphics/window_picture.h"

#include <algorithm>
#include <cstring>

#include "engine.h"
#include "graphics/surface_change.h"
#include "platform/platform.h"

namespace orivane {

namespace {

bool OverlayShown(const Engine& engine) {
  const ComposeHooks& hooks = engine.graphics.hooks;
  if (!hooks.window_overlay) return false;
  return !hooks.window_overlay_shown || hooks.window_overlay_shown(engine);
}

}  // namespace

void ShowOnWindow(Engine& engine, const DisplaySurface& picture) {
  DisplaySurface& shown = engine.graphics.window_picture;
  if (&picture != &shown && !OverlayShown(engine) && shown.width == picture.width &&
      shown.height == picture.height && shown.stride == picture.stride && shown.width > 0) {
    // The window is handed only what differs from what it shows: a blinking
    // cursor changes a few hundred pixels of the screen.
    const SurfaceRect changed = ChangedPart(shown, picture);
    if (!changed.Empty()) CopyPart(shown, picture, changed);
    engine.platform.PresentChange(shown, changed);
    return;
  }
  if (&picture != &shown) {
    // Same size every time: the copy reuses its storage.
    shown.width = picture.width;
    shown.height = picture.height;
    shown.stride = picture.stride;
    shown.pixels.assign(picture.pixels.begin(), picture.pixels.end());
  }
  if (engine.graphics.hooks.window_overlay) engine.graphics.hooks.window_overlay(engine, shown);
  engine.platform.Present(shown);
}

void ShowShiftedOnWindow(Engine& engine, const DisplaySurface& picture, int dx, int dy) {
  DisplaySurface& shown = engine.graphics.window_picture;
  if (shown.width != picture.width || shown.height != picture.height)
    shown.Resize(picture.width, picture.height);
  const int w = picture.width;
  const int h = picture.height;
  // Beyond the picture's size every offset shows the same black window.
  dx = std::clamp(dx, -w, w);
  dy = std::clamp(dy, -h, h);
  // The columns of the picture that stay inside the window, and where they land.
  const int from_x = std::max(0, -dx);
  const int to_x = std::max(0, dx);
  const int run = std::max(0, w - std::abs(dx));
  for (int y = 0; y < h; ++y) {
    uint8_t* out = shown.RowFromTop(y);
    const int sy = y - dy;
    if (sy < 0 || sy >= h || run == 0) {
      std::memset(out, 0, static_cast<size_t>(w) * 3);
      continue;
    }
    const uint8_t* in = picture.RowFromTop(sy);
    std::memset(out, 0, static_cast<size_t>(to_x) * 3);
    std::memcpy(out + static_cast<size_t>(to_x) * 3, in + static_cast<size_t>(from_x) * 3,
                static_cast<size_t>(run) * 3);
    std::memset(out + static_cast<size_t>(to_x + run) * 3, 0, static_cast<size_t>(w - to_x - run) * 3);
  }
  engine.platform.Present(shown);
}

const DisplaySurface& WindowPicture(const Engine& engine) {
  const DisplaySurface& shown = engine.graphics.window_picture;
  return shown.width > 0 ? shown : engine.display;
}

}  // namespace orivane
