// A 24-bit picture in memory, as the SPB decoder produces it and the archive
// tool reads and writes it: the layout of the display surface (blue-green-red
// pixels, rows bottom-up, each row padded to a multiple of four bytes).
#pragma once

#include "graphics/display_surface.h"

namespace orivane {

using Picture24 = DisplaySurface;

}  // namespace orivane
