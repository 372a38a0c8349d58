// Transformed sprite drawing: scaled and rotated (`drawsp2`, `drawbg2`) and
// through a general 2×2 matrix (`drawsp3`). Every destination pixel of the
// covered area is mapped back into the source cell in 16.16 fixed point and
// sampled nearest-neighbour, then blended by the sprite rules of
// sprite_draw.h. While consecutive destination pixels of a row hit the same
// source pixel, the colour blended for the first is written again.
#pragma once

#include "graphics/image_surface.h"
#include "graphics/mul_table.h"
#include "graphics/pixel_view.h"

namespace orivane {

// (x, y) is where the cell's centre lands; scales are percentages; the angle
// is in degrees (positive turns clockwise on screen).
void DrawTransformed(const MulTable& mul, ImageSurface& src, PixelView dst, int x, int y,
                     int scale_x, int scale_y, int angle);

// The matrix (a b; c d) in thousandths maps cell offsets from its centre to
// screen offsets from (x, y). A matrix with |det| < 0.001 draws nothing.
void DrawWithMatrix(const MulTable& mul, ImageSurface& src, PixelView dst, int x, int y, int a,
                    int b, int c, int d);

}  // namespace orivane
