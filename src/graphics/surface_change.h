// What changed between two pictures of the same size, so that the window is
// handed only the changed part:
//
//   SurfaceRect ChangedPart(const DisplaySurface& before, const DisplaySurface& after);
//   void CopyPart(DisplaySurface& to, const DisplaySurface& from, const SurfaceRect& part);
#pragma once

#include "platform/display_surface.h"

namespace orivane {

// The smallest rectangle outside which `after` has the same pixels as
// `before` (row padding does not count); empty when they are alike. Both
// must have the same width and height.
SurfaceRect ChangedPart(const DisplaySurface& before, const DisplaySurface& after);

// Copies the pixels of `part` (inside both pictures) from `from` into `to`.
void CopyPart(DisplaySurface& to, const DisplaySurface& from, const SurfaceRect& part);

}  // namespace orivane
