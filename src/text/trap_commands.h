// The trap commands: a click trap (`trap`, `lr_trap`, `r_trap`, `trap2`,
// `lr_trap2`) or a timer trap (`timertrap`) makes the execution loop jump to
// a label when the player clicks or a time has passed; `stop` holds the
// jump back (remembering that it fired) until `resume`. The loop fires them
// before each statement (script/execute.cpp); these commands arm them in
// InterpreterState. Only one trap is armed at a time: arming one disarms
// the other.
#pragma once

namespace orivane {

class CommandTable;

void RegisterTrapCommands(CommandTable& table);

}  // namespace orivane
