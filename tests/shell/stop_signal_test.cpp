// SIGINT and SIGTERM end a run cleanly, in a window as headless, whatever the
// script is doing: looping without a wait, or waiting for a click. The run
// exits with 128 + the signal's number and leaves no temporary directory.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/game_fixture.h"
#include "support/virtual_screen.h"

namespace orivane::test {
namespace {

namespace fs = std::filesystem;

bool HasEntries(const std::string& dir) { return fs::exists(dir) && !fs::is_empty(dir); }

// Starts the program on `game`, waits until it runs (its temporary directory
// exists, or it has printed `started_text`), sends `signal_number` and
// returns the exit status (-1 when it did not exit normally).
int StopWithSignal(const GameDir& game, const std::vector<std::string>& args, const std::vector<std::string>& env,
                   const std::string& started_text, int signal_number, std::string& err) {
  std::string tmp = game.path() + "/tmp";
  fs::create_directories(tmp);
  std::vector<std::string> full_env = env;
  full_env.push_back("TMPDIR=" + tmp);
  full_env.push_back("ASAN_OPTIONS=detect_leaks=0");
  pid_t pid = Spawn(args, full_env, game.path() + "/out.txt", game.path() + "/err.txt");
  if (pid <= 0) return -1;
  auto started = [&] {
    if (!started_text.empty()) return game.ReadBytes("out.txt").find(started_text) != std::string::npos;
    return HasEntries(tmp);
  };
  auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!started() && std::chrono::steady_clock::now() < give_up)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  // A little more, so that the script is past its start into what it does.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ::kill(pid, signal_number);
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
  err = game.ReadBytes("err.txt");
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

struct Case {
  const char* what;
  const char* script;
  const char* started_text;  // printed once the script is where it is stopped
};

const Case kCases[] = {
    {"a loop without a wait", "*define\ngame\n*start\n*l\ngoto *l\n", ""},
    {"a click wait", "*define\ngame\n*start\n待っています@\nend\n", "待っています"},
};

// Headless runs play on the wall clock, with a player who clicks only after
// ten minutes.
void CheckAllCases(bool headless, const std::vector<std::string>& env) {
  for (const Case& c : kCases) {
    for (int signal_number : {SIGTERM, SIGINT}) {
      GameDir game;
      game.Write("0.txt", c.script);
      std::vector<std::string> args = {ORIVANE_BINARY};
      if (headless) {
        game.WriteBytes("input.txt", "after 600000 click 1 1\n");
        args.insert(args.end(), {"--headless", "--realtime", "--input", game.path() + "/input.txt"});
      }
      args.push_back(game.path());
      std::string err;
      int status = StopWithSignal(game, args, env, c.started_text, signal_number, err);
      EXPECT_EQ(status, 128 + signal_number) << c.what << " / " << signal_number << "\n" << err;
      EXPECT_NE(err.find(signal_number == SIGINT ? "stopped by SIGINT" : "stopped by SIGTERM"), std::string::npos)
          << c.what << "\n" << err;
      EXPECT_EQ(err.find("終了しますか"), std::string::npos) << c.what;
      EXPECT_FALSE(HasEntries(game.path() + "/tmp")) << c.what << ": the temporary directory was left behind";
    }
  }
}

TEST(StopSignals, EndAHeadlessRunCleanly) { CheckAllCases(true, {}); }

TEST(StopSignals, EndAWindowRunCleanly) {
  std::string xvfb = FindProgram("Xvfb");
  if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
  GameDir screen_dir;
  VirtualScreen screen;
  ASSERT_TRUE(screen.Start(xvfb, screen_dir.path()));
  CheckAllCases(false, {"DISPLAY=" + screen.display()});
}

}  // namespace
}  // namespace orivane::test
