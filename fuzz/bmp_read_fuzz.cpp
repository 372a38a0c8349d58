// The BMP reader on arbitrary bytes; a decoded picture is also drawn, so that
// sizes the reader accepted are exercised by the sprite routine.
#include <cstddef>
#include <cstdint>

#include "graphics/bmp_read.h"
#include "graphics/sprite_draw.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orivane::ImageSurface picture;
  if (!orivane::DecodeBmp(data, size, picture)) return 0;
  static const orivane::MulTable mul;
  orivane::DisplaySurface screen;
  screen.Resize(64, 48);
  for (int mode = 0; mode <= 4; ++mode) {
    picture.mode = mode;
    picture.opacity = mode == 2 ? 100 : -1;
    picture.cells = 1 + (size % 3);
    orivane::DrawSprite(mul, picture, orivane::PixelView(screen), nullptr, -3, -2);
    orivane::IsTransparentPixel(picture, 1, 1);
  }
  return 0;
}
