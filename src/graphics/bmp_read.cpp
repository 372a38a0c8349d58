#include "graphics/bmp_read.h"

#include <algorithm>
#include <cstring>

namespace orivane {
namespace {

uint32_t Get32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Get16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

}  // namespace

bool DecodeBmp(const uint8_t* data, size_t size, ImageSurface& out) {
  out.Release();
  // Headers cut short read as zero bytes, like a short read into a cleared buffer.
  uint8_t header[54] = {};
  if (size > 0) std::memcpy(header, data, std::min<size_t>(size, sizeof header));
  const int32_t width = static_cast<int32_t>(Get32(header + 18));
  const int32_t raw_height = static_cast<int32_t>(Get32(header + 22));
  const int32_t bits = Get16(header + 28);
  const uint32_t compression = Get32(header + 30);
  const uint32_t colors_used = Get32(header + 46);
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (raw_height == INT32_MIN) return false;
  const bool top_down = raw_height < 0;
  const int32_t height = top_down ? -raw_height : raw_height;
  if (!out.CreateBlank(width, height, bits)) return false;
  out.colors_used = static_cast<int32_t>(std::min<uint32_t>(colors_used, 0x7FFFFFFF));

  const uint64_t entries = colors_used != 0 ? colors_used : static_cast<uint64_t>(out.color_count);
  const uint64_t palette_at = 54;
  const uint64_t kept = std::min<uint64_t>(entries, static_cast<uint64_t>(out.color_count));
  if (kept > 0 && palette_at < size) {
    const uint64_t avail = size - palette_at;
    std::memcpy(out.palette.data(), data + palette_at,
                static_cast<size_t>(std::min(kept * 4, avail)));
  }
  if (compression != 0) return true;
  const uint64_t pixels_at = palette_at + entries * 4;
  if (pixels_at >= size) return true;
  const uint64_t avail = size - pixels_at;
  const uint8_t* src = data + pixels_at;
  const size_t row = static_cast<size_t>(out.stride);
  for (int32_t y = 0; y < height; ++y) {
    const uint64_t at = static_cast<uint64_t>(y) * row;
    if (at >= avail) break;
    const size_t n = static_cast<size_t>(std::min<uint64_t>(row, avail - at));
    // Bottom-up files are stored as held; top-down ones are turned over.
    const int32_t dst_row = top_down ? height - 1 - y : y;
    std::memcpy(out.pixels.data() + static_cast<size_t>(dst_row) * row, src + at, n);
  }
  return true;
}

}  // namespace orivane
