// The picture the player sees: the screen-sized 24-bit surface that
// transitions copy into and the window shows. Pixels are blue-green-red,
// rows bottom-up, each row padded to a multiple of four bytes. The same
// record holds any plain 24-bit picture below the graphics layer: what the
// SPB decoder produces and what the archive tool reads from and writes to
// BMP files. SurfaceRect names a part of such a picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orivane {

// A rectangle of a picture: its top-left pixel (rows counted from the top)
// and its size.
struct SurfaceRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool Empty() const { return width <= 0 || height <= 0; }
};

struct DisplaySurface {
  int width = 0;
  int height = 0;
  int stride = 0;  // bytes per row
  std::vector<uint8_t> pixels;

  // Bytes per row for a width: three per pixel, padded to four.
  static size_t StrideFor(int w) { return (static_cast<size_t>(w) * 3 + 3) & ~size_t{3}; }

  // A black picture of the given size.
  void Resize(int w, int h) {
    width = w;
    height = h;
    stride = static_cast<int>(StrideFor(w));
    pixels.assign(static_cast<size_t>(stride) * static_cast<size_t>(h), 0);
  }
  // First byte of the row that is `y` pixels from the top.
  uint8_t* RowFromTop(int y) { return pixels.data() + static_cast<size_t>(height - 1 - y) * stride; }
  const uint8_t* RowFromTop(int y) const { return pixels.data() + static_cast<size_t>(height - 1 - y) * stride; }
};

}  // namespace orivane
