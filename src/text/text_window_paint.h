// Painting the text window into a picture (the scene buffer during
// composition): the window's tint or picture, then the page's glyphs with
// their shadow. All blending goes through the MulTable, so the bytes are the
// same on every machine:
//   tint         out = in × c / 255 per channel (a tint of #ffffff paints nothing)
//   picture      drawn at the frame's top-left with its transparency
//   shadow       out = in × (255 − a') / 255, a' the coverage at (x − dx, y − dy)
//   glyph        out = min(255, in × (255 − a) / 255 + colour × a / 255)
// The shadow falls one pixel to the right unless `shadedistance` moved it.
#pragma once

#include "graphics/mul_table.h"
#include "graphics/pixel_view.h"

namespace orivane {

struct TextWindow;

// The window rectangle clipped to a picture of the given size (possibly empty).
PixelRect TextWindowFrame(const TextWindow& window, int width, int height);

// Paints the window into `target` within `area` (inclusive). A window whose
// clipped rectangle is empty paints nothing, glyphs included.
void PaintTextWindow(TextWindow& window, const MulTable& mul, PixelView target, PixelRect area);

}  // namespace orivane
