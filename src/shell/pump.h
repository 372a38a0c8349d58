// Message pumping and the waits for the player built on it. The shell owns
// the pump: it hands posted menu commands and the player's events to the
// window procedure, and keeps the 30 ms heartbeat in the engine's wake list.
// The sleeping itself is the engine's (engine_wait.h), so every wait sleeps on
// events with a deadline instead of spinning.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "engine_wait.h"
#include "player_waits.h"
#include "platform/platform.h"

namespace orivane {

struct Engine;

// Installs the pump and the heartbeat's wake-up into the engine.
void AttachPump(Engine& engine);

// Handles one pending message: a posted menu command first, else one player
// event, which `handled` receives. Returns true when one was handled.
bool PumpMessage(Engine& engine, PlayerEvent* handled);

// Handles the menu commands posted to the window, and no player input.
void PumpPosted(Engine& engine);

// Sleeps `ms` milliseconds (waking early for an event), then pumps one message.
void PumpAfter(Engine& engine, uint32_t ms);

// A number entered in the number input box ("数値入力"); asks again until the
// answer is a number. nullopt when cancelled.
std::optional<int32_t> AskNumber(Engine& engine, std::string_view prompt_utf8);

}  // namespace orivane
