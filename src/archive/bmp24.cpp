#include "archive/bmp24.h"

#include <cstring>

namespace orivane {
namespace {

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Put16(std::vector<uint8_t>& out, size_t at, uint16_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}

}  // namespace

bool ParseBmp24(const uint8_t* data, size_t size, Picture24& out) {
  if (size < 54 || data[0] != 'B' || data[1] != 'M') return false;
  uint32_t pixel_offset = U32(data + 10);
  uint32_t info_size = U32(data + 14);
  int32_t width = static_cast<int32_t>(U32(data + 18));
  int32_t height = static_cast<int32_t>(U32(data + 22));
  if (info_size < 40 || U16(data + 26) != 1 || U16(data + 28) != 24 || U32(data + 30) != 0) return false;
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return false;
  size_t stride = Picture24::StrideFor(width);
  uint64_t bytes = uint64_t{stride} * static_cast<uint64_t>(height);
  if (pixel_offset < 14 + info_size || pixel_offset + bytes > size) return false;
  out.Create(width, height);
  std::memcpy(out.pixels.data(), data + pixel_offset, static_cast<size_t>(bytes));
  return true;
}

std::vector<uint8_t> WriteBmp24(const Picture24& pic) {
  std::vector<uint8_t> out(54 + pic.pixels.size(), 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  Put32(out, 10, 54);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<uint32_t>(pic.width));
  Put32(out, 22, static_cast<uint32_t>(pic.height));
  Put16(out, 26, 1);
  Put16(out, 28, 24);
  Put32(out, 34, static_cast<uint32_t>(pic.pixels.size()));
  if (!pic.pixels.empty()) std::memcpy(out.data() + 54, pic.pixels.data(), pic.pixels.size());
  return out;
}

}  // namespace orivane
