#include "archive/spb_encoder.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "archive/bit_writer.h"

namespace orivane {
namespace {

// The samples of one channel in the order the decoder reads them (after the
// top-left one), including positions outside the picture that it reads but
// does not store, padded to whole groups of four. Outside samples repeat the
// previous value, which costs nothing.
std::vector<int> ChannelSamples(const DisplaySurface& pic, int channel) {
  std::vector<int> out;
  const int width = pic.width, height = pic.height;
  int row = 0, column = 1, direction = 1;
  int previous = pic.RowFromTop(0)[channel];
  do {
    for (int s = 0; s < 4; ++s) {
      if (row < height && column >= 0 && column < width) previous = pic.RowFromTop(row)[column * 3 + channel];
      out.push_back(previous);
      column += direction;
      if (column < 0 || column >= width) {
        ++row;
        direction = column < 0 ? 1 : -1;
        column = column < 0 ? 0 : width - 1;
      }
    }
  } while (row < height);
  return out;
}

// Bits needed for the difference code of `delta`: odd codes add, even
// codes subtract. Returns 8 or more when the raw sample is the better choice.
int BitsFor(int delta, uint32_t& code) {
  if (delta == 0) {
    code = 0;
    return 0;
  }
  code = delta > 0 ? static_cast<uint32_t>(2 * delta - 1) : static_cast<uint32_t>(-2 * delta);
  int n = 0;
  while ((code >> n) != 0) ++n;
  return n;
}

}  // namespace

bool SpbFits(const DisplaySurface& picture) {
  return picture.width > 0 && picture.height > 0 && picture.width <= 0xFFFF && picture.height <= 0xFFFF;
}

std::vector<uint8_t> EncodeSpb(const DisplaySurface& pic) {
  BitWriter out;
  out.Write(16, static_cast<uint32_t>(pic.width));
  out.Write(16, static_cast<uint32_t>(pic.height));
  for (int channel = 0; channel < 3; ++channel) {
    int previous = pic.RowFromTop(0)[channel];
    out.Write(8, static_cast<uint32_t>(previous));
    std::vector<int> samples = ChannelSamples(pic, channel);
    for (size_t g = 0; g < samples.size(); g += 4) {
      std::array<uint32_t, 4> codes{};
      int n = 0;
      int p = previous;
      for (int s = 0; s < 4; ++s) {
        n = std::max(n, BitsFor(samples[g + s] - p, codes[s]));
        p = samples[g + s];
      }
      if (n == 0) {
        out.Write(3, 0);
      } else if (n <= 2) {
        out.Write(3, 7);
        out.Write(1, static_cast<uint32_t>(n - 1));
      } else if (n < 8) {
        out.Write(3, static_cast<uint32_t>(n - 2));
      } else {
        n = 8;
        out.Write(3, 6);
      }
      for (int s = 0; s < 4; ++s) {
        if (n == 8) out.Write(8, static_cast<uint32_t>(samples[g + s]));
        else if (n > 0) out.Write(n, codes[s]);
      }
      previous = samples[g + 3];
    }
  }
  return out.Finish();
}

}  // namespace orivane
