#include "archive/bmp24.h"

#include <cstring>

namespace orivane {
namespace {

uint32_t U32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

bool ParseBmp24(const uint8_t* data, size_t size, DisplaySurface& out) {
  if (size < 54 || data[0] != 'B' || data[1] != 'M') return false;
  uint32_t pixel_offset = U32(data + 10);
  uint32_t info_size = U32(data + 14);
  int32_t width = static_cast<int32_t>(U32(data + 18));
  int32_t height = static_cast<int32_t>(U32(data + 22));
  if (info_size < 40 || U16(data + 26) != 1 || U16(data + 28) != 24 || U32(data + 30) != 0) return false;
  if (width <= 0 || height <= 0 || width > 0xFFFF || height > 0xFFFF) return false;
  size_t stride = DisplaySurface::StrideFor(width);
  uint64_t bytes = uint64_t{stride} * static_cast<uint64_t>(height);
  if (pixel_offset < 14 + info_size || pixel_offset + bytes > size) return false;
  out.Resize(width, height);
  std::memcpy(out.pixels.data(), data + pixel_offset, static_cast<size_t>(bytes));
  return true;
}

}  // namespace orivane
