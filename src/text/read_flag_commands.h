// The commands of skip mode, auto mode and read-flag skipping: `kidokumode`
// (read-only skipping on or off), `skipoff`, `isskip` and, in the *define
// block, `automode` (the menu bar keeps its auto-mode item). `kidokuskip`,
// which keeps the flags and loads them from the game's file, belongs to the
// persistent data (save/persistent_commands.h).
#pragma once

namespace orivane {

class CommandTable;

void RegisterReadFlagCommands(CommandTable& table);

}  // namespace orivane
