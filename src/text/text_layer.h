// TextLayer: the glyphs of the current page, kept apart from the pictures so
// that the window can be painted again (after a sprite change, a transition,
// `textshow`) without drawing the characters anew. One coverage byte per
// screen pixel (0 empty, 255 full) and, per pixel, the glyph colour already
// multiplied by that coverage. Rows run from the top.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "graphics/pixel_view.h"

namespace orivane {

struct TextLayer {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> coverage;  // width × height
  std::vector<uint8_t> colour;    // width × height × 3: blue, green, red, each colour × a / 255
  // The bounding box of the pixels whose coverage is above 0 (empty when the
  // page holds no glyph), so that painting and clearing touch only that.
  PixelRect used;

  // A cleared layer of the given size (a screen size; both at least 0).
  void Resize(int32_t w, int32_t h) {
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
    coverage.assign(static_cast<size_t>(width) * height, 0);
    colour.assign(static_cast<size_t>(width) * height * 3, 0);
    used = PixelRect{};
  }

  // Empties the page's glyphs.
  void Clear() {
    if (used.empty()) return;
    for (int y = used.top; y <= used.bottom; ++y) {
      const size_t row = static_cast<size_t>(y) * width;
      std::fill(coverage.begin() + row + used.left, coverage.begin() + row + used.right + 1, 0);
      std::fill(colour.begin() + (row + used.left) * 3, colour.begin() + (row + used.right + 1) * 3,
                0);
    }
    used = PixelRect{};
  }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }

  uint8_t CoverageAt(int x, int y) const { return coverage[static_cast<size_t>(y) * width + x]; }
  const uint8_t* ColourAt(int x, int y) const {
    return &colour[(static_cast<size_t>(y) * width + x) * 3];
  }

  // Stores one glyph pixel: its coverage and its colour channels already
  // multiplied by the coverage. Pixels outside the layer are ignored.
  void Set(int x, int y, uint8_t a, uint8_t blue_a, uint8_t green_a, uint8_t red_a) {
    if (!Contains(x, y)) return;
    const size_t i = static_cast<size_t>(y) * width + x;
    coverage[i] = a;
    colour[i * 3] = blue_a;
    colour[i * 3 + 1] = green_a;
    colour[i * 3 + 2] = red_a;
    if (a == 0) return;
    if (used.empty()) {
      used = PixelRect{x, y, x, y};
      return;
    }
    if (x < used.left) used.left = x;
    if (x > used.right) used.right = x;
    if (y < used.top) used.top = y;
    if (y > used.bottom) used.bottom = y;
  }
};

}  // namespace orivane
