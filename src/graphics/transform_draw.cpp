#include "graphics/transform_draw.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace orivane {
namespace {

// The sprite rules for one pixel. Returns false when the source pixel is
// transparent (nothing is written).
class PixelBlender {
 public:
  PixelBlender(const MulTable& mul, const ImageSurface& src) : mul_(mul), src_(src) {
    const int cells = std::max(1, src.cells);
    const int cell = std::clamp(src.cell, 0, cells - 1);
    const int stride = src.width / cells;
    visible_ = src.mode == kModeAlpha ? stride / 2 : stride;
    origin_ = cell * stride;
    op_ = src.opacity == -1 ? -1 : std::clamp(src.opacity, 0, 255);
    const uint8_t* top = src.RowFromTop(0);
    if (src.bit_count == 8) {
      key_index_ = src.mode == kModeGivenKey  ? src.key_index
                   : src.mode == kModeRightUp ? top[src.width - 1]
                   : src.mode == kModeLeftUp  ? top[0]
                                              : -1;
    } else if (src.mode == kModeGivenKey) {
      key_[0] = static_cast<uint8_t>(src.key_blue);
      key_[1] = static_cast<uint8_t>(src.key_green);
      key_[2] = static_cast<uint8_t>(src.key_red);
    } else {
      std::memcpy(key_, top + (src.mode == kModeRightUp ? (src.width - 1) * 3 : 0), 3);
    }
  }
  int width() const { return visible_; }

  bool Blend(int sx, int sy, const uint8_t* d, uint8_t* out) const {
    const uint8_t* row = src_.RowFromTop(sy);
    const int col = origin_ + sx;
    uint8_t s[3];
    if (src_.bit_count == 8) {
      if (src_.mode == kModeAlpha) return false;
      const int index = row[col];
      if (index == key_index_) return false;
      std::memcpy(s, &src_.palette[static_cast<size_t>(index) * 4], 3);
    } else {
      std::memcpy(s, row + col * 3, 3);
      const bool keyed =
          src_.mode == kModeLeftUp || src_.mode == kModeGivenKey || src_.mode == kModeRightUp;
      if (keyed && std::memcmp(s, key_, 3) == 0) return false;
      if (src_.mode == kModeAlpha) {
        const int m = row[(col + visible_) * 3];
        for (int c = 0; c < 3; ++c) {
          if (src_.is_text) {
            const int v = mul_(d[c], m) + (op_ < 0 ? s[c] : mul_(op_, s[c]));
            out[c] = static_cast<uint8_t>(std::min(255, v));
          } else {
            const int a = op_ < 0 ? 255 - m : mul_(255 - m, op_);
            out[c] = static_cast<uint8_t>(mul_(s[c], a) + mul_(d[c], 255 - a));
          }
        }
        return true;
      }
    }
    for (int c = 0; c < 3; ++c)
      out[c] = op_ < 0 ? s[c] : static_cast<uint8_t>(mul_(s[c], op_) + mul_(d[c], 255 - op_));
    return true;
  }

 private:
  const MulTable& mul_;
  const ImageSurface& src_;
  int visible_ = 0;
  int origin_ = 0;
  int op_ = -1;
  int key_index_ = -1;
  uint8_t key_[3] = {};
};

// Walks the destination area; the source position starts at (u0, v0) for the
// area's top-left pixel and moves by (du_x, dv_x) per column and (du_y, dv_y)
// per row, all in 16.16 fixed point.
void MapArea(const PixelBlender& blend, int height, PixelView dst, PixelRect area, int64_t u0,
             int64_t v0, int64_t du_x, int64_t dv_x, int64_t du_y, int64_t dv_y) {
  area = ClipRect(area, dst.width, dst.height);
  if (area.empty()) return;
  const int64_t w = blend.width();
  for (int y = area.top; y <= area.bottom; ++y) {
    const int64_t row = y - area.top;
    int64_t u = u0 + du_y * row, v = v0 + dv_y * row;
    uint8_t* out = dst.RowFromTop(y) + area.left * 3;
    int64_t last_su = -1, last_sv = -1;
    bool last_drawn = false;
    uint8_t last[3] = {};
    for (int x = area.left; x <= area.right; ++x, out += 3, u += du_x, v += dv_x) {
      if (u < 0 || v < 0) continue;
      const int64_t su = u >> 16, sv = v >> 16;
      if (su >= w || sv >= height) continue;
      if (su == last_su && sv == last_sv) {
        if (last_drawn) std::memcpy(out, last, 3);
        continue;
      }
      last_su = su;
      last_sv = sv;
      last_drawn = blend.Blend(static_cast<int>(su), static_cast<int>(sv), out, last);
      if (last_drawn) std::memcpy(out, last, 3);
    }
  }
}

int64_t Fixed(double v) {
  return static_cast<int64_t>(v * 65536.0);
}

}  // namespace

