// The window backend: an SDL2 window at the game's screen size with a Dear
// ImGui menu bar, the display surface shown through one streaming texture
// (scaled with the aspect ratio kept), full screen on the desktop resolution,
// modal boxes drawn in the window, and the player's input from SDL events.
// With `--input` the scripted player's lines are sent through SDL as events
// (the pointer is really moved), and a person takes over when they end.
#pragma once

#include <memory>
#include <string>

#include "platform/platform.h"
#include "platform/scripted_player.h"

namespace orivane {

// Opens the (still hidden) window; `fonts`, `audio` and `movies` (kept, not
// owned) are the machine's font, sound and movie services. nullptr with `error` set when there is no usable display.
std::unique_ptr<Platform> CreateSdlPlatform(ScriptedPlayer player, FontService& fonts, AudioService& audio,
                                            MovieService& movies, std::string& error);

}  // namespace orivane
