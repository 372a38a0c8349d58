// Refuses a second copy of the engine on the same game directory: an
// exclusive lock on the directory itself, held for the life of the process
// and dropped by the system however the process ends.
#pragma once

namespace orivane {

class SingleInstanceLock {
 public:
  SingleInstanceLock() = default;
  SingleInstanceLock(const SingleInstanceLock&) = delete;
  SingleInstanceLock& operator=(const SingleInstanceLock&) = delete;
  ~SingleInstanceLock();

  // Locks the current directory. False when another process holds it. A
  // directory that cannot be locked at all does not stop the engine.
  bool Acquire();

 private:
  int fd_ = -1;
};

}  // namespace orivane
