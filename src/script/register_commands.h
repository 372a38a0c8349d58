// Fills the command table with the handlers of every subsystem.
#pragma once

namespace orivane {

class CommandTable;

void RegisterAllCommands(CommandTable& table);

}  // namespace orivane
