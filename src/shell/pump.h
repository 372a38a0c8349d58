// Message pumping and the waits built on it. Every wait of the engine goes
// through these: they hand the player's events to the window procedure, run
// the heartbeat, and sleep on events with a deadline instead of spinning.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/platform.h"

namespace orivane {

struct Engine;

// Handles one pending message: a posted menu command first, else one player
// event. Returns true when one was handled.
bool Pump(Engine& engine);

// Handles every pending message.
void PumpAll(Engine& engine);

// Handles the menu commands posted to the window, and no player input.
void PumpPosted(Engine& engine);

// Sleeps `ms` milliseconds (waking early for an event), then pumps one message.
void PumpAfter(Engine& engine, uint32_t ms);

// Sleeps until the engine clock reaches `deadline` or an event arrives,
// running the heartbeat when it is due, then checks the --timeout.
void SleepUntil(Engine& engine, uint32_t deadline);

// Waits `ms` milliseconds while handling events. Button releases and typed
// characters that were queued before the wait began are dropped. A reset
// request ends it; so does Enter being pressed and released; when
// `clickable`, so do a left click, the skip key and skip mode. Returns true
// when it ended before its time.
bool TimedWait(Engine& engine, uint32_t ms, bool clickable);

// How a wait for a click ended.
enum class ClickWaitEnd { kLeftClick, kRightClick, kSkipMode, kRequest };

// Waits until the player clicks (left button, Space or Enter; or the right
// button), skip mode is on, or a reset is requested. The click flag that ended
// it is cleared. A scripted player out of input clicks at once for click and
// page waits; for other waits the run ends (status 0).
ClickWaitEnd WaitForClick(Engine& engine, PlayerWait kind);

// Asks a modal question. When no player can answer (a scripted player out of
// input, or input that does not fit) the run ends with a note.
Reply AskPlayer(Engine& engine, const Question& question);

// A number entered in the number input box ("数値入力"); asks again until the
// answer is a number. nullopt when cancelled.
std::optional<int32_t> AskNumber(Engine& engine, std::string_view prompt_utf8);

// Whether the skip key (Ctrl, with `ctrlalt` Ctrl+Alt) is held.
bool SkipKeyHeld(Engine& engine);

// Ends the run because no player will come: writes `note` with the script
// position and leaves with `status`.
[[noreturn]] void EndRunForMissingPlayer(Engine& engine, std::string_view note, int status);

}  // namespace orivane
