// Windows cursor files (.cur): a directory of pictures, each with its hot
// spot, and the pictures themselves, either BMP bodies (an info header, a
// colour table, the colour rows and a 1-bit AND mask, all bottom-up; 1, 4,
// 8, 24 or 32 bits per pixel) or PNG files. The parser picks one picture and
// turns it into the straight RGBA the window system takes. Everything in the
// file is outside data: every count, size and offset is checked against the
// bytes that are there, and a file that lies is refused as a whole.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/cursor_picture.h"

namespace orivane {

// The largest side of a cursor picture, as the directory can express it.
inline constexpr int kMaxCursorSide = 256;

// Reads the file. Of several pictures the one with the most pixels is taken
// (the first of equal ones). A pixel whose AND bit is set is transparent; a
// 32-bit picture with any alpha uses its alpha instead. An AND bit set over
// a non-black colour asks for the screen to be inverted, which a colour
// cursor cannot do: such a pixel is shown opaque black. False, with `out`
// untouched, when the bytes are not such a file.
bool ParseCursorFile(const uint8_t* data, size_t size, CursorPicture& out);

}  // namespace orivane
