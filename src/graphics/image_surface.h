// ImageSurface: the one holder of a picture (background, sprite, standing
// picture, scratch buffers) and of the state its image tag gave it. Pixels are
// kept as the picture's own bottom-up rows, each padded to four bytes:
// 24-bit blue-green-red, or 1/4/8-bit indices into a colour table of
// blue-green-red-reserved entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/pixel_view.h"

namespace orivane {

enum TransparencyMode : int32_t {
  kModeLeftUp = 0,    // key colour = the top-left pixel
  kModeAlpha = 1,     // each cell is the picture followed by its mask
  kModeGivenKey = 2,  // key colour (or colour index) from the tag
  kModeCopy = 3,      // opaque
  kModeRightUp = 4,   // key colour = the top-right pixel of the whole picture
};

inline constexpr int32_t kNoAnimation = 0xFFFFFF;
// Pictures larger than this many pixel bytes are refused; no real game comes
// near it, and a lying header cannot make the engine allocate without bound.
inline constexpr uint64_t kMaxPictureBytes = 256ull << 20;
inline constexpr int32_t kMaxPictureSide = 32767;

struct ImageSurface {
  std::string tag;          // the tag last loaded; empty = nothing loaded
  uint32_t anim_start = 0;  // engine time when the current cell began
  int32_t step = 1;         // +1 / -1 (ping-pong animation)
  int32_t key_red = 0, key_green = 0, key_blue = 0;
  int32_t key_index = 0;
  bool is_text = false;  // rendered from a ":s" tag
  int32_t mode = kModeCopy;
  int32_t opacity = -1;  // -1 = never set
  int32_t cell = 0;
  int32_t cells = 1;
  int32_t interval = 0;  // ms per cell; -1 = per-cell list; kNoAnimation
  std::vector<int32_t> intervals;
  int32_t loop_mode = 0;

  // The picture. `loaded` is false for an empty surface.
  bool loaded = false;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bit_count = 0;
  int32_t stride = 0;
  int32_t colors_used = 0;       // as the picture's header gave it
  int32_t color_count = 0;       // 2, 16, 256, or 0 for true colour
  std::vector<uint8_t> palette;  // color_count entries of 4 bytes
  std::vector<uint8_t> pixels;   // stride × height bytes

  // Frees the picture and forgets the tag (animation state is kept).
  void Release();
  // Release, then every tag field back to its start value.
  void Reset();
  // A blank (black) picture; false when the size is not acceptable.
  bool CreateBlank(int32_t w, int32_t h, int32_t bits);

  int32_t CellWidth() const;   // visible width of one cell (halved in alpha mode)
  int32_t CellStride() const;  // stored width of one cell
  bool Drawable() const {
    return loaded && (bit_count == 24 || (bit_count == 8 && color_count == 256));
  }

  uint8_t* RowFromTop(int32_t y) {
    return pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
  }
  const uint8_t* RowFromTop(int32_t y) const {
    return pixels.data() + static_cast<size_t>(height - 1 - y) * stride;
  }
  // A view of a 24-bit surface (an empty view otherwise).
  PixelView View();
  // Fills a rectangle (inclusive) with 0xRRGGBB and forgets the tag, so the
  // next load of any tag loads again. 24-bit surfaces only.
  void Fill(PixelRect r, uint32_t rgb);
  // Turns a 1/4/8-bit picture into a 24-bit one through its colour table.
  void ConvertTo24();
};

// Bytes per row of a picture: rows are padded to a multiple of four bytes.
inline int64_t RowStride(int64_t width, int64_t bits) {
  return ((width * bits + 31) / 32) * 4;
}
// The colour-table size that belongs to a bit count.
int32_t ColorCountForBits(int32_t bits);

}  // namespace orivane
