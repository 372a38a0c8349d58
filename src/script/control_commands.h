// Commands that move the script position or end a phase: `game`, `end`, and
// the jumps, subroutines and loops.
#pragma once

namespace orivane {

class CommandTable;

void RegisterControlCommands(CommandTable& table);

}  // namespace orivane
