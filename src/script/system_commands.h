// Commands that ask the engine about itself: `getwindowsize`, `isfull`,
// `chkdbg`.
#pragma once

namespace orivane {

class CommandTable;

void RegisterSystemCommands(CommandTable& table);

}  // namespace orivane
