// The start-up cycle around the interpreter: load the script, build the
// labels, run the *define block up to `game`, then start the game and run it;
// a `definereset` repeats the whole cycle from loading the script.
#pragma once

namespace orivane {

struct Engine;

// Runs the game in the current directory to its end. Returns the exit status:
// 0 after `end` or a confirmed quit, 1 after a script error, 3 on timeout.
int RunEngine(Engine& engine);

}  // namespace orivane
