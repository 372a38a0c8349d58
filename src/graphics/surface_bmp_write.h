// Saves an ImageSurface as an uncompressed BMP file exactly as it is held:
// 24-bit pictures without a colour table, 8-bit pictures with theirs (the
// colours-used entries, or 256). Written to a temporary file and renamed.
#pragma once

#include <string>

#include "graphics/image_surface.h"

namespace orivane {

bool SaveSurfaceBmp(const std::string& path, const ImageSurface& surface);

}  // namespace orivane
