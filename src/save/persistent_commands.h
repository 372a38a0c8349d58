// The commands of the persistent files, all for the *define block:
// `kidokuskip` keeps read flags for the script and loads the saved ones;
// `filelog` and `labellog` keep the file and label logs from run to run;
// `savedir` names the directory for the saves and the persistent files.
// (`globalon` belongs to the variables' declarations.)
#pragma once

namespace orivane {

class CommandTable;

void RegisterPersistentDataCommands(CommandTable& table);

}  // namespace orivane
