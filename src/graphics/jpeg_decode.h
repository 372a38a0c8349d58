// JPEG pictures, decoded with libjpeg-turbo at the picture's own pixel size
// into a 24-bit bottom-up surface.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/image_surface.h"

namespace orivane {

// False when the data is not a JPEG the decoder can read (nothing is kept).
bool DecodeJpeg(const uint8_t* data, size_t size, ImageSurface& out);

}  // namespace orivane
