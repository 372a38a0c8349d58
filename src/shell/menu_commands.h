// What each menu command does: screen mode, font, text display and speed,
// sound, skip and auto mode, CD audio, read-flag skipping, version box,
// reset question and exit. Identifiers without a meaning are ignored.
#pragma once

#include <cstdint>

namespace orivane {

struct Engine;

void RunMenuCommand(Engine& engine, int32_t command);

// Full screen on the desktop resolution, or back to the window; the check
// marks follow the request even when the switch fails.
void EnterFullScreen(Engine& engine);
void LeaveFullScreen(Engine& engine);

}  // namespace orivane
