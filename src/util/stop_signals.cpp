#include "util/stop_signals.h"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cstdint>

namespace orivane {
namespace {

sigset_t StopSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

StopSignals::StopSignals() {
  sigset_t set = StopSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  signal_fd_ = ::signalfd(-1, &set, SFD_CLOEXEC);
  cancel_fd_ = ::eventfd(0, EFD_CLOEXEC);
  if (signal_fd_ >= 0 && cancel_fd_ >= 0) thread_ = std::thread([this] { Watch(); });
}

StopSignals::~StopSignals() {
  if (thread_.joinable()) {
    uint64_t one = 1;
    (void)!::write(cancel_fd_, &one, sizeof one);
    thread_.join();
  }
  if (signal_fd_ >= 0) ::close(signal_fd_);
  if (cancel_fd_ >= 0) ::close(cancel_fd_);
  // Signals that arrive from here on act as they would without the engine.
  sigset_t set = StopSet();
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void StopSignals::Listen(std::function<void(int)> listener) {
  std::lock_guard<std::mutex> lock(mutex_);
  listener_ = std::move(listener);
  if (listener_ && received_ != 0) listener_(received_);
}

void StopSignals::Watch() {
  for (;;) {
    pollfd fds[2] = {{signal_fd_, POLLIN, 0}, {cancel_fd_, POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0) continue;
    if (fds[1].revents & POLLIN) return;
    signalfd_siginfo info;
    if (!(fds[0].revents & POLLIN) || ::read(signal_fd_, &info, sizeof info) != sizeof info) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    if (received_ == 0) received_ = static_cast<int>(info.ssi_signo);
    if (listener_) listener_(static_cast<int>(info.ssi_signo));
  }
}

}  // namespace orivane
