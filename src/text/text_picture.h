// Text pictures: the glyphs of a ":s" image tag. Graphics lays the picture
// out (cells of the text followed by its mask, black, masks clear) and calls
// the renderer, which draws
//   - the mask once: the cell filled white, the text drawn in black;
//   - for each colour k of the tag, the text in colour k on black into cell
//     k, with the mask copied beside it.
// The pen starts at the left and moves by the advance for every two-byte
// unit; a blank or tab is stepped over without moving it; a unit whose pen
// lies past the cell is not drawn. Decoration 0 draws with the glyph method
// and the text window's shadow; 1 draws the font at the glyph size without
// smoothing; 2 does the same with a black outline one pixel around.
// The face and weight are those of `spfont` when it is set, else the text
// window's.
#pragma once

namespace orivane {

struct Engine;
struct ImageSurface;
struct ParsedTag;
struct TextPictureLayout;

// Makes the renderer below the one graphics calls for every ":s" tag.
void InstallTextPictureRenderer(Engine& engine);

// Draws the glyphs into a surface that PrepareTextPicture laid out for
// `layout`; a surface of another size is left as it is.
void RenderTextPicture(Engine& engine, ImageSurface& surface, const ParsedTag& tag,
                       const TextPictureLayout& layout);

}  // namespace orivane
