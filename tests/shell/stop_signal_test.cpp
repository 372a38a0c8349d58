// SIGINT and SIGTERM end a run cleanly, in a window as headless, whatever the
// script is doing: looping without a wait, or waiting for a click. The run
// exits with 128 + the signal's number and leaves no temporary directory.
#include <signal.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/game_fixture.h"
#include "support/signalled_run.h"
#include "support/virtual_screen.h"

namespace orivane::test {
namespace {

namespace fs = std::filesystem;

bool HasEntries(const std::string& dir) { return fs::exists(dir) && !fs::is_empty(dir); }

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
      const SignalledRun r = StopWithSignal(game, args, env, c.started_text, signal_number);
      const int status = r.status;
      const std::string& err = r.err;
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
