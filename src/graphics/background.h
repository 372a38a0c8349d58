// The background picture: a colour, or a picture centred on black when its
// size is not the screen's (the `bgalia` area's, when one is set). Used by
// `bg` and by a loaded game, which names its background as `bg` did.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;

void SetBackgroundColour(Engine& engine, uint32_t rgb);
void SetBackgroundPicture(Engine& engine, const std::string& tag);
// A picture already at hand (a kept copy of the screen), without a tag; an
// empty one gives black.
void SetBackgroundFromCopy(Engine& engine, ImageSurface&& copy);

// The background by the name `bg` keeps: "black", "white", "#rrggbb", or an
// image tag.
void SetBackgroundByName(Engine& engine, const std::string& name);

}  // namespace orivane
