#include "graphics/surface_bmp_write.h"

#include <algorithm>

#include "util/bmp_writer.h"

namespace orivane {

bool SaveSurfaceBmp(const std::string& path, const ImageSurface& s) {
  if (!s.loaded) return false;
  BmpImage image{s.width, s.height, s.bit_count, s.pixels.data(), s.stride};
  if (s.bit_count == 8) {
    image.palette_entries = static_cast<uint32_t>(std::min<size_t>(
        s.colors_used > 0 ? std::min(s.colors_used, 256) : 256, s.palette.size() / 4));
    image.palette = s.palette.data();
    image.colors_used = static_cast<uint32_t>(s.colors_used);
  }
  return WriteBmpFile(path, image);
}

}  // namespace orivane
