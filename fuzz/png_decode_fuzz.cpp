// The PNG path on arbitrary bytes, with and without the alpha-mask layout.
#include <cstddef>
#include <cstdint>

#include "graphics/png_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int cells = 1 + data[0] % 4;
  orivane::ImageSurface picture;
  orivane::DecodePng(data + 1, size - 1, (data[0] & 0x80) != 0, cells, picture);
  return 0;
}
