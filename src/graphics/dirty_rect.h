// DirtyRect: the part of the screen that commands have changed since the last
// transition. Inclusive edges; all four zero means empty. Every addition grows
// it to the bounding box and clamps it to the screen.
#pragma once

#include <algorithm>
#include <cstdint>

#include "graphics/pixel_view.h"

namespace orivane {

struct DirtyRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;

  bool IsEmpty() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  void Clear() { left = top = right = bottom = 0; }
  void Add(int32_t l, int32_t t, int32_t r, int32_t b, int32_t screen_w, int32_t screen_h) {
    if (IsEmpty()) {
      left = l;
      top = t;
      right = r;
      bottom = b;
    } else {
      left = std::min(left, l);
      top = std::min(top, t);
      right = std::max(right, r);
      bottom = std::max(bottom, b);
    }
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, screen_w - 1);
    bottom = std::min(bottom, screen_h - 1);
  }
  PixelRect Rect() const { return PixelRect{left, top, right, bottom}; }
};

}  // namespace orivane
