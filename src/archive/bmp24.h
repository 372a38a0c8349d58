// Reading plain 24-bit BMP files into a DisplaySurface, for the archive tool:
// it packs such pictures as SPB entries. (Pictures go back out as BMP files
// through the one encoder in util/bmp_writer.h.)
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/display_surface.h"

namespace orivane {

// Accepts an uncompressed 24-bit bottom-up BMP whose pixels lie inside the
// file. False for anything else.
bool ParseBmp24(const uint8_t* data, size_t size, DisplaySurface& out);

}  // namespace orivane
