// The cursor file parser on arbitrary bytes. What it accepts must keep its
// promises: a picture within the cursor sizes, pixels for all of it and the
// hot spot inside it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "graphics/cursor_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  orivane::CursorPicture picture;
  if (!orivane::ParseCursorFile(data, size, picture)) return 0;
  if (picture.width < 1 || picture.width > orivane::kMaxCursorSide || picture.height < 1 ||
      picture.height > orivane::kMaxCursorSide ||
      picture.rgba.size() != static_cast<size_t>(picture.width) * picture.height * 4 ||
      picture.hot_x < 0 || picture.hot_x >= picture.width || picture.hot_y < 0 ||
      picture.hot_y >= picture.height)
    std::abort();
  return 0;
}
