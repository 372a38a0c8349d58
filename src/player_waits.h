// Timed waits for the player, shared by every subsystem that pauses the
// story: inline text waits, `wait` and `delay`. They sleep through
// engine_wait and take the player's events through the shell's pump.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/platform.h"

namespace orivane {

struct Engine;

// Waits `ms` milliseconds while handling events. Button releases and typed
// characters that were queued before the wait began are dropped. A reset
// request ends it; so does Enter being pressed and released; when
// `clickable`, so do a left click, the skip key and skip mode. Returns true
// when it ended before its time.
bool TimedWait(Engine& engine, uint32_t ms, bool clickable);

// Asks a modal question (a message box). When no player can answer (a
// scripted player out of input, or input that does not fit) the run ends
// with a note. The heartbeat pauses while the box is open.
Reply AskPlayer(Engine& engine, const Question& question);

// Ends the run because no player will come: writes `note` with the script
// position and leaves with `status`.
[[noreturn]] void EndRunForMissingPlayer(Engine& engine, std::string_view note, int status);

}  // namespace orivane
