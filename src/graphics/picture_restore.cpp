#include "graphics/picture_restore.h"

#include <utility>

#include "engine.h"
#include "graphics/background.h"
#include "graphics/image_tag.h"

namespace orivane {
namespace {

// Loads a picture again from its tag, keeping the cell and opacity the save
// file recorded (loading a tag starts at cell 0).
void Reload(Engine& engine, ImageSurface& surface, const std::string& tag) {
  const int32_t cell = surface.cell, opacity = surface.opacity;
  surface.Reset();
  if (tag.empty()) return;
  LoadImageTag(engine, surface, tag);
  surface.cell = cell >= 0 && cell < surface.cells ? cell : 0;
  surface.opacity = opacity;
}

}  // namespace

void RestorePicturesAfterLoad(Engine& engine, ImageSurface&& screen_copy) {
  Graphics& g = engine.graphics;
  g.missing_image_tolerance = true;
  try {
    if (g.background_name == "*bgcpy")
      SetBackgroundFromCopy(engine, std::move(screen_copy));
    else
      SetBackgroundByName(engine, g.background_name);
    for (StandingPicture& h : g.humans) Reload(engine, h.surface, h.tag);
    for (SpriteSlot& s : g.sprites) Reload(engine, s.surface, s.tag);
  } catch (...) {
    g.missing_image_tolerance = false;
    throw;
  }
  g.missing_image_tolerance = false;
  g.dirty.Add(0, 0, engine.screen_width - 1, engine.screen_height - 1, engine.screen_width, engine.screen_height);
}

}  // namespace orivane
