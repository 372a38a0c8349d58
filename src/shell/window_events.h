// The window procedure: turns one player event into InputState, skip and
// auto-mode changes, menu commands and the close question.
#pragma once

#include "platform/player_event.h"

namespace orivane {

struct Engine;

void HandlePlayerEvent(Engine& engine, const PlayerEvent& event);

// True when the event is the character or the release of a press that a box
// or a menu took (ModalInput): the pump drops it, after noting that the key
// or button is up again.
bool SwallowAfterModal(Engine& engine, const PlayerEvent& event);

// The close button or the menu item 終了: asks "終了しますか？" and ends the
// run (status 0) on Yes; any other answer carries on.
void AskToQuit(Engine& engine);

}  // namespace orivane
