#include "support/cursor_files.h"

namespace orivane::test {

namespace {

void Put16(std::string& s, uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

}  // namespace

std::string Le16(uint32_t v) {
  std::string s;
  Put16(s, v);
  return s;
}
std::string Le32(uint32_t v) {
  std::string s;
  Put32(s, v);
  return s;
}

std::string CursorFile(const std::vector<CursorImage>& images) {
  std::string file;
  Put16(file, 0);
  Put16(file, 2);
  Put16(file, static_cast<uint32_t>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (const CursorImage& i : images) {
    file.push_back(static_cast<char>(i.width & 0xFF));  // 256 is written as 0
    file.push_back(static_cast<char>(i.height & 0xFF));
    file.push_back(0);
    file.push_back(0);
    Put16(file, static_cast<uint32_t>(i.hot_x));
    Put16(file, static_cast<uint32_t>(i.hot_y));
    Put32(file, static_cast<uint32_t>(i.body.size()));
    Put32(file, offset);
    offset += static_cast<uint32_t>(i.body.size());
  }
  for (const CursorImage& i : images) file += i.body;
  return file;
}

std::string BmpBody(int w, int h, int bits, const std::vector<uint32_t>& palette,
                    const std::function<uint32_t(int, int)>& value,
                    const std::function<bool(int, int)>& masked, bool with_mask) {
  std::string body;
  Put32(body, 40);
  Put32(body, static_cast<uint32_t>(w));
  Put32(body, static_cast<uint32_t>(2 * h));
  Put16(body, 1);
  Put16(body, static_cast<uint32_t>(bits));
  Put32(body, 0);
  Put32(body, 0);
  Put32(body, 0);
  Put32(body, 0);
  Put32(body, static_cast<uint32_t>(palette.size()));
  Put32(body, 0);
  for (uint32_t rgb : palette) Put32(body, rgb);
  const size_t colour_stride = ((w * bits + 31) / 32) * 4, mask_stride = ((w + 31) / 32) * 4;
  for (int y = h - 1; y >= 0; --y) {
    std::string row(colour_stride, '\0');
    for (int x = 0; x < w; ++x) {
      const uint32_t v = value(x, y);
      if (bits >= 24) {
        for (int k = 0; k < bits / 8; ++k)
          row[x * (bits / 8) + k] = static_cast<char>(v >> (8 * k));
      } else {
        const int per_byte = 8 / bits;
        row[x / per_byte] =
            static_cast<char>(row[x / per_byte] | (v << ((per_byte - 1 - x % per_byte) * bits)));
      }
    }
    body += row;
  }
  if (!with_mask) return body;
  for (int y = h - 1; y >= 0; --y) {
    std::string row(mask_stride, '\0');
    for (int x = 0; x < w; ++x)
      if (masked(x, y)) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    body += row;
  }
  return body;
}

}  // namespace orivane::test
