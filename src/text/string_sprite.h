// Sprites that show a page of text: `strsp` and `strsph` lay a text out as
// story text is laid out, with the grid, glyph size, pitch, bold and shadow
// they are given; `logsp`, `logsph`, `logsp2` and `logsph2` lay out a page of
// the back-log (line feeds end its lines) on the text window's grid. Either
// makes a sprite whose tag is "bklg". The sprite is an
// alpha picture: the glyphs in their colours over their shadow, clear
// elsewhere.
#pragma once

#include <string_view>

#include "graphics/image_surface.h"

namespace orivane {

class CommandTable;
struct Engine;
struct TextWindow;

// The tag of a sprite made from text (such sprites are saved without a tag).
inline constexpr char kTextPageSpriteTag[] = "bklg";

// The page's glyphs and their shadow as an alpha picture of the layer's size.
// False when the page is empty-sized or too large for a picture.
bool MakeTextPagePicture(const TextWindow& page, ImageSurface& out);

void RegisterStringSpriteCommands(CommandTable& table);

}  // namespace orivane
