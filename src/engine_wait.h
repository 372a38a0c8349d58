// How the engine sleeps. Every wait of every subsystem goes through here: it
// sleeps on the platform until the player does something, another thread
// wakes it, or the earliest deadline comes (the caller's own, or one of the
// wake list: the heartbeat, the next animation cell, the --timeout); then it
// runs what fell due and checks whether the run must end.
//
// Subsystems add their deadlines to the wake list when they attach to the
// engine; the shell installs the pump that hands the player's events to the
// window procedure. So a transition in graphics takes the click that falls
// during its frames exactly as a text wait does, without knowing the shell.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace orivane {

struct Engine;
struct PlayerEvent;

// Something that must happen at a moment of the engine clock even when the
// player does nothing.
struct WakeSource {
  // The next moment it must run (it may have passed already); nullopt while
  // it has nothing to do, so that an idle source never wakes a wait.
  std::optional<uint32_t> (*next)(Engine&) = nullptr;
  // Runs it; called by a wait once the clock has reached `next`.
  void (*run)(Engine&) = nullptr;
};

// The wake list and the pump, one per Engine.
struct WaitState {
  std::vector<WakeSource> sources;
  // Handles one pending message of the window (a posted menu command or a
  // player event) and tells which player event it was; false when nothing
  // was pending. Installed by the shell.
  bool (*pump_one)(Engine&, PlayerEvent* handled) = nullptr;
  // Writes the files that outlive the run (read flags and the like).
  // Installed by the save subsystem; the waits for the player call it
  // through LongWaitWrite.
  void (*write_persistent)(Engine&) = nullptr;
};

// A wait for the player that has lasted more than this many milliseconds
// writes the persistent files, once.
inline constexpr uint32_t kWriteAfterWaitingMs = 1000;

// The persistent-data write of one wait for the player: made when the wait
// starts, polled on every round of it.
class LongWaitWrite {
 public:
  explicit LongWaitWrite(uint32_t start) : due_(start + kWriteAfterWaitingMs + 1) {}

  // Once the wait has lasted more than kWriteAfterWaitingMs, runs the writer
  // (the first time only). Returns the moment the wait must wake for it, or
  // nullopt once it has run.
  std::optional<uint32_t> Poll(Engine& engine, uint32_t now);

 private:
  uint32_t due_;
  bool done_ = false;
};

// Adds a source to the wake list (once, when a subsystem attaches).
void AddWakeSource(Engine& engine, WakeSource source);

// The earliest deadline of the wake list and the --timeout, and `deadline`
// when given; nullopt when there is none.
std::optional<uint32_t> NextWake(Engine& engine, std::optional<uint32_t> deadline);

// Sleeps until `deadline` (nullopt: no deadline of its own), a player event,
// a wake from another thread or the earliest wake source; then runs the wake
// sources that fell due and checks the run's limits. Handles no events: the
// caller pumps them.
void SleepUntil(Engine& engine, std::optional<uint32_t> deadline);

// The same for a wait on something outside the engine (a child process),
// which another thread ends with Platform::Wake: the sleep passes in real
// time even on a virtual clock.
void SleepForOutside(Engine& engine, std::optional<uint32_t> deadline);

// Handles one pending message through the shell's pump; `handled` receives
// the player event (a default event for a posted command). False when none
// was pending.
bool PumpOne(Engine& engine, PlayerEvent* handled = nullptr);

// Handles every pending message.
void PumpAll(Engine& engine);

// Lets `deadline` come while taking every message that falls due meanwhile:
// the pacing of a frame or of a loop that the player cannot end.
void PumpUntil(Engine& engine, uint32_t deadline);

// Ends the run (throws EngineExit) when a signal asked it to stop, or when
// the --timeout has run out on the engine clock or in wall time.
void CheckRunLimits(Engine& engine);

// Whether the skip key (Ctrl, with `ctrlalt` Ctrl+Alt) is held.
bool SkipKeyHeld(Engine& engine);

// True when `now` has reached `deadline` on the wrapping 32-bit clock.
inline bool TimeReached(uint32_t now, uint32_t deadline) {
  return static_cast<int32_t>(now - deadline) >= 0;
}

}  // namespace orivane
