// The start-up cycle around the interpreter: prepare the process (temporary
// directory, config.txt, probe.527), then load the script, build the labels
// and the menu bar, run the *define block up to `game`, show the window,
// start the heartbeat, and start the game and run it; a `definereset`
// repeats the cycle from loading the script. Every way out (`end`, a
// confirmed close, a script error, the end of scripted input, a timeout)
// passes through the shutdown.
#pragma once

namespace orivane {

struct Engine;

// Runs the game in the current directory to its end. Returns the exit status:
// 0 after `end`, a confirmed quit or the end of scripted input, 1 after a
// script error, 2 for scripted input that does not fit, 3 on timeout.
int RunEngine(Engine& engine);

}  // namespace orivane
