// The picture of a mouse pointer as the window system takes it: straight
// (not premultiplied) red-green-blue-alpha pixels, rows from the top, and
// the hot spot, the pixel that points.
#pragma once

#include <cstdint>
#include <vector>

namespace orivane {

struct CursorPicture {
  int width = 0;
  int height = 0;
  int hot_x = 0;  // inside the picture: 0 <= hot_x < width
  int hot_y = 0;
  std::vector<uint8_t> rgba;  // width × height × 4 bytes
};

}  // namespace orivane
