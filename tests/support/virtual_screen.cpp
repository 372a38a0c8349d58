#include "support/virtual_screen.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

extern char** environ;

namespace orivane::test {

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

int SpawnAndWait(const std::vector<std::string>& args, const std::vector<std::string>& extra_env) {
  pid_t pid = Spawn(args, extra_env);
  if (pid <= 0) return -1;
  int wstatus = 0;
  if (::waitpid(pid, &wstatus, 0) != pid) return -1;
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

bool VirtualScreen::Start(const std::string& xvfb, const std::string& fbdir) {
  int fds[2];
  if (::pipe(fds) != 0) return false;
  // The server writes its display number to the pipe once it accepts clients.
  pid_ = Spawn({xvfb, "-displayfd", std::to_string(fds[1]), "-screen", "0",
                std::to_string(kWidth) + "x" + std::to_string(kHeight) + "x24", "-fbdir", fbdir, "-wr", "-nolisten",
                "tcp"},
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

VirtualScreen::~VirtualScreen() {
  if (pid_ > 0) {
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
}

bool VirtualScreen::Grab() {
  // The file is an X window dump: a header of big-endian fields, a colour
  // table, then the pixels in blue-green-red-x order.
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

const uint8_t* VirtualScreen::Pixel(int x, int y) const {
  x = std::clamp(x, 0, kWidth - 1);
  y = std::clamp(y, 0, kHeight - 1);
  return reinterpret_cast<const uint8_t*>(pixels_.data() + static_cast<size_t>(y) * stride_ + 4 * x);
}

int VirtualScreen::Level(int x, int y) const {
  if (pixels_.empty()) return 0;
  const uint8_t* p = Pixel(x, y);
  return std::max({p[0], p[1], p[2]});
}

bool VirtualScreen::Blue(int x, int y) const {
  if (pixels_.empty()) return false;
  const uint8_t* p = Pixel(x, y);
  return p[0] > 100 && p[0] > p[2] + 40;
}

ScreenInput::ScreenInput(std::string xdotool, std::string display)
    : xdotool_(std::move(xdotool)), display_(std::move(display)) {}

bool ScreenInput::Run(const std::vector<std::string>& args) const {
  std::vector<std::string> all{xdotool_};
  all.insert(all.end(), args.begin(), args.end());
  return SpawnAndWait(all, {"DISPLAY=" + display_}) == 0;
}

bool ScreenInput::MoveTo(int x, int y) const {
  return Run({"mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

bool ScreenInput::Click(int x, int y) const { return MoveTo(x, y) && Run({"click", "1"}); }

bool ScreenInput::Keys(const std::string& keys) const { return Run({"key", keys}); }

std::string ClassifyScreen(const VirtualScreen& s) {
  constexpr int kLeft = kGameWindowLeft;
  constexpr int kTop = kGameWindowTop;
  if (!s.White(5, 5)) {
    // Full screen: the picture covers the screen, the bar its top rows.
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

}  // namespace orivane::test
