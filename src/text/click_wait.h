// The click wait ("@") and the page wait ("\") of story text: the engine
// stops with an animated cursor on the screen until the player clicks (or
// holds the skip key, or skip, auto mode or auto-click ends it). The two
// cursors are pictures with their own cells; a game without them gets a
// small cursor of ours. Composition draws the cursor last, over everything.
#pragma once

#include <cstdint>
#include <string>

#include "text/text_layout.h"
#include "text/text_output_state.h"

namespace orivane {

struct Engine;

// Once, when text attaches: composition draws the cursor of a wait.
void InstallWaitCursorHook(Engine& engine);

// Adds the area of the cursor on the screen (if any) to the dirty rectangle.
void DirtyWaitCursor(Engine& engine);

// The game reset: both cursors from their default pictures
// (":l/3,160,2;cursor0.bmp", ":l/3,160,2;cursor1.bmp"), drawn at the pen.
void ResetWaitCursors(Engine& engine);

// `setcursor` / `abssetcursor`: cursor `index` (0 click wait, 1 page wait)
// from the image tag, at (x, y) from the pen or on the screen.
void SetWaitCursor(Engine& engine, int index, const std::string& tag, int32_t x, int32_t y,
                   bool absolute);

// A loaded game's cursor: its picture from `tag` (empty: the default
// picture), where a missing picture gives way to ours without an error.
void RestoreWaitCursor(Engine& engine, int index, const std::string& tag, int32_t x, int32_t y, bool absolute);

enum class TextWaitEnd {
  kGoOn,     // the player (or skip, auto mode, auto-click) ended it
  kAbandon,  // a reset, a jump or the right-click routine took the script
             // elsewhere: drop the rest of the text
};

// Waits at the pen for a click (kClick) or at a page end (kPage). A right
// click, or Escape pressed and released, runs the right-click action
// (text/right_click.h); when that calls the `rgosub` routine the wait is
// abandoned and remembered, so that the routine's `return` redoes it.
TextWaitEnd RunTextWait(Engine& engine, TextWaitKind kind, PenPosition pen);

}  // namespace orivane
