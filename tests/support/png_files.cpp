#include "support/png_files.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace orivane::test {

std::string MakePng(int w, int h, const std::function<uint32_t(int, int)>& argb) {
  std::vector<uint8_t> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t v = argb(x, y);
      uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = (v >> 16) & 0xFF;
      p[1] = (v >> 8) & 0xFF;
      p[2] = v & 0xFF;
      p[3] = v >> 24;
    }
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGBA;
  png_alloc_size_t size = 0;
  png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr);
  std::string bytes(size, '\0');
  png_image_write_to_memory(&image, bytes.data(), &size, 0, rgba.data(), 0, nullptr);
  bytes.resize(size);
  return bytes;
}

}  // namespace orivane::test
