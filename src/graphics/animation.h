// The animation step: advances the cells of visible animated sprites and
// standing pictures as time passes, and shows what changed at once. It runs
// from the engine's wake list, so every wait wakes for the next cell.
#pragma once

#include <cstdint>
#include <optional>

namespace orivane {

struct Engine;
struct ImageSurface;

// Puts the animation step into the engine's wake list.
void AttachAnimation(Engine& engine);

// Advances every due cell at the engine time; returns true when the screen changed.
bool StepAnimation(Engine& engine);

// The earliest engine time at which a visible picture's cell becomes due, or
// nothing when no visible picture animates (or a transition runs).
std::optional<uint32_t> NextAnimationDeadline(Engine& engine);

// Advances one surface's cell when it is due at time `now`. Returns true
// when the cell changed and should be redrawn.
bool AdvanceCell(ImageSurface& surface, uint32_t now);

// When the surface's next cell becomes due, seen at time `now`; nothing when
// it does not animate (or has stopped on its last cell).
std::optional<uint32_t> NextCellTime(const ImageSurface& surface, uint32_t now);

// Waits until sprite `n`'s animation has run out (`spwait`).
void WaitForSpriteAnimation(Engine& engine, int n);

}  // namespace orivane
