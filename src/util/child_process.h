// Programs started by the engine (`winexec`, `shell`): starting one without
// a shell in between, watching for its end from a thread of its own, and
// collecting the exit status of those nobody waits for.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace orivane {

// Starts `args` (UTF-8; argv[0] is searched on PATH unless it names a path)
// with the signal mask and signal handling of a fresh process. Returns the
// process id, or -1 when it could not be started.
int SpawnProgram(const std::vector<std::string>& args);

// Collects the exit status of `pid` when it has ended. True when it has
// ended, or is not a child to wait for any more. Never blocks.
bool ReapIfEnded(int pid);

// Watches one child from a thread of its own and calls `on_end` (from that
// thread) once it has ended, so that a waiting engine can sleep on its events
// and still wake at once. The watcher stops when destroyed; the child's exit
// status is left for ReapIfEnded.
class ChildWatch {
 public:
  ChildWatch(int pid, std::function<void()> on_end);
  ~ChildWatch();
  ChildWatch(const ChildWatch&) = delete;
  ChildWatch& operator=(const ChildWatch&) = delete;

  // True once the child has ended.
  bool ended() const { return ended_.load(); }

 private:
  void Watch(int pid);

  std::function<void()> on_end_;
  std::atomic<bool> ended_{false};
  int cancel_fd_ = -1;  // an eventfd that ends the watch early
  std::thread thread_;
};

// Children started without waiting. They are reaped whenever another program
// is started and when the engine goes away, so no zombies pile up.
class ChildProcesses {
 public:
  ChildProcesses() = default;
  ChildProcesses(const ChildProcesses&) = delete;
  ChildProcesses& operator=(const ChildProcesses&) = delete;
  ~ChildProcesses() { Reap(); }

  void Add(int pid) { pids_.push_back(pid); }
  // Drops a child whose exit status has been collected elsewhere.
  void Forget(int pid);
  // Collects the exit status of every child that has ended; never blocks.
  void Reap();

 private:
  std::vector<int> pids_;
};

}  // namespace orivane
