// The plug-in commands: `setlayer` (a layer plug-in, in the *define block),
// `layermessage` (a message to a layer) and `exec_dll` (a command plug-in's
// OrvnPlugInMain).
#pragma once

namespace orivane {

class CommandTable;

void RegisterPluginCommands(CommandTable& table);

}  // namespace orivane
