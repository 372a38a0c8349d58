// The one BMP encoder: pictures in the layout the engine keeps them in
// (bottom-up rows padded to four bytes, 24-bit blue-green-red or 8-bit with a
// colour table of blue-green-red-reserved entries) written as uncompressed
// BMP files. The screenshots, the picture tools and the archive tool all
// write through it; it knows nothing of the records that hold the pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orivane {

struct BmpImage {
  int width = 0;
  int height = 0;
  int bit_count = 24;             // 24 or 8
  const uint8_t* rows = nullptr;  // `height` rows of `stride` bytes, the bottom row first
  int stride = 0;
  const uint8_t* palette = nullptr;  // 8-bit: `palette_entries` entries of 4 bytes
  uint32_t palette_entries = 0;
  uint32_t colors_used = 0;  // the header's colours-used field
};

// The whole file: 14-byte file header, 40-byte info header, colour table, rows.
// Empty when the sizes do not describe a picture.
std::vector<uint8_t> EncodeBmp(const BmpImage& image);

// The file written to `path` through a temporary file and a rename. False
// when the sizes do not describe a picture or the file cannot be written.
bool WriteBmpFile(const std::string& path, const BmpImage& image);

}  // namespace orivane
