#include "support/signalled_run.h"

#include <signal.h>
#include <sys/wait.h>

#include <filesystem>
#include <thread>

#include "support/virtual_screen.h"

namespace orivane::test {
namespace {

namespace fs = std::filesystem;

bool HasEntries(const std::string& dir) { return fs::exists(dir) && !fs::is_empty(dir); }

}  // namespace

SignalledRun StopWithSignal(const GameDir& game, const std::vector<std::string>& args,
                            const std::vector<std::string>& env, const std::string& started_text,
                            int signal_number) {
  SignalledRun result;
  std::string tmp = game.path() + "/tmp";
  fs::create_directories(tmp);
  std::vector<std::string> full_env = env;
  full_env.push_back("TMPDIR=" + tmp);
  full_env.push_back("ASAN_OPTIONS=detect_leaks=0");
  pid_t pid = Spawn(args, full_env, game.path() + "/out.txt", game.path() + "/err.txt");
  if (pid <= 0) return result;
  auto started = [&] {
    if (!started_text.empty())
      return game.ReadBytes("out.txt").find(started_text) != std::string::npos;
    return HasEntries(tmp);
  };
  auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!started() && std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // A little more, so that the script is past its start into what it does.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ::kill(pid, signal_number);
  const auto signalled = std::chrono::steady_clock::now();
  give_up = signalled + std::chrono::seconds(60);
  int wstatus = 0;
  for (;;) {
    if (::waitpid(pid, &wstatus, WNOHANG) == pid) break;
    if (std::chrono::steady_clock::now() > give_up) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &wstatus, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  result.after_signal = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - signalled);
  result.err = game.ReadBytes("err.txt");
  result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
  return result;
}

}  // namespace orivane::test
