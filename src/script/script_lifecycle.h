// The interpreter's part in the engine's lifecycle (see subsystems.h): what
// it forgets before the script is loaded again, and what a new game clears.
#pragma once

namespace orivane {

struct Engine;

// Before the script is loaded (start-up and `definereset`): request flags,
// the GosubStack, user commands, the text routines and every variable.
void ResetScriptForStartUp(Engine& engine);

// A new game (`reset`, a reset request, the start): local variables cleared,
// the GosubStack emptied, traps off.
void ResetScriptForGame(Engine& engine);

}  // namespace orivane
