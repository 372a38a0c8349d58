// Plain 24-bit BMP files to and from Picture24, for the archive tool: it
// packs such pictures as SPB entries and writes them back out as BMP files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "archive/picture24.h"

namespace orivane {

// Accepts an uncompressed 24-bit bottom-up BMP whose pixels lie inside the
// file. False for anything else.
bool ParseBmp24(const uint8_t* data, size_t size, Picture24& out);

// The BMP file of a 24-bit picture.
std::vector<uint8_t> EncodeBmp24(const Picture24& picture);

}  // namespace orivane
