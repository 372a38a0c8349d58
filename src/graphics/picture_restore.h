// A loaded game's pictures: the background, the standing pictures and the
// sprites are loaded again from the names the save file gave (a picture that
// is missing now becomes a tiny black one, not an error), with the places,
// cells and opacities the file recorded, and the whole screen is redrawn.
#pragma once

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;

// `screen_copy` is the picture that stands for a background kept as a copy
// of the screen ("*bgcpy"); empty: black.
void RestorePicturesAfterLoad(Engine& engine, ImageSurface&& screen_copy);

}  // namespace orivane
