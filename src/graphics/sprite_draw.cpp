#include "graphics/sprite_draw.h"

#include <algorithm>
#include <cstring>

namespace orivane {
namespace {

// The part of the cell that lands inside the clip rectangle.
struct Span {
  int src_x;  // first source column (pixels, within the whole picture)
  int src_y;  // first source row, from the top
  int dst_x;
  int dst_y;
  int width;
  int height;
  int mask_offset;  // columns from a pixel to its mask (alpha mode)
};

bool ComputeSpan(ImageSurface& src, const PixelView& dst, const PixelRect* clip, int x, int y,
                 Span& s) {
  PixelRect r = clip ? *clip : PixelRect{0, 0, dst.width - 1, dst.height - 1};
  r = ClipRect(r, dst.width, dst.height);
  if (r.empty()) return false;
  if (src.cells < 1) src.cells = 1;
  if (src.cell >= src.cells) src.cell = src.cells - 1;
  if (src.cell < 0) src.cell = 0;
  const int cell_stride = src.width / src.cells;
  const int visible = src.mode == kModeAlpha ? cell_stride / 2 : cell_stride;
  s.src_x = src.cell * cell_stride;
  s.src_y = 0;
  s.width = visible;
  s.height = src.height;
  s.mask_offset = visible;
  int64_t left = x, top = y;
  if (left < r.left) {
    s.src_x += static_cast<int>(r.left - left);
    s.width -= static_cast<int>(r.left - left);
    left = r.left;
  }
  if (top < r.top) {
    s.src_y += static_cast<int>(r.top - top);
    s.height -= static_cast<int>(r.top - top);
    top = r.top;
  }
  if (left + s.width - 1 > r.right) s.width = static_cast<int>(r.right - left + 1);
  if (top + s.height - 1 > r.bottom) s.height = static_cast<int>(r.bottom - top + 1);
  s.dst_x = static_cast<int>(left);
  s.dst_y = static_cast<int>(top);
  return s.width > 0 && s.height > 0;
}

// The key colour of a 24-bit picture in a colour-key mode, blue-green-red:
// given by the tag, or the top-left / top-right pixel of the whole picture.
void KeyColour(const ImageSurface& src, uint8_t key[3]) {
  if (src.mode == kModeGivenKey) {
    key[0] = static_cast<uint8_t>(src.key_blue);
    key[1] = static_cast<uint8_t>(src.key_green);
    key[2] = static_cast<uint8_t>(src.key_red);
  } else {
    std::memcpy(key, src.RowFromTop(0) + (src.mode == kModeRightUp ? (src.width - 1) * 3 : 0), 3);
  }
}

// -1 means never set; anything else is kept within 0..255 so that a bad value
// from a script can never index outside the MulTable.
int EffectiveOpacity(int opacity) {
  return opacity == -1 ? -1 : std::clamp(opacity, 0, 255);
}

// Calls row(source row, destination row) for every row of the span; the
// pointers are at the span's first pixel. Rows go in memory order (pictures
// and buffers are stored bottom-up, so from the span's bottom row up), and the
// next row's source, its mask (`mask` bytes on, when not 0) and destination
// are fetched into the cache while the current one is drawn.
template <int kBytes, class RowFn>
void ForRows(ImageSurface& src, const PixelView& dst, const Span& s, int mask, RowFn row) {
  const size_t src_bytes = static_cast<size_t>(s.width) * kBytes;
  const size_t dst_bytes = static_cast<size_t>(s.width) * 3;
  auto src_row = [&](int j) { return src.RowFromTop(s.src_y + j) + s.src_x * kBytes; };
  auto dst_row = [&](int j) { return dst.RowFromTop(s.dst_y + j) + s.dst_x * 3; };
  for (int j = s.height - 1; j >= 0; --j) {
    if (j > 0) {
      PrefetchBytes(src_row(j - 1), src_bytes);
      if (mask) PrefetchBytes(src_row(j - 1) + mask, src_bytes);
      PrefetchBytes(dst_row(j - 1), dst_bytes);
    }
    row(src_row(j), dst_row(j));
  }
}

void Draw24(const RowBlenders& rows, ImageSurface& src, const PixelView& dst, const Span& s) {
  const int n = s.width;
  const int op = EffectiveOpacity(src.opacity);
  switch (src.mode) {
    case kModeLeftUp:
    case kModeGivenKey:
    case kModeRightUp: {
      uint8_t key[3];
      KeyColour(src, key);
      ForRows<3>(src, dst, s, 0,
                 [&](const uint8_t* sp, uint8_t* dp) { rows.keyed(dp, sp, n, key, op); });
      return;
    }
    case kModeAlpha: {
      const int mask = s.mask_offset * 3;
      if (src.is_text) {
        ForRows<3>(src, dst, s, mask, [&](const uint8_t* sp, uint8_t* dp) {
          rows.alpha_text(dp, sp, sp + mask, n, op);
        });
      } else if (op < 0) {
        ForRows<3>(src, dst, s, mask,
                   [&](const uint8_t* sp, uint8_t* dp) { rows.alpha(dp, sp, sp + mask, n); });
      } else {
        ForRows<3>(src, dst, s, mask, [&](const uint8_t* sp, uint8_t* dp) {
          rows.alpha_opacity(dp, sp, sp + mask, n, op);
        });
      }
      return;
    }
    default:
      if (op < 0) {
        ForRows<3>(src, dst, s, 0, [&](const uint8_t* sp, uint8_t* dp) {
          std::memcpy(dp, sp, static_cast<size_t>(n) * 3);
        });
      } else {
        ForRows<3>(src, dst, s, 0,
                   [&](const uint8_t* sp, uint8_t* dp) { rows.opacity(dp, sp, n * 3, op); });
      }
      return;
  }
}

void Draw8(const MulTable& mul, ImageSurface& src, const PixelView& dst, const Span& s) {
  if (src.mode == kModeAlpha) return;  // an indexed picture carries no mask
  const int n = s.width;
  const int op = EffectiveOpacity(src.opacity);
  const uint8_t* pal = src.palette.data();
  const uint8_t* opaque = op >= 0 ? mul.Row(op) : nullptr;
  const uint8_t* rest = op >= 0 ? mul.Row(255 - op) : nullptr;
  int key = -1;  // no index equals -1: copy mode
  if (src.mode == kModeGivenKey)
    key = src.key_index;
  else if (src.mode == kModeLeftUp)
    key = src.RowFromTop(0)[0];
  else if (src.mode == kModeRightUp)
    key = src.RowFromTop(0)[src.width - 1];
  ForRows<1>(src, dst, s, 0, [&](const uint8_t* sp, uint8_t* dp) {
    for (int i = 0; i < n; ++i, dp += 3) {
      const int index = sp[i];
      if (index == key) continue;
      const uint8_t* c = pal + index * 4;
      if (op < 0) {
        dp[0] = c[0];
        dp[1] = c[1];
        dp[2] = c[2];
      } else {
        dp[0] = static_cast<uint8_t>(opaque[c[0]] + rest[dp[0]]);
        dp[1] = static_cast<uint8_t>(opaque[c[1]] + rest[dp[1]]);
        dp[2] = static_cast<uint8_t>(opaque[c[2]] + rest[dp[2]]);
      }
    }
  });
}

}  // namespace

void DrawSprite(const MulTable& mul, ImageSurface& src, PixelView dst, const PixelRect* clip, int x,
                int y) {
  DrawSpriteWith(FastRowBlenders(), mul, src, dst, clip, x, y);
}

void DrawSpriteWith(const RowBlenders& rows, const MulTable& mul, ImageSurface& src, PixelView dst,
                    const PixelRect* clip, int x, int y) {
  if (!src.Drawable() || dst.empty()) return;
  Span s;
  if (!ComputeSpan(src, dst, clip, x, y, s)) return;
  if (src.bit_count == 24)
    Draw24(rows, src, dst, s);
  else
    Draw8(mul, src, dst, s);
}

bool IsTransparentPixel(const ImageSurface& src, int x, int y) {
  if (!src.Drawable() || src.mode == kModeCopy) return false;
  const int cells = src.cells > 0 ? src.cells : 1;
  const int cell = std::clamp(src.cell, 0, cells - 1);
  const int cell_stride = src.width / cells;
  const int visible = src.mode == kModeAlpha ? cell_stride / 2 : cell_stride;
  if (x < 0 || y < 0 || x >= visible || y >= src.height) return false;
  const int col = cell * cell_stride + x;
  const uint8_t* row = src.RowFromTop(y);
  if (src.mode == kModeAlpha) {
    if (src.bit_count != 24) return false;
    return row[(col + visible) * 3] > 240;
  }
  const uint8_t* top = src.RowFromTop(0);
  if (src.bit_count == 8) {
    int key = src.mode == kModeGivenKey  ? src.key_index
              : src.mode == kModeRightUp ? top[src.width - 1]
                                         : top[0];
    return row[col] == key;
  }
  uint8_t key[3];
  KeyColour(src, key);
  return std::memcmp(row + col * 3, key, 3) == 0;
}

}  // namespace orivane
