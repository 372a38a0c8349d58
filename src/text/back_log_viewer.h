// The back-log viewer: the player pages back through the text already read.
// It shows one committed page at a time in the text window, laid out as it
// was printed but in the back-log colour, with buttons for the older and the
// newer page at the window's right corners. The wheel, PageUp/PageDown, the
// arrow keys and the buttons move between pages; paging down past the newest
// page, a click elsewhere, a right click or Escape leave it, and the screen,
// the window and its page come back as they were.
#pragma once

namespace orivane {

struct Engine;

// Once, when text attaches: composition draws the viewer's page buttons.
void InstallBackLogHook(Engine& engine);

// After the *define block: the four button pictures a game may provide
// ("uoncur.bmp", "uoffcur.bmp", "doncur.bmp", "doffcur.bmp"), unless the
// block gave its own with `lookbackbutton`. Missing ones leave no button.
void LoadDefaultBackLogButtons(Engine& engine);

// Runs the viewer from the newest page until the player leaves it. Nothing
// happens without committed pages, or while the viewer is already open.
void OpenBackLog(Engine& engine);

}  // namespace orivane
