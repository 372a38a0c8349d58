// Fills the command table with the handlers of every subsystem. It stands
// beside the Engine, above all of them, as the one place that knows them all.
#pragma once

namespace orivane {

class CommandTable;

void RegisterAllCommands(CommandTable& table);

}  // namespace orivane
