// What the player has done since the waits last looked: written by the
// window procedure (shell/window_events), consumed by waits and the click trap.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

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
  bool pointer_known = false;  // a pointer event has come: pointer_x, pointer_y say where it is
  bool left_down = false;  // the left button is held (`isdown`)
  bool right_down = false;
  std::vector<KeyId> held_keys;  // keys pressed and not yet released, as the events told
  // Presses that a box or a menu took: their characters and releases, which
  // come after the box has closed, are dropped by the pump so that they never
  // reach the wait behind it (see ModalInput).
  std::vector<KeyId> swallowed_keys;
  bool swallow_left_release = false;
  bool swallow_right_release = false;
  // The player left a `textfield` with Tab; the next button wait that
  // reports Tab (`gettab`) returns it at once.
  bool left_with_tab = false;
};

inline bool Contains(const std::vector<KeyId>& keys, KeyId key) {
  return std::find(keys.begin(), keys.end(), key) != keys.end();
}

}  // namespace orivane
