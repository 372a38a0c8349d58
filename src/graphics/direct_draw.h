// Direct drawing: pictures painted straight into the display surface (what
// the window shows once it is shown with `draw`), past the sprite model, or
// into the scene buffer for a plug-in. The draw commands and the functions
// exported to plug-ins both come here, so each operation has one
// implementation. What is drawn this way lasts until the next transition
// copies a composed frame over it.
#pragma once

#include <cstdint>

namespace orivane {

struct Engine;
struct SpriteSlot;

// Shows the display surface in the window (`draw`, OrvnRefreshWindow).
void ShowDisplay(Engine& engine);

// Fills the display surface with 0xRRGGBB (`drawclear`, `drawfill`).
void FillDisplay(Engine& engine, uint32_t rgb);

// Copies the background to (0, 0) of the display surface; black where it has
// no picture (`drawbg`, DrawBG).
void CopyBackgroundToDisplay(Engine& engine);

// The background, made opaque with one cell (which it keeps), drawn
// transformed with its centre at (x, y) (`drawbg2`, DrawBG2).
void DrawBackgroundTransformed(Engine& engine, int x, int y, int scale_x, int scale_y, int angle);

// The sprite's cell (kept within 0 … cells; past the last the last is drawn
// and kept) and opacity (kept within 0 … 255) are set and stay set; then:
//   DrawSpriteOnDisplay: its top-left at (x, y), unclipped (`drawsp`, DrawSP);
//   DrawSpriteTransformed: scaled and turned about (x, y) (`drawsp2`, DrawSP2);
//   DrawSpriteWithMatrixOnDisplay: through the matrix (a b; c d) in
//   thousandths about (x, y) (`drawsp3`).
// The commands `drawsp2` and `drawsp3` put the opacity back afterwards.
void DrawSpriteOnDisplay(Engine& engine, SpriteSlot& slot, int cell, int opacity, int x, int y);
void DrawSpriteTransformed(Engine& engine, SpriteSlot& slot, int cell, int opacity, int x, int y,
                           int scale_x, int scale_y, int angle);
void DrawSpriteWithMatrixOnDisplay(Engine& engine, SpriteSlot& slot, int cell, int opacity, int x,
                                   int y, int a, int b, int c, int d);

// RenderSprite: sets the cell and the opacity (−1 … 255) as given, which stay
// set, and draws the sprite into the scene buffer at (x, y), clipped to its
// own rectangle there.
void RenderSpriteIntoScene(Engine& engine, SpriteSlot& slot, int cell, int x, int y, int opacity);

// What the window shows, copied into the display surface (`ofscopy`).
void CopyWindowToDisplay(Engine& engine);
// The same, and from there into the background, which then has no tag and
// is named "*bgcpy" (`bgcopy`).
void CopyWindowToBackground(Engine& engine);

}  // namespace orivane
