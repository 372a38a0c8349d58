// Between SDL key codes and the engine's KeyId.
#pragma once

#include <SDL.h>

#include "platform/player_event.h"

namespace orivane {

// The engine's key for an SDL key, or 0 for a key the engine does not know.
KeyId KeyFromSdl(SDL_Keycode key);
// The SDL key for an engine key (SDLK_UNKNOWN when there is none).
SDL_Keycode SdlFromKey(KeyId key);

}  // namespace orivane
