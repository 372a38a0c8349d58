// Transitions: how the window goes from what it shows to the newly composed
// scene buffer over a rectangle. Frames are paced by the engine clock, so a
// headless run with its virtual clock is exact and costs no real time.
#pragma once

#include <cstdint>
#include <string>

#include "graphics/mul_table.h"
#include "graphics/pixel_view.h"
#include "graphics/row_blend.h"

namespace orivane {

struct Engine;

// One cross-fade frame: out = fresh·a + old·(255 − a) over the rectangle, for
// the bytes at even (phase 0) or odd (phase 1) offsets from each row's start.
// `a` is kept within 0..255; `rows` chooses the row blenders (tests compare
// the plain ones with the fast ones).
void CrossFadeBytes(const MulTable& mul, PixelView out, PixelView old, PixelView fresh, PixelRect r,
                    int a, int phase, const RowBlenders& rows = FastRowBlenders());

// Runs a transition of `type` lasting `duration` ms over `rect` (inclusive;
// null = the whole screen). `mask` names the mask picture of types 15 and 18
// or the module (and "/parameters") of type 99. Empties the dirty rectangle.
void RunTransition(Engine& engine, int32_t type, int32_t duration, const std::string& mask,
                   const PixelRect* rect);

// The effect argument of `print`, `bg`, `ld`, `cl`, `humanorder` …: a slot
// number alone, or a type, a duration and an optional mask string. Composes
// the scene over the dirty rectangle and runs the transition (slot 0 does
// nothing at all).
void ReadEffectArgument(Engine& engine);

// Composes the whole dirty rectangle and shows it at once (effect 1).
void ShowDirtyNow(Engine& engine);

}  // namespace orivane
