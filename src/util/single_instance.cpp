#include "util/single_instance.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace orivane {

SingleInstanceLock::~SingleInstanceLock() {
  if (fd_ >= 0) ::close(fd_);
}

bool SingleInstanceLock::Acquire() {
  fd_ = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ < 0) return true;
  if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) return true;
  bool held_elsewhere = errno == EWOULDBLOCK;
  ::close(fd_);
  fd_ = -1;
  return !held_elsewhere;
}

}  // namespace orivane
