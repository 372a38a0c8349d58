// The BMP reader. A BMP is read as its headers say, with every size checked
// against the bytes that are really there: the 14-byte file header, the
// 40-byte info header, the colour entries right behind it, and the pixels
// right behind those (the file header's data offset is not used). Missing
// pixel bytes of a truncated file stay black; compressed (RLE) pictures load
// as black pictures of the right size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics/image_surface.h"

namespace orivane {

// Decodes into `out` (released first). False when the headers describe no
// picture the engine can hold (zero or huge sizes, an unknown bit count).
bool DecodeBmp(const uint8_t* data, size_t size, ImageSurface& out);

}  // namespace orivane
