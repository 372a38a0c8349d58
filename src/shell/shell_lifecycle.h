// The shell's part in the engine's lifecycle (see subsystems.h).
#pragma once

namespace orivane {

struct Engine;

// Once, when the Engine is made: the pump and the heartbeat join the waits.
void AttachShell(Engine& engine);

// Before the script is loaded again: the menu switches, the posted commands,
// the click cursors; the heartbeat rests until the window shows.
void ResetShellForStartUp(Engine& engine);

// After the script is loaded: the menu bar of a fresh run, the built-in one
// with the installed fonts. It is rebuilt at every start so that a restart
// does not list the fonts twice.
void StartShell(Engine& engine);

}  // namespace orivane
