#include "graphics/cursor_file.h"

#include <cstring>
#include <utility>

#include "graphics/image_surface.h"
#include "graphics/png_decode.h"

namespace orivane {
namespace {

constexpr size_t kDirectoryBytes = 6;
constexpr size_t kEntryBytes = 16;
constexpr uint32_t kInfoHeaderBytes = 40;
constexpr uint16_t kCursorType = 2;

uint16_t Get16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | p[1] << 8);
}
uint32_t Get32(const uint8_t* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}
uint32_t Get32BigEndian(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

struct DirectoryEntry {
  int width;  // as the directory says (0 there means 256)
  int height;
  int hot_x;
  int hot_y;
  uint32_t bytes;
  uint32_t offset;
};

void SetPixel(CursorPicture& pic, int x, int y, const uint8_t rgb[3], uint8_t alpha) {
  uint8_t* px = &pic.rgba[(static_cast<size_t>(y) * pic.width + x) * 4];
  px[0] = rgb[0];
  px[1] = rgb[1];
  px[2] = rgb[2];
  px[3] = alpha;
}

void StartPicture(CursorPicture& pic, int width, int height) {
  pic.width = width;
  pic.height = height;
  pic.rgba.assign(static_cast<size_t>(width) * height * 4, 0);
}

bool IsPng(const uint8_t* body, size_t size) {
  constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return size >= sizeof kSignature && std::memcmp(body, kSignature, sizeof kSignature) == 0;
}

// A PNG body: its alpha channel (when it has one) is the transparency.
bool ReadPngBody(const uint8_t* body, size_t size, CursorPicture& pic) {
  if (size < 24) return false;
  // The IHDR chunk comes first: its width and height at 16 and 20.
  const uint32_t w = Get32BigEndian(body + 16), h = Get32BigEndian(body + 20);
  if (w == 0 || h == 0 || w > kMaxCursorSide || h > kMaxCursorSide) return false;
  ImageSurface decoded;
  // In alpha mode the decoder puts the mask (255 − alpha) right of the colours.
  if (!DecodePng(body, size, true, 1, decoded) || decoded.height != static_cast<int>(h))
    return false;
  const int width = static_cast<int>(w);
  const bool masked = decoded.width == 2 * width;
  if (!masked && decoded.width != width) return false;
  StartPicture(pic, width, static_cast<int>(h));
  for (int y = 0; y < pic.height; ++y) {
    const uint8_t* row = decoded.RowFromTop(y);
    for (int x = 0; x < width; ++x) {
      const uint8_t* bgr = row + x * 3;
      const uint8_t rgb[3] = {bgr[2], bgr[1], bgr[0]};
      SetPixel(pic, x, y, rgb, masked ? static_cast<uint8_t>(255 - row[(width + x) * 3]) : 255);
    }
  }
  return true;
}

// A BMP body: info header, colour table, colour rows, AND mask rows; the
// header's height counts both row sets. A 32-bit picture may leave the mask
// out when its alpha says everything.
bool ReadBmpBody(const uint8_t* body, size_t size, CursorPicture& pic) {
  if (size < kInfoHeaderBytes) return false;
  const uint32_t header = Get32(body);
  const int32_t width = static_cast<int32_t>(Get32(body + 4));
  const int32_t both_heights = static_cast<int32_t>(Get32(body + 8));
  const uint16_t bits = Get16(body + 14);
  const uint32_t compression = Get32(body + 16);
  const uint32_t colors_used = Get32(body + 32);
  if (header < kInfoHeaderBytes || header > size) return false;
  if (width < 1 || width > kMaxCursorSide || both_heights < 2 || both_heights > 2 * kMaxCursorSide)
    return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return false;
  if (compression != 0) return false;
  const uint32_t table_limit = bits <= 8 ? 1u << bits : 256;
  if (colors_used > table_limit) return false;
  const uint32_t entries = colors_used != 0 ? colors_used : (bits <= 8 ? table_limit : 0);
  const int height = both_heights / 2;

  const uint64_t colour_stride = RowStride(width, bits);
  const uint64_t mask_stride = RowStride(width, 1);
  const uint64_t table_at = header;
  const uint64_t colour_at = table_at + uint64_t{entries} * 4;
  const uint64_t mask_at = colour_at + colour_stride * height;
  const uint64_t end = mask_at + mask_stride * height;
  const bool has_mask = end <= size;
  if (!has_mask && (bits != 32 || mask_at > size)) return false;

  bool use_alpha = false;
  if (bits == 32)
    for (int y = 0; y < height && !use_alpha; ++y)
      for (int x = 0; x < width; ++x)
        if (body[colour_at + y * colour_stride + x * 4 + 3] != 0) {
          use_alpha = true;
          break;
        }
  if (bits == 32 && !use_alpha && !has_mask) return false;

  StartPicture(pic, width, height);
  const uint8_t* table = body + table_at;
  for (int y = 0; y < height; ++y) {
    // Rows are stored bottom-up.
    const uint64_t stored_row = static_cast<uint64_t>(height - 1 - y);
    const uint8_t* colours = body + colour_at + stored_row * colour_stride;
    const uint8_t* mask = has_mask ? body + mask_at + stored_row * mask_stride : nullptr;
    for (int x = 0; x < width; ++x) {
      uint8_t rgb[3] = {0, 0, 0};
      uint8_t alpha = 255;
      if (bits >= 24) {
        const uint8_t* bgr = colours + static_cast<size_t>(x) * (bits / 8);
        rgb[0] = bgr[2];
        rgb[1] = bgr[1];
        rgb[2] = bgr[0];
        if (use_alpha) alpha = bgr[3];
      } else {
        const int per_byte = 8 / bits;
        const int shift = (per_byte - 1 - x % per_byte) * bits;
        const uint32_t index = (colours[x / per_byte] >> shift) & ((1u << bits) - 1);
        if (index < entries) {
          rgb[0] = table[index * 4 + 2];
          rgb[1] = table[index * 4 + 1];
          rgb[2] = table[index * 4];
        }
      }
      if (!use_alpha && mask && ((mask[x / 8] >> (7 - x % 8)) & 1)) {
        const bool inverts = rgb[0] != 0 || rgb[1] != 0 || rgb[2] != 0;
        rgb[0] = rgb[1] = rgb[2] = 0;
        alpha = inverts ? 255 : 0;
      }
      SetPixel(pic, x, y, rgb, alpha);
    }
  }
  return true;
}

}  // namespace

