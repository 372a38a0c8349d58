// Test support: a headless run in process with a scripted player, after
// which the test can look at the engine's state.
#pragma once

#include <functional>
#include <string_view>

#include "engine.h"
#include "platform/audio_service.h"
#include "support/game_fixture.h"

namespace orivane::test {

// Runs the game in `game` with `input` as the scripted player's file (named
// "input.txt" in notes), then calls `inspect` on the engine before it goes.
// `audio`, when given, is the sound output of the run.
RunResult RunScripted(const GameDir& game, std::string_view input,
                      const std::function<void(Engine&)>& inspect = {}, uint32_t timeout_ms = 10000,
                      AudioService* audio = nullptr);

}  // namespace orivane::test
