// A 24-bit picture in memory: blue-green-red pixels, rows bottom-up, each row
// padded to a multiple of four bytes. The SPB decoder produces it and the BMP
// helpers of the archive tool read and write it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orivane {

struct Picture24 {
  int width = 0;
  int height = 0;
  size_t stride = 0;  // bytes per row
  std::vector<uint8_t> pixels;

  static size_t StrideFor(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }
  void Create(int w, int h) {
    width = w;
    height = h;
    stride = StrideFor(w);
    pixels.assign(stride * static_cast<size_t>(h), 0);
  }
  // First byte of the row that is `y` pixels from the top.
  uint8_t* RowFromTop(int y) { return pixels.data() + static_cast<size_t>(height - 1 - y) * stride; }
  const uint8_t* RowFromTop(int y) const {
    return pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
  }
};

}  // namespace orivane
