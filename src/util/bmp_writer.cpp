#include "util/bmp_writer.h"

#include <algorithm>
#include <cstring>

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

std::vector<uint8_t> EncodeBmp(const BmpImage& image) {
  if (image.width <= 0 || image.height <= 0 || (image.bit_count != 24 && image.bit_count != 8)) return {};
  const uint32_t row = (static_cast<uint32_t>(image.width) * (image.bit_count / 8) + 3) & ~3u;
  if (image.stride < static_cast<int>(row) - 3 || !image.rows) return {};
  const uint32_t table = image.bit_count == 8 ? image.palette_entries : 0;
  const uint32_t offset = 54 + 4 * table;
  const uint32_t pixel_bytes = row * static_cast<uint32_t>(image.height);
  std::vector<uint8_t> out(offset + pixel_bytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, offset + pixel_bytes);
  Put32(out, 10, offset);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<uint32_t>(image.width));
  Put32(out, 22, static_cast<uint32_t>(image.height));
  Put16(out, 26, 1);
  Put16(out, 28, static_cast<uint32_t>(image.bit_count));
  Put32(out, 34, pixel_bytes);
  Put32(out, 46, image.bit_count == 24 ? 0 : image.colors_used);
  if (table > 0 && image.palette) std::memcpy(&out[54], image.palette, 4 * table);
  const size_t copy = std::min<size_t>(row, static_cast<size_t>(image.stride));
  for (int y = 0; y < image.height; ++y)
    std::memcpy(&out[offset + static_cast<size_t>(y) * row], image.rows + static_cast<size_t>(y) * image.stride, copy);
  return out;
}

bool WriteBmpFile(const std::string& path, const BmpImage& image) {
  std::vector<uint8_t> file = EncodeBmp(image);
  return !file.empty() && WriteFileAtomically(path, file.data(), file.size());
}

}  // namespace orivane
