// The script commands of the window and its menu bar: caption, the pointer,
// click-wait cursors, script-built menus, the menu_* commands, the version
// text and the input switches.
#pragma once

namespace orivane {

class CommandTable;

void RegisterShellCommands(CommandTable& table);

}  // namespace orivane
