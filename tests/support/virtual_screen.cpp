#include "support/virtual_screen.h"

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
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

bool VirtualScreen::Near(int x, int y, uint32_t rgb, int tolerance) const {
  if (pixels_.empty()) return false;
  const uint8_t* p = Pixel(x, y);
  auto close = [&](uint8_t have, uint32_t want) { return std::abs(int{have} - static_cast<int>(want & 0xFF)) <= tolerance; };
  return close(p[2], rgb >> 16) && close(p[1], rgb >> 8) && close(p[0], rgb);
}

bool VirtualScreen::SaveBmp(const std::string& path) const {
  if (pixels_.empty()) return false;
  // A bottom-up 32-bit BMP: the rows of the dump reversed, blue-green-red-x as they are.
  const uint32_t row = kWidth * 4, size = row * kHeight;
  uint8_t header[54] = {'B', 'M'};
  auto put = [&](int at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) header[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(2, 54 + size, 4);
  put(10, 54, 4);
  put(14, 40, 4);
  put(18, kWidth, 4);
  put(22, kHeight, 4);
  put(26, 1, 2);
  put(28, 32, 2);
  put(34, size, 4);
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(header), sizeof header);
  for (int y = kHeight - 1; y >= 0; --y) f.write(pixels_.data() + static_cast<size_t>(y) * stride_, row);
  return static_cast<bool>(f);
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

bool ScreenInput::Type(const std::string& text) const { return Run({"type", "--delay", "60", text}); }

namespace {

// The few Xlib calls the tests make, loaded when needed, so that the tests
// need not link the X library.
class Xlib {
 public:
  explicit Xlib(const std::string& display_name) {
    lib_ = ::dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!lib_) return;
    Load(open_, "XOpenDisplay");
    Load(close_, "XCloseDisplay");
    Load(intern, "XInternAtom");
    Load(send, "XSendEvent");
    Load(sync, "XSync");
    Load(root, "XDefaultRootWindow");
    Load(query_tree, "XQueryTree");
    Load(get_property, "XGetWindowProperty");
    Load(free, "XFree");
    if (open_ && close_ && intern && send && sync && root && query_tree && get_property && free)
      display = open_(display_name.c_str());
  }
  ~Xlib() {
    if (display) close_(display);
    if (lib_) ::dlclose(lib_);
  }
  Xlib(const Xlib&) = delete;
  Xlib& operator=(const Xlib&) = delete;

  // The window's title as a window manager shows it (UTF-8).
  std::string Title(Window w) const {
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (get_property(display, w, intern(display, "_NET_WM_NAME", False), 0, 1024, False,
                     intern(display, "UTF8_STRING", False), &type, &format, &count, &after, &data) == Success &&
        data) {
      title.assign(reinterpret_cast<char*>(data), count);
    }
    if (data) free(data);
    return title;
  }

  Display* display = nullptr;
  Atom (*intern)(Display*, const char*, Bool) = nullptr;
  Status (*send)(Display*, Window, Bool, long, XEvent*) = nullptr;
  int (*sync)(Display*, Bool) = nullptr;
  Window (*root)(Display*) = nullptr;
  Status (*query_tree)(Display*, Window, Window*, Window*, Window**, unsigned int*) = nullptr;
  int (*get_property)(Display*, Window, Atom, long, long, Bool, Atom, Atom*, int*, unsigned long*, unsigned long*,
                      unsigned char**) = nullptr;
  int (*free)(void*) = nullptr;

 private:
  template <typename F>
  void Load(F& f, const char* name) {
    f = reinterpret_cast<F>(::dlsym(lib_, name));
  }
  void* lib_ = nullptr;
  Display* (*open_)(const char*) = nullptr;
  int (*close_)(Display*) = nullptr;
};

}  // namespace

std::vector<unsigned long> ScreenInput::WindowsNamed(const std::string& name) const {
  std::vector<unsigned long> found;
  Xlib x(display_);
  if (!x.display) return found;
  Window root = 0, parent = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  if (x.query_tree(x.display, x.root(x.display), &root, &parent, &children, &count)) {
    for (unsigned int i = 0; i < count; ++i)
      if (x.Title(children[i]).find(name) != std::string::npos) found.push_back(children[i]);
  }
  if (children) x.free(children);
  return found;
}

bool ScreenInput::CloseWindow(unsigned long id) const {
  Xlib x(display_);
  if (!x.display) return false;
  XEvent e;
  std::memset(&e, 0, sizeof e);
  e.xclient.type = ClientMessage;
  e.xclient.window = id;
  e.xclient.message_type = x.intern(x.display, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(x.intern(x.display, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  bool sent = x.send(x.display, id, False, NoEventMask, &e) != 0;
  x.sync(x.display, False);
  return sent;
}

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
