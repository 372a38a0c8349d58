// The picture tools authors run from a script to prepare their files. They
// read pictures through the engine's loader and write 24-bit BMP files
// through the one BMP encoder (a temporary file, then a rename). Every name
// they read or write stays inside the game directory; a name outside, a size
// beyond the picture or a file that cannot be written is a reported error.
//   bmpcut tag,columns,rows  the tag's first cell cut into columns × rows
//                            pieces "_<tag><column><row>.bmp"
//   chainbmp file            the picture joined to the right of "out.bmp"
//   bw2a name                "<name>_b.bmp" and "<name>_w.bmp" → "out\<name>.bmp"
//   bw2a2 name               "<name>_b.bmp" on white                → "out\<name>.bmp"
//   bw2a3 file               "b\<file>" and "w\<file>"            → "out\<file>"
//   grptest file             the picture's colours counted into "out.txt"
//   convgif file             the picture made the background
//   panoramatest             the scene shown on a cylinder (panorama.h)
#pragma once

#include <string>

#include "graphics/image_surface.h"

namespace orivane {

class CommandTable;

// The alpha picture of the bw2a family from two 24-bit renderings of one
// picture, on black and on white: twice as wide, the black rendering's
// colours at the left and the mask at the right. Where both renderings agree
// the mask is 0 (opaque); elsewhere it is the grey of white minus black,
// ((wb + wg + wr) − (bb + bg + br)) / 3, kept within 0..255. False when the
// renderings differ in size or are not 24-bit, or the result is too wide.
bool JoinBlackAndWhite(const ImageSurface& on_black, const ImageSurface& on_white,
                       ImageSurface& out);

// What `grptest` writes for a 24-bit picture: its name, size and number of
// distinct colours, then the commonest colours (at most kListedColours) with
// their pixel counts, most frequent first. See docs/graphics.md.
inline constexpr size_t kListedColours = 256;
std::string ColourReport(const std::string& name, const ImageSurface& picture);

void RegisterPictureToolCommands(CommandTable& table);

}  // namespace orivane
