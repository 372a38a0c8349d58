// The right-click system menu and what its entries do: the back-log, taking
// the text window off, the save and load menus (each slot a line with its
// time, a yes/no question before the save or load), skip mode, reset and
// the end of the game. `systemcall` runs the same actions from the script.
#pragma once

#include "save/system_menu_state.h"

namespace orivane {

class CommandTable;
struct Engine;

// Once, when the Engine is made: a right click in mode 1 opens the menu, and
// composition draws the menu screens.
void AttachSystemMenu(Engine& engine);

// Before the script is loaded again: no entries, the default look.
void ResetSystemMenuForStartUp(Engine& engine);

// The menu of `rmenu`'s entries; cancelled, nothing happens.
void RunSystemMenu(Engine& engine);

// One entry's action.
void RunSystemMenuAction(Engine& engine, SystemMenuKind kind);

// `rmenu`, `menusetwindow`, `menuselectcolor`, `menuselectvoice`, `systemcall`.
void RegisterSystemMenuCommands(CommandTable& table);

}  // namespace orivane
