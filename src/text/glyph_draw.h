// Blending a glyph cell onto a 24-bit picture in the text colour, with the
// text shadow: out = min(255, in × (255 − a)/255 + colour × a/255) per
// channel, every product from the MulTable. The plain shadow darkens each
// pixel's right neighbour to in × (255 − a)/255 just before that neighbour is
// blended; a shadow moved by `shadedistance` is darkened at its offset first,
// then the glyph is blended over it.
#pragma once

#include <cstdint>

#include "graphics/mul_table.h"
#include "graphics/pixel_view.h"
#include "text/glyph_method.h"

namespace orivane {

struct GlyphPaint {
  uint32_t rgb = 0xFFFFFF;  // text colour 0xRRGGBB
  bool shadow = false;
  bool shadow_offset_set = false;  // `shadedistance` gave the offset below
  int32_t shadow_dx = 0;
  int32_t shadow_dy = 0;
};

// Draws the cell with its top-left corner at (x, y), clipped to the picture.
// Returns the rectangle of pixels it changed (glyph and shadow, clipped;
// empty when nothing was on the picture).
PixelRect DrawGlyph(PixelView target, int32_t x, int32_t y, const GlyphCell& cell,
                    const GlyphPaint& paint, const MulTable& mul);

}  // namespace orivane
