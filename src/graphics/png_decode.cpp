#include "graphics/png_decode.h"

#include <png.h>

#include <cstring>
#include <vector>

namespace orivane {
namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

}  // namespace

// libpng sizes its chunk buffer from the claimed length before it reads the
// chunk, so a 160-byte file could otherwise have it allocate gigabytes.
bool ChunksFitInData(const uint8_t* data, size_t size) {
  size_t at = 8;  // behind the signature
  while (at + 8 <= size) {
    const uint64_t length = BigEndian32(data + at);
    if (length + 12 > size - at) return false;  // length, type, data, CRC
    if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
    at += static_cast<size_t>(length) + 12;
  }
  return true;  // a file that ends between chunks is libpng's to judge
}

bool DecodePng(const uint8_t* data, size_t size, bool alpha_mode, int cells, ImageSurface& out) {
  out.Release();
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!ChunksFitInData(data, size)) return false;
  if (!png_image_begin_read_from_memory(&image, data, size)) return false;
  const bool has_alpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
  image.format = PNG_FORMAT_BGRA;
  const uint64_t w = image.width, h = image.height;
  if (w == 0 || h == 0 || w > kMaxPictureSide || h > kMaxPictureSide ||
      w * h * 4 > kMaxPictureBytes) {
    png_image_free(&image);
    return false;
  }
  std::vector<uint8_t> bgra(static_cast<size_t>(w * h * 4));
  // A negative row stride asks libpng for the rows bottom-up.
  if (!png_image_finish_read(&image, nullptr, bgra.data(), -static_cast<png_int_32>(w * 4),
                             nullptr)) {
    png_image_free(&image);
    return false;
  }
  const int width = static_cast<int>(w), height = static_cast<int>(h);
  const bool with_mask = alpha_mode && has_alpha;
  if (!out.CreateBlank(with_mask ? width * 2 : width, height, 24)) return false;
  if (cells < 1) cells = 1;
  const int cell_w = width / cells;
  for (int y = 0; y < height; ++y) {
    const uint8_t* src = bgra.data() + static_cast<size_t>(y) * width * 4;
    uint8_t* dst = out.pixels.data() + static_cast<size_t>(y) * out.stride;
    for (int x = 0; x < width; ++x) {
      const uint8_t* p = src + x * 4;
      int at = x;
      if (with_mask) {
        // Cell k's colours go to 2k·cellWidth, its mask right after them.
        const int k = cell_w > 0 ? x / cell_w : 0;
        at = x + k * cell_w;
        if (k >= cells) at = x + cells * cell_w;  // columns past the last whole cell
        uint8_t* m = dst + (at + cell_w) * 3;
        if (at + cell_w < out.width) m[0] = m[1] = m[2] = static_cast<uint8_t>(255 - p[3]);
      }
      uint8_t* d = dst + at * 3;
      d[0] = p[0];
      d[1] = p[1];
      d[2] = p[2];
    }
  }
  return true;
}

}  // namespace orivane
