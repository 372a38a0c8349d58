#include "util/child_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

extern char** environ;

namespace orivane {

int SpawnProgram(const std::vector<std::string>& args) {
  if (args.empty()) return -1;
  std::vector<char*> argv;
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // The engine blocks its stop signals in every thread; a started program
  // must not inherit that.
  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t none, defaults;
  sigemptyset(&none);
  sigemptyset(&defaults);
  sigaddset(&defaults, SIGINT);
  sigaddset(&defaults, SIGTERM);
  posix_spawnattr_setsigmask(&attr, &none);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  pid_t pid = -1;
  int r = posix_spawnp(&pid, argv[0], nullptr, &attr, argv.data(), environ);
  posix_spawnattr_destroy(&attr);
  return r == 0 ? static_cast<int>(pid) : -1;
}

bool ReapIfEnded(int pid) {
  int status;
  pid_t r = ::waitpid(pid, &status, WNOHANG);
  return r == pid || r < 0;
}

ChildWatch::ChildWatch(int pid, std::function<void()> on_end) : on_end_(std::move(on_end)) {
  cancel_fd_ = ::eventfd(0, EFD_CLOEXEC);
  thread_ = std::thread([this, pid] { Watch(pid); });
}

ChildWatch::~ChildWatch() {
  if (cancel_fd_ >= 0) {
    uint64_t one = 1;
    (void)!::write(cancel_fd_, &one, sizeof one);
  }
  thread_.join();
  if (cancel_fd_ >= 0) ::close(cancel_fd_);
}

void ChildWatch::Watch(int pid) {
  // A pidfd becomes readable when the child ends; kernels without it are
  // asked every 10 ms instead.
  int pidfd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
  for (;;) {
    siginfo_t info{};
    // WNOWAIT leaves the exit status for ReapIfEnded.
    bool done = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 || info.si_pid == pid;
    if (done) {
      ended_.store(true);
      on_end_();
      break;
    }
    pollfd fds[2] = {{cancel_fd_, POLLIN, 0}, {pidfd, POLLIN, 0}};
    int n = ::poll(fds, pidfd >= 0 ? 2 : 1, pidfd >= 0 ? -1 : 10);
    if (n > 0 && (fds[0].revents & POLLIN)) break;
  }
  if (pidfd >= 0) ::close(pidfd);
}

void ChildProcesses::Forget(int pid) { pids_.erase(std::remove(pids_.begin(), pids_.end(), pid), pids_.end()); }

void ChildProcesses::Reap() {
  pids_.erase(std::remove_if(pids_.begin(), pids_.end(), ReapIfEnded), pids_.end());
}

}  // namespace orivane
