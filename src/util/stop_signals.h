// SIGINT and SIGTERM as requests to end the run cleanly. Made first thing in
// the program, before any other thread exists: the two signals are blocked in
// every thread and read by a watcher thread of their own, so that the engine
// hears of them at its next wait or statement check, finishes its shutdown
// (temporary folder removed, persistent files written) and exits, instead of
// dying in the middle of a write.
#pragma once

#include <functional>
#include <mutex>
#include <thread>

namespace orivane {

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Whom to tell (from the watcher thread) when a signal arrives; told at
  // once when one arrived earlier. Replaces the previous listener; an empty
  // function stops telling.
  void Listen(std::function<void(int signal_number)> listener);

 private:
  void Watch();

  int signal_fd_ = -1;
  int cancel_fd_ = -1;
  std::mutex mutex_;
  std::function<void(int)> listener_;
  int received_ = 0;  // the first signal, kept until somebody listens
  std::thread thread_;
};

}  // namespace orivane
