// The JPEG path on arbitrary bytes.
#include <cstddef>
#include <cstdint>

#include "graphics/jpeg_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orivane::ImageSurface picture;
  if (orivane::DecodeJpeg(data, size, picture) &&
      picture.pixels.size() != static_cast<size_t>(picture.stride) * picture.height)
    __builtin_trap();
  return 0;
}
