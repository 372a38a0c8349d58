#include "archive/spb.h"

#include "archive/bit_reader.h"

namespace orivane {
namespace {

// The fewest bits a stream can use for its picture: the size, and per channel
// the first sample plus a 3-bit code for every group of four further samples.
uint64_t MinimumBits(uint64_t width, uint64_t height) {
  uint64_t pixels = width * height;
  uint64_t groups = pixels > 0 ? (pixels - 1) / 4 : 0;
  return 32 + 3 * (8 + 3 * groups);
}

// Decodes one channel (byte `channel` of every pixel). Returns false when the
// input ran out.
bool DecodeChannel(BitReader& bits, DisplaySurface& pic, int channel) {
  const int width = pic.width;
  const int height = pic.height;
  uint32_t v;
  if (!bits.Read(8, v)) return false;
  uint32_t previous = v;  // unsigned: only its low 8 bits are ever stored
  if (width > 0 && height > 0) pic.RowFromTop(0)[channel] = static_cast<uint8_t>(previous);
  int row = 0;
  int column = 1;
  int direction = 1;
  // A picture without pixels (width 0) is read through but has no row to store into.
  uint8_t* line = height > 0 && width > 0 ? pic.RowFromTop(0) + channel : nullptr;
  do {
    uint32_t code;
    if (!bits.Read(3, code)) return false;
    int n;
    if (code == 0) {
      n = 0;
    } else if (code <= 6) {
      n = static_cast<int>(code) + 2;
    } else {
      uint32_t extra;
      if (!bits.Read(1, extra)) return false;
      n = 1 + static_cast<int>(extra);
    }
    for (int s = 0; s < 4; ++s) {
      if (n == 8) {
        if (!bits.Read(8, previous)) return false;
      } else if (n > 0) {
        if (!bits.Read(n, v)) return false;
        previous = (v & 1) ? previous + (v + 1) / 2 : previous - v / 2;
      }
      // A picture one pixel wide begins at column 1, outside it: such samples
      // (and those below the last row) are read but not stored.
      if (row < height && column >= 0 && column < width) line[column * 3] = static_cast<uint8_t>(previous);
      column += direction;
      if (column < 0 || column >= width) {
        ++row;
        direction = column < 0 ? 1 : -1;
        column = column < 0 ? 0 : width - 1;
        if (row < height && width > 0) line = pic.RowFromTop(row) + channel;
      }
    }
  } while (row < height);
  return true;
}

}  // namespace

SpbResult DecodeSpb(const uint8_t* in, size_t size, DisplaySurface& out) {
  out = DisplaySurface{};
  BitReader bits(in, size);
  uint32_t width, height;
  if (!bits.Read(16, width) || !bits.Read(16, height)) return SpbResult::kRejected;
  // A stream cannot describe more pixels than its bits allow; checking this
  // first keeps a few hostile bytes from allocating gigabytes.
  if (static_cast<uint64_t>(size) * 8 < MinimumBits(width, height)) return SpbResult::kRejected;
  if (DisplaySurface::StrideFor(static_cast<int>(width)) * height > kMaxSpbPixelBytes) return SpbResult::kRejected;
  out.Resize(static_cast<int>(width), static_cast<int>(height));
  for (int channel = 0; channel < 3; ++channel)
    if (!DecodeChannel(bits, out, channel)) return SpbResult::kTruncated;
  return SpbResult::kOk;
}

}  // namespace orivane
