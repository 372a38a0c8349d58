// What the player has done since the waits last looked: written by the
// window procedure (shell/window_events), consumed by waits and the click trap.
#pragma once

#include <cstdint>

#include "platform/player_event.h"

namespace orivane {

struct InputState {
  bool left_clicked = false;   // left-button release, Space or Enter
  bool right_clicked = false;  // right-button release
  PlayerEvent::Kind last_event = PlayerEvent::Kind::kPointerMove;  // kind of the last event handled
  // Last pointer x (button and move events), the character code (character
  // events), the signed wheel delta (wheel events).
  int32_t last_value = 0;
  int32_t last_y = 0;  // last pointer y (button and move events)
  int32_t click_x = 0;  // pointer position at the last button event
  int32_t click_y = 0;
  int32_t pointer_x = 0;  // pointer position at the last pointer event of any kind
  int32_t pointer_y = 0;
  bool left_down = false;  // the left button is held (`isdown`)
  // The player left a `textfield` with Tab; the next button wait that
  // reports Tab (`gettab`) returns it at once.
  bool left_with_tab = false;
};

}  // namespace orivane
