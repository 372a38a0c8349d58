// Putting glyphs on the page: the font story text and ruby are drawn with,
// and the step that stores a glyph cell in the page's text layer. The layer
// is what composition paints over the window, so a character appears on the
// screen when the area it dirtied is shown.
#pragma once

#include <cstdint>

#include "graphics/mul_table.h"
#include "graphics/pixel_view.h"
#include "text/glyph_method.h"

namespace orivane {

struct TextWindow;

// The page's font: its face, the glyph cell, bold, and the writing direction.
GlyphFont PageFont(const TextWindow& window);

// The ruby font: `rubyon`'s face (else the page's), its size (else half the
// glyph cell), always bold.
GlyphFont RubyFont(const TextWindow& window);

// Stores the cell's coverage at (x, y) in the page's text layer in colour
// 0xRRGGBB (blank pixels leave what is there). Returns the cell with its
// shadow's reach, clipped to the layer: what to show again.
PixelRect PutGlyphOnPage(TextWindow& page, const MulTable& mul, int32_t x, int32_t y,
                         const GlyphCell& cell, uint32_t rgb);

}  // namespace orivane
