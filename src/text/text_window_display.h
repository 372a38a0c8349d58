// Putting the text window on the screen and taking it off. The window is
// drawn by composition (through the hooks installed here), so each of these
// marks the window's area dirty and then shows the scene: with the text-window
// effect (`windoweffect`) when the window appears or goes, at once when only
// its look changes or when a picture command takes it off first.
#pragma once

#include <cstdint>

namespace orivane {

struct Engine;

// Once, when text attaches: composition draws the window, asks whether it
// shows, and asks it off the screen before picture changes; the picture
// tools reach the window's picture.
void InstallTextWindowHooks(Engine& engine);

// True while the window is painted: shown and not hidden by `texthide`.
bool TextWindowPainted(const Engine& engine);

// Adds the window's rectangle (and the glyphs' reach, and the cursor of a
// wait, which is shown only with the window) to the dirty rectangle.
void DirtyTextWindow(Engine& engine);

// `texton`, and text output on a window that is off: the `windowchip`
// sprites appear, the window is shown with the text-window effect.
void ShowTextWindow(Engine& engine);

// `textoff`: the `windowchip` sprites go and the window leaves the screen
// with the text-window effect, whatever `erasetextwindow` says.
void RemoveTextWindow(Engine& engine);

// After a change of the window's look or of `texthide`: the window's area is
// shown again at once (nothing happens while the window is off).
void RepaintTextWindow(Engine& engine);

// The page ends: the back-log page is committed, and a new page
// (StartNewTextPage) is taken to the screen at once, the old glyphs leaving
// it when the window is showing.
void StartNewPageOnScreen(Engine& engine);

// Skip mode shows the screen once a frame of the engine clock at most.
inline constexpr uint32_t kSkipFrameMs = 16;

// Shows the dirty part of the screen as text goes onto it. While skip mode
// runs, at most once every kSkipFrameMs: skipped text goes by faster than
// anyone reads it, and showing it character by character and page by page
// would cost many times the text itself. What is not shown stays dirty for
// the next showing (the wait or selection that ends the skip).
void ShowTextProgress(Engine& engine);

// Before a picture change (`lsp`, `bg`, `ld`, `tal` …): under
// `erasetextwindow` 1 or 2 a showing window is taken off and the screen shown
// at once; `exempt_under_mode2` is set for `ld` and `tal`, which mode 2 spares.
void EraseTextWindowBeforePictureChange(Engine& engine, bool exempt_under_mode2);

}  // namespace orivane
