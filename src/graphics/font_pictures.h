// Picture tools that draw text into BMP files for authors: `createdummy`
// writes a placeholder picture labelled with its own file name, `font2bmp` a
// test row of characters in a chosen face and size. Both write only inside
// the game directory.
#pragma once

#include <cstdint>
#include <string_view>

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;
class CommandTable;

// The characters of `font2bmp`'s row (57 of them, one byte each).
inline constexpr std::string_view kFontTestRow =
    " 0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ'.?!+-=*/<>()^\\%&$\":";

// The placeholder's look: at least kDummyMinWidth × kDummyHeight, mid grey
// with a white frame, the name in white "ＭＳ ゴシック" of kDummyCharWidth ×
// kDummyCharHeight at kDummyMargin from the top-left corner; wider when the
// name needs it.
inline constexpr int kDummyMinWidth = 160;
inline constexpr int kDummyHeight = 120;
inline constexpr int kDummyMargin = 8;
inline constexpr int kDummyCharWidth = 8;
inline constexpr int kDummyCharHeight = 16;
inline constexpr uint32_t kDummyBackground = 0x808080;
inline constexpr uint32_t kDummyInk = 0xFFFFFF;

// The placeholder picture for a Shift-JIS name (24-bit).
ImageSurface MakeDummyPicture(Engine& engine, std::string_view sjis_name);

// `createdummy` and `font2bmp`.
void RegisterFontPictureCommands(CommandTable& table);

}  // namespace orivane
