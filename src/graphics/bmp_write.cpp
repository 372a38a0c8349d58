#include "graphics/bmp_write.h"

#include <cstring>
#include <vector>

#include "util/file_io.h"

namespace orivane {
namespace {

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}

}  // namespace

bool WriteBmp24(const std::string& path, const uint8_t* pixels, int width, int height, int stride) {
  if (width <= 0 || height <= 0 || stride < width * 3) return false;
  const uint32_t row = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t image = row * static_cast<uint32_t>(height);
  std::vector<uint8_t> out(54 + image, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, 54 + image);
  Put32(out, 10, 54);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<uint32_t>(width));
  Put32(out, 22, static_cast<uint32_t>(height));
  Put16(out, 26, 1);
  Put16(out, 28, 24);
  Put32(out, 34, image);
  for (int y = 0; y < height; ++y)
    std::memcpy(&out[54 + static_cast<size_t>(y) * row], pixels + static_cast<size_t>(y) * stride,
                static_cast<size_t>(width) * 3);
  return WriteFileAtomically(path, out.data(), out.size());
}

}  // namespace orivane
