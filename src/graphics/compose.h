// Scene composition: draws the background, the back sprites, the standing
// pictures, the front sprites and the overlays of other subsystems into the
// scene buffer, over a rectangle only.
#pragma once

#include "graphics/pixel_view.h"

namespace orivane {

struct Engine;
struct SpriteSlot;
struct StandingPicture;

// Composes over `dirty` (inclusive edges; the area drawn reaches one pixel
// further right and down, as sprite rectangles are recorded), or over the
// whole screen when `dirty` is null.
void ComposeScene(Engine& engine, const PixelRect* dirty);

// The rectangle a sprite or standing picture occupies, added to the dirty
// rectangle (a layer sprite dirties the whole screen).
void DirtySprite(Engine& engine, const SpriteSlot& slot);
void DirtyStandingPicture(Engine& engine, const StandingPicture& picture);
void DirtyWholeScreen(Engine& engine);
// Adds a rectangle (inclusive edges, clamped to the screen) to the dirty rectangle.
void AddDirty(Engine& engine, int64_t l, int64_t t, int64_t r, int64_t b);

}  // namespace orivane
