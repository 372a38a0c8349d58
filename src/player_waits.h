// Timed waits for the player, shared by every subsystem that pauses the
// story: inline text waits, `wait` and `delay`. They sleep through
// engine_wait and take the player's events through the shell's pump.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "platform/player_event.h"

namespace orivane {

struct Engine;

// Waits `ms` milliseconds while handling events. Button releases and typed
// characters that were queued before the wait began are dropped. A reset
// request ends it; so does Enter being pressed and released; when
// `clickable`, so do a left click, the skip key and skip mode. Returns true
// when it ended before its time.
bool TimedWait(Engine& engine, uint32_t ms, bool clickable);

// Asks a modal question (a message box). When no player can answer (a
// scripted player out of input, or input that does not fit) the run ends
// with a note. The heartbeat pauses while the box is open.
Reply AskPlayer(Engine& engine, const Question& question);

// Holds the player's input for a box, a menu or a question while it is
// open: the click flags of the wait behind it are put aside and given back
// when it closes, and the presses it took (a key or button still down when
// it closes) lose their characters and releases, which the pump drops. So
// the wait behind a menu goes on exactly as it was before the menu opened.
// Scopes nest.
class ModalInput {
 public:
  explicit ModalInput(Engine& engine);
  ~ModalInput();
  ModalInput(const ModalInput&) = delete;
  ModalInput& operator=(const ModalInput&) = delete;

 private:
  Engine& engine_;
  bool left_clicked_;
  bool right_clicked_;
  bool left_down_;
  bool right_down_;
  std::vector<KeyId> held_keys_;
};

// Ends the run because no player will come: writes `note` with the script
// position and leaves with `status`.
[[noreturn]] void EndRunForMissingPlayer(Engine& engine, std::string_view note, int status);

}  // namespace orivane
