// The script's own dialogs: message boxes opened by a command. `testfunc`
// shows a bare message box with the heartbeat resting while it is open.
#pragma once

namespace orivane {

class CommandTable;

void RegisterDialogCommands(CommandTable& table);

}  // namespace orivane
