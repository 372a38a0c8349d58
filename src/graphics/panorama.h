// `panoramatest`: the composed scene shown as if on the inside of a
// cylinder. Column x of the screen (width W, height H) shows column x of the
// scene scaled vertically about the middle row by
//   f(x) = 1 − cos((x − W/2) × 3.14 / W),
// so the middle column shrinks to nothing and the edge columns keep nearly
// their height; the rows a column leaves free are black. The picture stays
// until the player clicks (a left click, Space or Enter, the skip key or
// skip mode; a scripted player out of input clicks at once); then the window
// shows the screen as it was. The screen itself is not changed.
#pragma once

#include "platform/display_surface.h"

namespace orivane {

struct Engine;

// The panorama of `scene` (any size) into `out`, which takes its size.
void PanoramaPicture(const DisplaySurface& scene, DisplaySurface& out);

// The whole command: compose, show, wait, show the screen again.
void RunPanoramaTest(Engine& engine);

}  // namespace orivane
