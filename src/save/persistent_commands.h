// The commands of the persistent files: `kidokuskip` (in the *define block)
// keeps read flags for the script and loads the saved ones.
#pragma once

namespace orivane {

class CommandTable;

void RegisterPersistentDataCommands(CommandTable& table);

}  // namespace orivane