bool ParseCursorFile(const uint8_t* data, size_t size, CursorPicture& out) {
  if (!data || size < kDirectoryBytes) return false;
  if (Get16(data) != 0 || Get16(data + 2) != kCursorType) return false;
  const size_t count = Get16(data + 4);
  if (count == 0 || kDirectoryBytes + count * kEntryBytes > size) return false;

  DirectoryEntry best{};
  bool have = false;
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = data + kDirectoryBytes + i * kEntryBytes;
    DirectoryEntry entry{e[0] == 0 ? 256 : e[0], e[1] == 0 ? 256 : e[1], Get16(e + 4),
                         Get16(e + 6),           Get32(e + 8),           Get32(e + 12)};
    // Every picture the directory names must lie inside the file.
    if (entry.bytes == 0 || entry.offset > size || entry.bytes > size - entry.offset) return false;
    if (!have || entry.width * entry.height > best.width * best.height) best = entry;
    have = true;
  }

  CursorPicture picture;
  const uint8_t* body = data + best.offset;
  const bool read = IsPng(body, best.bytes) ? ReadPngBody(body, best.bytes, picture)
                                            : ReadBmpBody(body, best.bytes, picture);
  if (!read) return false;
  if (best.hot_x >= picture.width || best.hot_y >= picture.height) return false;
  picture.hot_x = best.hot_x;
  picture.hot_y = best.hot_y;
  out = std::move(picture);
  return true;
}

}  // namespace orivane
