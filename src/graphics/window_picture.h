// What the window shows. Every picture handed to the window goes through
// here, and a copy is kept: the display surface may be drawn into without
// being shown (the draw commands), and a shake shows it shifted, so a
// screenshot of "the screen" is taken from this copy, not from the surface.
#pragma once

#include "platform/display_surface.h"

namespace orivane {

struct Engine;

// Shows `picture` in the window and keeps it as what the window shows, with
// the window overlay (a playing movie) drawn over it.
void ShowOnWindow(Engine& engine, const DisplaySurface& picture);

// Shows `picture` moved by (dx, dy) pixels, the strips it leaves uncovered
// black (a shaking screen).
void ShowShiftedOnWindow(Engine& engine, const DisplaySurface& picture, int dx, int dy);

// The last picture shown; the display surface when nothing was shown yet.
const DisplaySurface& WindowPicture(const Engine& engine);

}  // namespace orivane
