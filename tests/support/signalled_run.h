// Test support for stopping the real program with a signal: start it on a
// game, wait until it is where the test wants it, send the signal and see
// how and how soon it ends.
//
//   SignalledRun r = StopWithSignal(game, {ORIVANE_BINARY, ...}, {}, "text", SIGTERM);
//   EXPECT_EQ(r.status, 128 + SIGTERM);
#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "support/game_fixture.h"

namespace orivane::test {

struct SignalledRun {
  int status = -1;  // the exit status; -1 when it did not exit normally
  std::string err;  // its standard error
  // From the signal to the end of the process (a bound for a hang: the
  // process is killed after a minute).
  std::chrono::milliseconds after_signal{0};
};

// Starts `args` on `game` with `env` added (its temporary directory under
// the game's "tmp", the leak check off), waits until it runs (its temporary
// directory has entries, or it has printed `started_text`) and a little
// more, then sends `signal_number` and waits for it to end.
SignalledRun StopWithSignal(const GameDir& game, const std::vector<std::string>& args,
                            const std::vector<std::string>& env, const std::string& started_text,
                            int signal_number);

}  // namespace orivane::test
