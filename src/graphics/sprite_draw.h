// Sprite drawing: the software routine that puts a picture's current cell into
// a 24-bit buffer with its transparency mode and opacity. Every blend follows
// the MulTable arithmetic (a·b/255, truncated), so results are exact to the
// byte; 24-bit rows go through the row blenders of row_blend.h:
//   copy            d = s                 | with opacity op: s·op + d·(255−op)
//   colour key      key pixels skipped, others as copy
//   alpha picture   d = s·(255−m) + d·m   | a = (255−m)·op; d = s·a + d·(255−a)
//   alpha text      d = min(255, d·m + s) | d = min(255, d·m + op·s)
// where m is the blue byte of the mask half of the cell (0 opaque, 255 clear).
// Sources are 24-bit pictures or 8-bit pictures with 256 colours; anything
// else (1-bit, 4-bit) is not drawn.
#pragma once

#include "graphics/image_surface.h"
#include "graphics/mul_table.h"
#include "graphics/pixel_view.h"
#include "graphics/row_blend.h"

namespace orivane {

// Draws `src`'s current cell with its top-left at (x, y), clipped to `clip`
// (inclusive; nullptr = the whole destination). A cell index past the last
// cell is set to the last cell and kept.
void DrawSprite(const MulTable& mul, ImageSurface& src, PixelView dst, const PixelRect* clip, int x,
                int y);
// The same with the given row blenders (DrawSprite uses FastRowBlenders();
// tests draw with the plain ones as the reference).
void DrawSpriteWith(const RowBlenders& rows, const MulTable& mul, ImageSurface& src, PixelView dst,
                    const PixelRect* clip, int x, int y);

// True when the pixel (x, y) of the current cell counts as transparent: the
// key colour in the key modes, a mask byte above 240 in alpha mode.
bool IsTransparentPixel(const ImageSurface& src, int x, int y);

}  // namespace orivane