void DrawTransformed(const MulTable& mul, ImageSurface& src, PixelView dst, int x, int y,
                     int scale_x, int scale_y, int angle) {
  if (!src.Drawable() || dst.empty() || scale_x == 0 || scale_y == 0) return;
  if (src.cell >= src.cells) src.cell = src.cells - 1;
  PixelBlender blend(mul, src);
  const int cw = blend.width(), h = src.height;
  if (cw <= 0) return;
  const double theta = -(angle % 360) * 0.017453292519943278;
  double cx = std::cos(theta), sx = std::sin(theta);
  double cy = cx, sy = sx;
  if (scale_x != 100) {
    cx *= 100.0 / scale_x;
    sx *= 100.0 / scale_x;
  }
  if (scale_y != 100) {
    cy *= 100.0 / scale_y;
    sy *= 100.0 / scale_y;
  }
  const double wx = cw * scale_x * 0.01, hy = h * scale_y * 0.01;
  const int64_t r = static_cast<int64_t>(0.5 * std::sqrt(wx * wx + hy * hy));
  PixelRect area{static_cast<int>(std::clamp<int64_t>(x - r, INT32_MIN, INT32_MAX)),
                 static_cast<int>(std::clamp<int64_t>(y - r, INT32_MIN, INT32_MAX)),
                 static_cast<int>(std::clamp<int64_t>(x + r, INT32_MIN, INT32_MAX)),
                 static_cast<int>(std::clamp<int64_t>(y + r, INT32_MIN, INT32_MAX))};
  const PixelRect clipped = ClipRect(area, dst.width, dst.height);
  if (clipped.empty()) return;
  // Source = cell centre + R(θ)·S⁻¹·(destination − (x, y)).
  const int64_t a11 = Fixed(cx), a12 = -Fixed(sx), a21 = Fixed(sy), a22 = Fixed(cy);
  const int64_t dx = clipped.left - int64_t{x}, dy = clipped.top - int64_t{y};
  const int64_t u0 = (int64_t{cw} << 15) + a11 * dx + a12 * dy;
  const int64_t v0 = (int64_t{h} << 15) + a21 * dx + a22 * dy;
  MapArea(blend, h, dst, clipped, u0, v0, a11, a21, a12, a22);
}

void DrawWithMatrix(const MulTable& mul, ImageSurface& src, PixelView dst, int x, int y, int a,
                    int b, int c, int d) {
  if (!src.Drawable() || dst.empty()) return;
  if (src.cell >= src.cells) src.cell = src.cells - 1;
  const double det = (static_cast<double>(a) * d - static_cast<double>(b) * c) / 1000000.0;
  if (std::fabs(det) < 0.001) return;
  PixelBlender blend(mul, src);
  const int64_t cw = blend.width(), h = src.height;
  if (cw <= 0) return;
  // The inverse of (a b; c d)/1000.
  const int64_t i11 = Fixed(d / 1000.0 / det), i12 = Fixed(-b / 1000.0 / det);
  const int64_t i21 = Fixed(-c / 1000.0 / det), i22 = Fixed(a / 1000.0 / det);
  const int64_t half_w = std::llabs(cw * a) / 2000 + std::llabs(h * b) / 2000 + 2;
  const int64_t half_h = std::llabs(cw * c) / 2000 + std::llabs(h * d) / 2000 + 2;
  PixelRect area{static_cast<int>(std::clamp<int64_t>(x - half_w, INT32_MIN, INT32_MAX)),
                 static_cast<int>(std::clamp<int64_t>(y - half_h, INT32_MIN, INT32_MAX)),
                 static_cast<int>(std::clamp<int64_t>(x + half_w, INT32_MIN, INT32_MAX)),
                 static_cast<int>(std::clamp<int64_t>(y + half_h, INT32_MIN, INT32_MAX))};
  const PixelRect clipped = ClipRect(area, dst.width, dst.height);
  if (clipped.empty()) return;
  const int64_t dx = clipped.left - int64_t{x}, dy = clipped.top - int64_t{y};
  const int64_t u0 = (cw << 15) + i11 * dx + i12 * dy;
  const int64_t v0 = (h << 15) + i21 * dx + i22 * dy;
  MapArea(blend, static_cast<int>(h), dst, clipped, u0, v0, i11, i21, i12, i22);
}

}  // namespace orivane
