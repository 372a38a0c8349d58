// The real window under Xvfb: the program opens it, the scripted player's
// input goes through SDL (the pointer really moves, the menu bar is really
// clicked), and the test watches the X server's frame buffer to see what the
// window shows: the game picture with the menu bar, full screen with the
// bar appearing only at the top rows, a menu opened by a click, and the
// close question.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/game_fixture.h"

extern char** environ;

namespace orivane::test {
namespace {

std::string FindProgram(const char* name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    std::string candidate = dir + "/" + name;
    if (::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extra_env, const std::string& out,
            const std::string& err) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!out.empty()) posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!err.empty()) posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  std::vector<std::string> env_strings(extra_env);
  for (char** e = environ; *e; ++e) {
    std::string s = *e;
    bool replaced = false;
    for (const std::string& x : extra_env) replaced |= s.compare(0, x.find('=') + 1, x, 0, x.find('=') + 1) == 0;
    if (!replaced) env_strings.push_back(s);
  }
  std::vector<char*> env, argv;
  for (auto& s : env_strings) env.push_back(s.data());
  env.push_back(nullptr);
  std::vector<std::string> args_copy(args);
  for (auto& a : args_copy) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// A virtual X server whose screen is a file the test can read.
class VirtualScreen {
 public:
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  bool Start(const std::string& xvfb, const std::string& fbdir) {
    int fds[2];
    if (::pipe(fds) != 0) return false;
    // White root window, so that the window's black picture stands out.
    pid_ = Spawn({xvfb, "-displayfd", std::to_string(fds[1]), "-screen", "0",
                  std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24", "-fbdir", fbdir, "-wr",
                  "-nolisten", "tcp"},
                 {}, "/dev/null", "/dev/null");
    ::close(fds[1]);
    std::string number;
    pollfd p{fds[0], POLLIN, 0};
    char c;
    while (pid_ > 0 && ::poll(&p, 1, 10000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    ::close(fds[0]);
    display_ = ":" + number;
    file_ = fbdir + "/Xvfb_screen0";
    return !number.empty();
  }
  ~VirtualScreen() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  const std::string& display() const { return display_; }

  // Reads the screen; false when the file is not ready.
  bool Grab() {
    std::ifstream f(file_, std::ios::binary);
    std::string d((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (d.size() < 100) return false;
    auto field = [&](int i) {
      const auto* b = reinterpret_cast<const uint8_t*>(d.data() + 4 * i);
      return uint32_t{b[0]} << 24 | uint32_t{b[1]} << 16 | uint32_t{b[2]} << 8 | b[3];
    };
    uint32_t offset = field(0) + field(19) * 12;
    stride_ = field(12);
    if (field(4) != kWidth || field(5) != kHeight || field(11) != 32 ||
        d.size() < offset + static_cast<size_t>(stride_) * kHeight)
      return false;
    pixels_ = d.substr(offset);
    return true;
  }
  // Brightness of the brightest channel of a pixel (blue-green-red-x order).
  int Level(int x, int y) const {
    const auto* p = reinterpret_cast<const uint8_t*>(pixels_.data() + static_cast<size_t>(y) * stride_ + 4 * x);
    return std::max({p[0], p[1], p[2]});
  }
  bool Black(int x, int y) const { return Level(x, y) < 8; }
  bool White(int x, int y) const { return Level(x, y) > 247; }
  bool Grey(int x, int y) const { return !Black(x, y) && !White(x, y); }
  bool Blue(int x, int y) const {
    const auto* p = reinterpret_cast<const uint8_t*>(pixels_.data() + static_cast<size_t>(y) * stride_ + 4 * x);
    return p[0] > 100 && p[0] > p[2] + 40;
  }

 private:
  pid_t pid_ = -1;
  std::string display_;
  std::string file_;
  std::string pixels_;
  uint32_t stride_ = 0;
};

// What the screen shows, for a 640×480 game with its 20-row menu bar.
std::string Classify(const VirtualScreen& s) {
  constexpr int kLeft = (VirtualScreen::kWidth - 640) / 2;
  constexpr int kTop = (VirtualScreen::kHeight - 500) / 2;
  if (!s.White(5, 5)) {
    if (!s.Black(512, 700)) return "?";
    return s.Grey(1015, 10) ? "full screen with bar" : (s.Black(1015, 10) ? "full screen" : "?");
  }
  if (!s.Grey(kLeft + 636, kTop + 10)) return "?";  // the bar's empty right end
  // A box stands in the middle of the window, its title bar blue.
  int title = 0;
  for (int y = kTop + 200; y < kTop + 240; y += 2)
    for (int x = kLeft + 290; x < kLeft + 350; x += 2) title += s.Blue(x, y);
  if (title > 20) return "box";
  if (!s.Black(kLeft + 320, kTop + 400) || !s.Black(kLeft + 620, kTop + 470)) return "?";
  int popup = 0;
  for (int y = kTop + 24; y < kTop + 60; y += 4)
    for (int x = kLeft + 4; x < kLeft + 120; x += 4) popup += !s.Black(x, y);
  return popup > 150 ? "window with menu open" : "window";
}

TEST(Window, PlayerUsesTheWindowMenuAndCloseQuestion) {
  std::string xvfb = FindProgram("Xvfb");
  if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
  GameDir game;
  game.Write("0.txt", "*define\ncaption \"窓\"\ngame\n*start\n一@\n二@\n三@\nend\n");
  game.WriteBytes("input.txt",
                  "move 600 400\n"            // taken at the first wait, once the window shows
                  "after 1500 keydown alt\n"  // Alt+Enter: full screen, the bar shows until the pointer moves
                  "key enter\n"
                  "keyup alt\n"
                  "after 1500 move 320 400\n"  // down into the picture: the bar goes
                  "after 1500 move 320 5\n"    // the top rows: it comes back
                  "after 1500 menu 40003\n"    // back to the window
                  "after 1500 click 5 -10\n"   // a click on 画面 in the bar opens it
                  "after 1500 click 30 15\n"   // and one on its first item, フルスクリーン
                  "after 1500 menu 40003\n"
                  "after 1500 close\n"
                  "after 1500 answer no\n"
                  "after 1500 close\n"
                  "after 1500 answer yes\n");
  std::filesystem::create_directories(game.path() + "/fb");
  std::filesystem::create_directories(game.path() + "/tmp");
  VirtualScreen screen;
  ASSERT_TRUE(screen.Start(xvfb, game.path() + "/fb"));
  // Leak checking is left to the headless tests: SDL's D-Bus connection and
  // the X libraries keep allocations until the process ends.
  pid_t pid = Spawn({ORIVANE_BINARY, "--input", game.path() + "/input.txt", game.path()},
                    {"DISPLAY=" + screen.display(), "ASAN_OPTIONS=detect_leaks=0", "TMPDIR=" + game.path() + "/tmp"},
                    game.path() + "/out.txt", game.path() + "/err.txt");
  ASSERT_GT(pid, 0);
  std::vector<std::string> seen;
  int status = -1;
  auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(120);
  for (;;) {
    int wstatus = 0;
    if (::waitpid(pid, &wstatus, WNOHANG) == pid) {
      status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
      break;
    }
    if (std::chrono::steady_clock::now() > give_up) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
      FAIL() << "the program did not end";
    }
    if (screen.Grab()) {
      std::string state = Classify(screen);
      if (state != "?" && (seen.empty() || seen.back() != state)) seen.push_back(state);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::string err = game.ReadBytes("err.txt");
  EXPECT_EQ(status, 0) << err;
  EXPECT_EQ(err.find("playing headless"), std::string::npos) << err;
  EXPECT_EQ(game.ReadBytes("out.txt"), "一\n");
  std::vector<std::string> expected = {"window",
                                       "full screen with bar",
                                       "full screen",
                                       "full screen with bar",
                                       "window",
                                       "window with menu open",
                                       "full screen with bar",
                                       "window",
                                       "box",
                                       "window",
                                       "box"};
  std::string trace;
  for (const std::string& s : seen) trace += s + " | ";
  // Every state in order (each stands 1.5 s); frames caught halfway through
  // a change of the window may add others.
  size_t at = 0;
  for (const std::string& s : seen)
    if (at < expected.size() && s == expected[at]) ++at;
  EXPECT_EQ(at, expected.size()) << "seen: " << trace << "\nmissing from: " << expected[std::min(at, expected.size() - 1)];
  EXPECT_TRUE(std::filesystem::is_empty(game.path() + "/tmp"));
}

}  // namespace
}  // namespace orivane::test
