#include "graphics/image_surface.h"

namespace orivane {

int32_t ColorCountForBits(int32_t bits) {
  switch (bits) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    case 16:
    case 24:
    case 32:
      return 0;
    default:
      return 2;
  }
}

void ImageSurface::Release() {
  loaded = false;
  width = height = bit_count = stride = colors_used = color_count = 0;
  palette.clear();
  pixels.clear();
  pixels.shrink_to_fit();
  is_text = false;
  tag.clear();
}

void ImageSurface::Reset() {
  Release();
  step = 1;
  cells = 1;
  anim_start = 0;
  opacity = -1;
  mode = kModeCopy;
  cell = 0;
  interval = 0;
  loop_mode = 0;
  intervals.clear();
}

bool ImageSurface::CreateBlank(int32_t w, int32_t h, int32_t bits) {
  Release();
  if (w <= 0 || h <= 0 || w > kMaxPictureSide || h > kMaxPictureSide) return false;
  const int64_t row = RowStride(w, bits);
  if (row <= 0 || static_cast<uint64_t>(row) * static_cast<uint64_t>(h) > kMaxPictureBytes)
    return false;
  width = w;
  height = h;
  bit_count = bits;
  stride = static_cast<int32_t>(row);
  color_count = ColorCountForBits(bits);
  palette.assign(static_cast<size_t>(color_count) * 4, 0);
  pixels.assign(static_cast<size_t>(row) * static_cast<size_t>(h), 0);
  loaded = true;
  return true;
}

int32_t ImageSurface::CellStride() const {
  return cells > 0 ? width / cells : width;
}

int32_t ImageSurface::CellWidth() const {
  int32_t w = CellStride();
  return mode == kModeAlpha ? w / 2 : w;
}

PixelView ImageSurface::View() {
  if (!loaded || bit_count != 24) return PixelView{};
  return PixelView(pixels.data(), width, height, stride);
}

void ImageSurface::Fill(PixelRect r, uint32_t rgb) {
  FillRect(View(), r, rgb);
  tag.clear();
}

void ImageSurface::ConvertTo24() {
  if (!loaded || bit_count == 24) return;
  if (bit_count != 1 && bit_count != 4 && bit_count != 8) return;
  const int32_t bits = bit_count;
  std::vector<uint8_t> old_pixels = std::move(pixels);
  std::vector<uint8_t> old_palette = std::move(palette);
  const int32_t old_stride = stride;
  const int32_t w = width, h = height;
  std::string kept_tag = std::move(tag);
  const bool kept_text = is_text;
  CreateBlank(w, h, 24);
  tag = std::move(kept_tag);
  is_text = kept_text;
  const int32_t entries = static_cast<int32_t>(old_palette.size() / 4);
  for (int32_t y = 0; y < h; ++y) {
    const uint8_t* src = old_pixels.data() + static_cast<size_t>(y) * old_stride;
    uint8_t* dst = pixels.data() + static_cast<size_t>(y) * stride;
    for (int32_t x = 0; x < w; ++x) {
      int32_t index;
      if (bits == 8)
        index = src[x];
      else if (bits == 4)
        index = (src[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
      else
        index = (src[x >> 3] >> (7 - (x & 7))) & 1;
      if (index < entries) {
        dst[x * 3] = old_palette[index * 4];
        dst[x * 3 + 1] = old_palette[index * 4 + 1];
        dst[x * 3 + 2] = old_palette[index * 4 + 2];
      }
    }
  }
}

}  // namespace orivane
