// The temporary directories of runs: a run killed outright leaves its
// directory, and the next run removes it, while the directory of a run that
// is still alive is left alone; the temporary files a killed run left beside
// its persistent files go too.
#include "util/temp_directory.h"

#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "support/game_fixture.h"
#include "support/virtual_screen.h"

namespace orivane::test {
namespace {

namespace fs = std::filesystem;

// The marked temporary directories in `base`, those of live runs and of gone ones.
std::vector<std::string> RunDirectories(const std::string& base) {
  std::vector<std::string> found;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(base, ec))
    if (entry.is_directory() && fs::exists(entry.path().string() + ".owner")) found.push_back(entry.path().string());
  return found;
}

// Starts the real program on `game`, waiting for the player for ten minutes,
// and returns once its temporary directory is marked as its own (the one
// directory in `base` not in `before`).
pid_t StartWaitingRun(const GameDir& game, const std::string& base, std::string& dir) {
  const std::vector<std::string> before = RunDirectories(base);
  game.Write("0.txt", "*define\nglobalon\ngame\n*start\n待っています@\nend\n");
  game.WriteBytes("input.txt", "after 600000 click 1 1\n");
  const pid_t pid = Spawn({ORIVANE_BINARY, "--headless", "--realtime", "--input", game.path() + "/input.txt",
                           game.path()},
                          {"TMPDIR=" + base, "ASAN_OPTIONS=detect_leaks=0"}, game.path() + "/out.txt",
                          game.path() + "/err.txt");
  const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (dir.empty() && std::chrono::steady_clock::now() < give_up) {
    for (const std::string& d : RunDirectories(base))
      if (std::find(before.begin(), before.end(), d) == before.end()) dir = d;
    if (dir.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return pid;
}

void Stop(pid_t pid, int signal_number) {
  ::kill(pid, signal_number);
  int status = 0;
  ::waitpid(pid, &status, 0);
}

TEST(TemporaryDirectories, TheNextRunRemovesThoseOfKilledRunsAndNoLiveOnes) {
  GameDir base_dir, live_game, killed_game;
  const std::string base = base_dir.path();
  std::string live_dir, killed_dir;
  const pid_t live = StartWaitingRun(live_game, base, live_dir);
  ASSERT_FALSE(live_dir.empty()) << live_game.ReadBytes("err.txt");
  const pid_t killed = StartWaitingRun(killed_game, base, killed_dir);
  ASSERT_FALSE(killed_dir.empty()) << killed_game.ReadBytes("err.txt");
  Stop(killed, SIGKILL);
  ASSERT_TRUE(fs::exists(killed_dir)) << "a killed run cannot clean up";
  // The killed run was in the middle of writing its globals.
  killed_game.WriteBytes("gloval.sav.tmp", "half written");
  killed_game.WriteBytes("gloval.sav.Ab12Cd.tmp", "half written");

  killed_game.Write("0.txt", "*define\ngame\n*start\nend\n");
  const RunResult next = RunProgram({"--headless", killed_game.path()}, {"TMPDIR=" + base});
  EXPECT_EQ(next.status, 0) << next.err;
  EXPECT_FALSE(fs::exists(killed_dir));
  EXPECT_FALSE(fs::exists(killed_game.path() + "/gloval.sav.tmp"));
  EXPECT_FALSE(fs::exists(killed_game.path() + "/gloval.sav.Ab12Cd.tmp"));
  EXPECT_TRUE(fs::exists(live_dir)) << "the live run's directory was touched";
  EXPECT_TRUE(fs::exists(live_dir + ".owner"));
  // The next run removed its own directory as it ended.
  EXPECT_EQ(RunDirectories(base), std::vector<std::string>{live_dir});

  Stop(live, SIGTERM);
  EXPECT_TRUE(fs::is_empty(base)) << "a run removes its own directory and mark as it ends";
}

TEST(TemporaryDirectories, AnUnmarkedOneAndOneOfAnotherLiveOwnerStay) {
  GameDir base_dir;
  const std::string base = base_dir.path();
  fs::create_directory(base + "/orivane-unmark");  // made this instant, or by an older run
  const char* old_base = std::getenv("TMPDIR");
  const std::string restore = old_base ? old_base : "";
  ::setenv("TMPDIR", base.c_str(), 1);
  TempDirectory held;  // this process is alive and holds its mark
  const bool made = held.Create();
  TempDirectory other;  // sweeps as it is made
  const bool made_other = other.Create();
  if (old_base) ::setenv("TMPDIR", restore.c_str(), 1); else ::unsetenv("TMPDIR");
  ASSERT_TRUE(made && made_other);
  EXPECT_TRUE(fs::exists(base + "/orivane-unmark"));
  EXPECT_TRUE(fs::exists(held.path()));
  EXPECT_EQ(RemoveAbandonedTempDirectories(base), 0);
  // Its own directory holds nothing but what the engine puts there.
  EXPECT_TRUE(fs::is_empty(held.path()));
}

}  // namespace
}  // namespace orivane::test
