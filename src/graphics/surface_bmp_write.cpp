#include "graphics/surface_bmp_write.h"

#include <algorithm>
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

bool SaveSurfaceBmp(const std::string& path, const ImageSurface& s) {
  if (!s.loaded) return false;
  const bool indexed = s.bit_count == 8;
  const uint32_t colours = indexed ? static_cast<uint32_t>(s.colors_used > 0 ? std::min(s.colors_used, 256) : 256) : 0;
  const uint32_t offset = 54 + 4 * colours;
  const uint32_t image = static_cast<uint32_t>(s.pixels.size());
  std::vector<uint8_t> out(offset + image, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, offset + image);
  Put32(out, 10, offset);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<uint32_t>(s.width));
  Put32(out, 22, static_cast<uint32_t>(s.height));
  Put16(out, 26, 1);
  Put16(out, 28, static_cast<uint32_t>(s.bit_count));
  Put32(out, 46, s.bit_count == 24 ? 0 : static_cast<uint32_t>(s.colors_used));
  const size_t table = std::min<size_t>(colours * 4, s.palette.size());
  if (table > 0) std::memcpy(&out[54], s.palette.data(), table);
  if (image > 0) std::memcpy(&out[offset], s.pixels.data(), image);
  return WriteFileAtomically(path, out.data(), out.size());
}

}  // namespace orivane
