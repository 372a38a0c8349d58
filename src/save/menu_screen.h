// Menu screens: the system menu, the save and load menus and their yes/no
// questions are lines of text on a black screen in the menu font
// (`menusetwindow`). The line under the pointer is highlighted; Up and Down
// (Left and Right) move the highlight; a left click or Enter takes the
// highlighted line; a right click or Escape cancels. Composition draws the
// screen over everything while it is open.
//
// In headless runs a menu screen is a wait for the player that takes
// `choose N` (the N-th line that can be taken), as a selection does.
#pragma once

#include <cstdint>
#include <vector>

#include "save/system_menu_state.h"

namespace orivane {

struct Engine;

// Once, when the save subsystem attaches.
void InstallMenuScreenHook(Engine& engine);

// Shows the lines, laid out (menu_layout) for `look`: the menu's look, or the
// smaller one that fits the screen. Waits: the index of the line taken, or -1
// when the player cancelled (or a reset or the end of the game was asked for). Plays
// the menu's shown, pointer-over and cancelled sounds; the caller plays the
// sound of what was taken.
int RunMenuScreen(Engine& engine, std::vector<MenuScreenLine> lines, const MenuLook& look);

// One of the `menuselectvoice` sounds.
void PlayMenuSound(Engine& engine, MenuSound sound);

}  // namespace orivane
