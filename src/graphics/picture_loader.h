// Finds the file a tag names and decodes it by its extension: "jpg"/"jpeg",
// "png", "bmp", "spb", or a picture plug-in registered for the extension.
// Failures are reported as the engine's load errors unless `noloaderror` or
// `jpegmode` silences them.
#pragma once

#include <string>

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;

// Loads `file` into `surface` (whose tag fields are already set). When the
// file is found nowhere and the errors are silenced, the surface stays empty.
void LoadPictureFile(Engine& engine, ImageSurface& surface, const std::string& file);

}  // namespace orivane
