// What the player has done since the waits last looked: written by the
// platform's event handling, consumed by waits and the click trap.
#pragma once

namespace orivane {

struct InputState {
  bool left_clicked = false;
  bool right_clicked = false;
};

}  // namespace orivane
