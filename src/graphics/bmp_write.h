// Writes a 24-bit BMP file (bottom-up rows, blue-green-red, rows padded to
// four bytes), the layout the engine keeps its pictures in. The file is
// written to a temporary name and renamed into place.
#pragma once

#include <cstdint>
#include <string>

namespace orivane {

// `pixels` holds `height` rows of `stride` bytes, the bottom row first.
bool WriteBmp24(const std::string& path, const uint8_t* pixels, int width, int height, int stride);

}  // namespace orivane
