// Test support: Windows cursor files (.cur) built byte by byte, with BMP or
// PNG pictures, so that tests can write exactly the files they need.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace orivane::test {

// Little-endian fields.
std::string Le16(uint32_t v);
std::string Le32(uint32_t v);

// One picture of a cursor file: its directory fields and its bytes.
struct CursorImage {
  int width, height, hot_x, hot_y;
  std::string body;
};

// The directory (6 bytes, then 16 per picture) followed by the pictures.
std::string CursorFile(const std::vector<CursorImage>& images);

// A BMP picture body: `value(x, y)` (y from the top) is 0xAARRGGBB for 32
// bits, 0xRRGGBB for 24, a colour index below that; `masked(x, y)` is the AND
// bit. `palette` entries are 0xRRGGBB and set the colours-used field.
std::string BmpBody(int w, int h, int bits, const std::vector<uint32_t>& palette,
                    const std::function<uint32_t(int, int)>& value,
                    const std::function<bool(int, int)>& masked, bool with_mask = true);

}  // namespace orivane::test
