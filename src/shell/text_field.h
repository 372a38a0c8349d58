// The edit field of `textfield`: one line over the game picture that the
// player types into while the game goes on around it (the heartbeat and the
// screen's own updates keep running). The field takes its keystrokes whole:
// the release of Enter ends it, the release of Tab ends it and leaves the
// left-with-Tab flag for the next button wait, Escape empties a field with
// text and ends an empty one. A left click in the window ends it too.
#pragma once

#include <string>

#include "platform/platform.h"

namespace orivane {

struct Engine;

// Runs the field from `request` until the player ends it, and returns its
// text (Shift-JIS, cut to the input buffer). With `full_width_only` an
// answer with a half-width character is refused with a message box and the
// field takes another.
std::string RunTextField(Engine& engine, const TextFieldRequest& request, bool full_width_only);

// The window procedure's part while a field is open: takes the keystrokes
// that belong to the field. False for events the window handles as usual.
bool TakeTextFieldEvent(Engine& engine, const PlayerEvent& event);

}  // namespace orivane
