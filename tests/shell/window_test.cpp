// The real window under Xvfb, played by real X input: the test moves the
// pointer, clicks and presses keys through xdotool as a person would, and
// watches the X server's frame buffer to see what the window shows: the
// game picture with the menu bar, full screen with the bar appearing only at
// the top rows, a menu opened by a click, the close question, the script's
// boxes, the text field over the picture and the debug window beside the
// game's. The scripts paint the picture a colour when an answer arrived. Every step
// waits until the screen shows what the previous one should have brought, so
// a slow or busy machine only makes the test take longer.
#include <signal.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/game_fixture.h"
#include "support/virtual_screen.h"

namespace orivane::test {
namespace {

// How long one state may take to appear: far more than any machine needs.
constexpr auto kStateDeadline = std::chrono::seconds(60);

// A stretch of rows or columns (inclusive bounds).
struct Span {
  int from;
  int to;
  int Mid() const { return (from + to) / 2; }
};

// A pixel of menu text: white or light grey in every channel (a hovered
// item's highlight is blue, backgrounds are dark).
bool TextPixel(const VirtualScreen& s, int x, int y) { return s.Level(x, y) > 160 && !s.Blue(x, y); }

// The stretches along one axis of the box [x0, x1) × [y0, y1) that hold text,
// joined across gaps of at most `gap`.
std::vector<Span> TextSpans(const VirtualScreen& s, int x0, int x1, int y0, int y1, bool along_x, int gap) {
  std::vector<Span> spans;
  int outer0 = along_x ? x0 : y0, outer1 = along_x ? x1 : y1;
  int inner0 = along_x ? y0 : x0, inner1 = along_x ? y1 : x1;
  for (int a = outer0; a < outer1; ++a) {
    bool text = false;
    for (int b = inner0; b < inner1 && !text; ++b) text = along_x ? TextPixel(s, a, b) : TextPixel(s, b, a);
    if (!text) continue;
    if (!spans.empty() && a - spans.back().to <= gap + 1) {
      spans.back().to = a;
    } else {
      spans.push_back({a, a});
    }
  }
  return spans;
}

// The labels of the window's menu bar, left to right.
std::vector<Span> BarItems(const VirtualScreen& s) {
  return TextSpans(s, kGameWindowLeft, kGameWindowLeft + 640, kGameWindowTop + 3, kGameWindowTop + kMenuBarRows - 3,
                   true, 8);
}

// The item rows of a menu dropped down from the bar within the columns
// [x0, x1) of the window, top to bottom.
std::vector<Span> PopupRows(const VirtualScreen& s, int x0, int x1) {
  return TextSpans(s, kGameWindowLeft + x0, kGameWindowLeft + x1, kGameWindowTop + kMenuBarRows + 1,
                   kGameWindowTop + 300, false, 3);
}

// The text of one popup row across the columns [x0, x1) of the window.
Span RowText(const VirtualScreen& s, const Span& row, int x0, int x1) {
  std::vector<Span> cols = TextSpans(s, kGameWindowLeft + x0, kGameWindowLeft + x1, row.from, row.to + 1, true, 40);
  return cols.empty() ? Span{kGameWindowLeft + x0, kGameWindowLeft + x0} : Span{cols.front().from, cols.back().to};
}

// Where the pointer rests while the test reads menus: over the picture, away
// from the bar, the popups and the pixels ClassifyScreen looks at.
constexpr int kRestX = kGameWindowLeft + 500;
constexpr int kRestY = kGameWindowTop + 320;

// Grabs the screen until `shown` holds for two grabs in a row (one frame in
// the middle of a change does not count); false when `gave_up` turned true
// or the deadline passed first. `seen` hears how ClassifyScreen names each
// grab.
bool WatchScreen(VirtualScreen& screen, const std::function<bool()>& shown, const std::function<bool()>& gave_up,
                 const std::function<void(const std::string&)>& seen) {
  auto deadline = std::chrono::steady_clock::now() + kStateDeadline;
  int in_a_row = 0;
  while (std::chrono::steady_clock::now() < deadline && !gave_up()) {
    if (screen.Grab()) {
      seen(ClassifyScreen(screen));
      in_a_row = shown() ? in_a_row + 1 : 0;
      if (in_a_row == 2) return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

// The program in its window, and what the screen has shown so far.
class WindowRun {
 public:
  WindowRun(VirtualScreen& screen, pid_t pid) : screen_(screen), pid_(pid) {}
  ~WindowRun() {
    if (!ended_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }

  // WatchScreen until the program ends.
  bool WaitUntil(const std::function<bool()>& shown) {
    return WatchScreen(screen_, shown, [&] { return Ended(); }, [&](const std::string& s) { Record(s); });
  }
  // Waits until the screen shows `state` (a name given by ClassifyScreen).
  ::testing::AssertionResult Shows(const std::string& state) {
    if (WaitUntil([&] { return ClassifyScreen(screen_) == state; })) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the screen never showed: " << state << "\nseen: " << Trace();
  }

  // Waits for the program to end; its exit status, or -1 when it did not
  // end normally within the deadline.
  int WaitForExit() {
    auto give_up = std::chrono::steady_clock::now() + kStateDeadline;
    while (!Ended() && std::chrono::steady_clock::now() < give_up)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return ended_ ? status_ : -1;
  }

  // The states seen, in order, for failure messages.
  std::string Trace() const {
    std::string t;
    for (const std::string& s : seen_) t += s + " | ";
    return t;
  }

 private:
  bool Ended() {
    int wstatus = 0;
    if (!ended_ && ::waitpid(pid_, &wstatus, WNOHANG) == pid_) {
      ended_ = true;
      status_ = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    }
    return ended_;
  }
  void Record(const std::string& state) {
    if (state != "?" && (seen_.empty() || seen_.back() != state)) seen_.push_back(state);
  }

  VirtualScreen& screen_;
  pid_t pid_;
  bool ended_ = false;
  int status_ = -1;
  std::vector<std::string> seen_;
};

TEST(Window, PlayerUsesTheWindowMenuAndCloseQuestion) {
  std::string xvfb = FindProgram("Xvfb");
  std::string xdotool = FindProgram("xdotool");
  if (xvfb.empty() || xdotool.empty()) GTEST_SKIP() << "Xvfb or xdotool is not installed";
  GameDir game;
  game.Write("0.txt", "*define\ncaption \"窓\"\ngame\n*start\n一@\n二@\n三@\nend\n");
  std::filesystem::create_directories(game.path() + "/fb");
  std::filesystem::create_directories(game.path() + "/tmp");
  VirtualScreen screen;
  ASSERT_TRUE(screen.Start(xvfb, game.path() + "/fb"));
  ScreenInput input(xdotool, screen.display());
  // Leak checking is left to the headless tests: SDL's D-Bus connection and
  // the X libraries keep allocations until the process ends.
  pid_t pid = Spawn({ORIVANE_BINARY, game.path()},
                    {"DISPLAY=" + screen.display(), "ASAN_OPTIONS=detect_leaks=0", "TMPDIR=" + game.path() + "/tmp"},
                    game.path() + "/out.txt", game.path() + "/err.txt");
  ASSERT_GT(pid, 0);
  WindowRun run(screen, pid);
  // Clicks the bar's label that `pick` chooses, then moves the pointer out
  // of the way (a menu stays open when the pointer leaves it).
  auto click_label = [&](const std::function<Span(const std::vector<Span>&)>& pick) {
    std::vector<Span> labels = BarItems(screen);
    return labels.size() >= 2 && input.Click(pick(labels).Mid(), kGameWindowTop + kMenuBarRows / 2) &&
           input.MoveTo(kRestX, kRestY);
  };
  auto first = [](const std::vector<Span>& v) { return v.front(); };
  auto last = [](const std::vector<Span>& v) { return v.back(); };
  // 終了 is the bar's last item (command 40001: the same question as the
  // window's close button, which cannot be clicked without a window
  // manager). When the bar is too narrow for every item it lies in the last
  // menu, "»", which is clicked once it has dropped down.
  auto ask_to_quit = [&] {
    if (!click_label(last)) return false;
    std::vector<Span> rows;
    auto dropped_or_asked = [&] {
      return ClassifyScreen(screen) == "box" || (rows = PopupRows(screen, 320, 640)).size() >= 2;
    };
    if (!run.WaitUntil(dropped_or_asked)) return false;
    return ClassifyScreen(screen) == "box" ||
           input.Click(RowText(screen, rows.back(), 320, 640).Mid(), rows.back().Mid());
  };

  ASSERT_TRUE(run.Shows("window"));
  // Alt+Enter, with the pointer over the picture so that the keys reach the
  // window: full screen, the bar showing until the pointer moves.
  ASSERT_TRUE(input.MoveTo(kGameWindowLeft + 600, kGameWindowTop + kMenuBarRows + 400));
  ASSERT_TRUE(input.Keys("alt+Return"));
  ASSERT_TRUE(run.Shows("full screen with bar"));
  ASSERT_TRUE(input.MoveTo(512, 640));  // down into the picture: the bar goes
  ASSERT_TRUE(run.Shows("full screen"));
  ASSERT_TRUE(input.MoveTo(512, 5));  // the top rows: it comes back
  ASSERT_TRUE(run.Shows("full screen with bar"));
  ASSERT_TRUE(input.Keys("alt+Return"));  // back to the window
  ASSERT_TRUE(run.Shows("window"));
  // A click on 画面 in the bar opens it, and one on its first item,
  // フルスクリーン, goes to full screen.
  ASSERT_TRUE(click_label(first));
  ASSERT_TRUE(run.Shows("window with menu open"));
  std::vector<Span> rows;
  ASSERT_TRUE(run.WaitUntil([&] { return (rows = PopupRows(screen, 0, 200)).size() >= 2; }))
      << "the 画面 menu shows no items\nseen: " << run.Trace();
  ASSERT_TRUE(input.Click(RowText(screen, rows.front(), 0, 200).Mid(), rows.front().Mid()));
  ASSERT_TRUE(run.Shows("full screen with bar"));
  ASSERT_TRUE(input.Keys("alt+Return"));
  ASSERT_TRUE(run.Shows("window"));
  ASSERT_TRUE(ask_to_quit()) << "終了 could not be chosen\nseen: " << run.Trace();
  ASSERT_TRUE(run.Shows("box"));
  ASSERT_TRUE(input.Keys("n"));  // the box takes the Y and N keys
  ASSERT_TRUE(run.Shows("window"));
  ASSERT_TRUE(ask_to_quit()) << "終了 could not be chosen\nseen: " << run.Trace();
  ASSERT_TRUE(run.Shows("box"));
  ASSERT_TRUE(input.Keys("y"));
  int status = run.WaitForExit();

  std::string err = game.ReadBytes("err.txt");
  EXPECT_EQ(status, 0) << err << "\nseen: " << run.Trace();
  EXPECT_EQ(err.find("playing headless"), std::string::npos) << err;
  EXPECT_EQ(game.ReadBytes("out.txt"), "一\n");
  EXPECT_TRUE(std::filesystem::is_empty(game.path() + "/tmp"));
}

// Start after start on one X server, each as soon as the window before has
// gone: every start opens its window. SDL, left to itself, fell back to a
// driver that draws into memory whenever the server did not take the
// connection at once, and the game played unseen.
TEST(Window, EveryStartOnOneServerOpensTheWindow) {
  std::string xvfb = FindProgram("Xvfb");
  if (xvfb.empty()) GTEST_SKIP() << "Xvfb is not installed";
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\nclick\nend\n");
  std::filesystem::create_directories(game.path() + "/fb");
  std::filesystem::create_directories(game.path() + "/tmp");
  VirtualScreen screen;
  ASSERT_TRUE(screen.Start(xvfb, game.path() + "/fb"));
  auto no_window = [&] { return screen.White(kGameWindowLeft + 320, kGameWindowTop + 250); };
  auto never = [] { return false; };
  auto ignore = [](const std::string&) {};
  constexpr int kStarts = 50;
  for (int start = 1; start <= kStarts; ++start) {
    ASSERT_TRUE(WatchScreen(screen, no_window, never, ignore)) << "start " << start << ": the last window stays";
    // The timeout only bounds a run that nobody ends.
    pid_t pid = Spawn({ORIVANE_BINARY, "--timeout", "60000", game.path()},
                      {"DISPLAY=" + screen.display(), "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=",
                       "ASAN_OPTIONS=detect_leaks=0", "TMPDIR=" + game.path() + "/tmp"},
                      game.path() + "/out.txt", game.path() + "/err.txt");
    ASSERT_GT(pid, 0);
    WindowRun run(screen, pid);
    ASSERT_TRUE(run.Shows("window")) << "start " << start << ": " << game.ReadBytes("err.txt");
    ::kill(pid, SIGTERM);
    ASSERT_EQ(run.WaitForExit(), 128 + SIGTERM) << "start " << start << ": " << game.ReadBytes("err.txt");
  }
}

// A display that names no server: the run plays headless and says why, with
// the display it could not reach.
TEST(Window, StartWithoutItsDisplayTellsWhyItPlaysHeadless) {
  if (std::filesystem::exists("/tmp/.X11-unix/X999")) GTEST_SKIP() << "display :999 exists";
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\n一\nend\n");
  pid_t pid = Spawn({ORIVANE_BINARY, game.path()},
                    {"DISPLAY=:999", "WAYLAND_DISPLAY=", "SDL_VIDEODRIVER=", "ASAN_OPTIONS=detect_leaks=0"},
                    game.path() + "/out.txt", game.path() + "/err.txt");
  ASSERT_GT(pid, 0);
  int wstatus = 0;
  ASSERT_EQ(::waitpid(pid, &wstatus, 0), pid);
  std::string err = game.ReadBytes("err.txt");
  EXPECT_TRUE(WIFEXITED(wstatus) && WEXITSTATUS(wstatus) == 0) << err;
  EXPECT_NE(err.find("the window could not be opened: "), std::string::npos) << err;
  EXPECT_NE(err.find("(DISPLAY=:999)"), std::string::npos) << err;
  EXPECT_NE(err.find("playing headless"), std::string::npos) << err;
  EXPECT_EQ(game.ReadBytes("out.txt"), "一\n");
}

// A game in its window on a fresh virtual screen, played with real input.
// The picture's colours tell the test what the script has seen.
class ScreenGame {
 public:
  // False (with the test skipped) when Xvfb or xdotool is missing.
  bool Start(const std::string& script) {
    std::string xvfb = FindProgram("Xvfb");
    std::string xdotool = FindProgram("xdotool");
    if (xvfb.empty() || xdotool.empty()) return false;
    game_.Write("0.txt", script);
    std::filesystem::create_directories(game_.path() + "/fb");
    std::filesystem::create_directories(game_.path() + "/tmp");
    if (!screen_.Start(xvfb, game_.path() + "/fb")) return false;
    input_.emplace(xdotool, screen_.display());
    pid_t pid = Spawn({ORIVANE_BINARY, game_.path()},
                      {"DISPLAY=" + screen_.display(), "ASAN_OPTIONS=detect_leaks=0", "TMPDIR=" + game_.path() + "/tmp"},
                      game_.path() + "/out.txt", game_.path() + "/err.txt");
    if (pid <= 0) return false;
    run_.emplace(screen_, pid);
    return true;
  }

  // Waits until `shown` holds on the screen; on failure the screen is kept
  // as "<name>.bmp" in the working directory for a person to look at.
  ::testing::AssertionResult Shows(const std::string& name, const std::function<bool()>& shown) {
    if (run_->WaitUntil(shown)) return ::testing::AssertionSuccess();
    screen_.SaveBmp(name + ".bmp");
    return ::testing::AssertionFailure() << "the screen never showed: " << name << "\nerrors: " << Errors();
  }

  // Screen positions of game coordinates (the picture lies under the bar).
  static int X(int game_x) { return kGameWindowLeft + game_x; }
  static int Y(int game_y) { return kGameWindowTop + kMenuBarRows + game_y; }
  // Whether the picture's corner, away from every box, has the colour.
  bool Picture(uint32_t rgb) const { return screen_.Near(X(20), Y(460), rgb); }

  // Whether a box stands over the window: a box's title bar and buttons are
  // blue, which none of the pictures here are.
  bool BoxShown() const { return BlueRows().size() > 10; }
  // The rows of the window's middle that hold blue, top to bottom.
  std::vector<int> BlueRows() const {
    std::vector<int> rows;
    for (int y = Y(0); y < Y(480); ++y) {
      int blue = 0;
      for (int x = X(150); x < X(490); x += 2) blue += screen_.Blue(x, y);
      if (blue >= 3) rows.push_back(y);
    }
    return rows;
  }
  // Clicks the box's first button (OK, はい): the leftmost blue of its lowest
  // row of blue, the buttons' row.
  bool ClickFirstButton() {
    std::vector<int> rows = BlueRows();
    if (rows.empty()) return false;
    int y = rows.back() - 6;
    for (int x = X(150); x < X(490); ++x)
      if (screen_.Blue(x, y)) return input_->Click(x + 10, y) && input_->MoveTo(X(600), Y(400));
    return false;
  }

  // Waits for the program to end; its exit status (-1: it did not end).
  int Exit() { return run_->WaitForExit(); }
  std::string Errors() const { return game_.ReadBytes("err.txt"); }

  VirtualScreen& screen() { return screen_; }
  ScreenInput& input() { return *input_; }

 private:
  GameDir game_;
  VirtualScreen screen_;
  std::optional<ScreenInput> input_;
  std::optional<WindowRun> run_;
};

constexpr uint32_t kBlack = 0x000000, kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00, kYellow = 0xFFFF00,
                   kOrange = 0xFF8000;

TEST(Window, ScriptBoxesAreAnsweredWithRealClicksAndKeys) {
  ScreenGame g;
  if (!g.Start("*define\ngame\n*start\nmesbox \"ようこそ\",\"案内\"\nbg #ff0000,1\n"
               "yesnobox %1,\"続けますか\",\"確認\"\nif %1 == 1 bg #00ff00,1\n"
               "inputstr $1,\"名前は\",20,0\nif $1 == \"orivane\" bg #ffff00,1\n"
               "menu_dwavvol\nbg #ff8000,1\nclick\nend\n"))
    GTEST_SKIP() << "Xvfb or xdotool is not installed, or the server did not start";
  // Keys go to the window under the pointer.
  ASSERT_TRUE(g.input().MoveTo(ScreenGame::X(600), ScreenGame::Y(400)));
  ASSERT_TRUE(g.Shows("mesbox", [&] { return g.BoxShown() && g.Picture(kBlack); }));
  ASSERT_TRUE(g.input().Keys("Return"));
  ASSERT_TRUE(g.Shows("yesnobox", [&] { return g.BoxShown() && g.Picture(kRed); }));
  ASSERT_TRUE(g.ClickFirstButton());
  ASSERT_TRUE(g.Shows("inputstr", [&] { return g.BoxShown() && g.Picture(kGreen); }));
  ASSERT_TRUE(g.input().Type("orivane"));
  ASSERT_TRUE(g.input().Keys("Return"));
  // The volume dialog: three sliders 160 rows high make it far taller than
  // a message box.
  ASSERT_TRUE(g.Shows("volume dialog", [&] {
    std::vector<int> rows = g.BlueRows();
    return g.Picture(kYellow) && rows.size() > 10 && rows.back() - rows.front() > 150;
  }));
  ASSERT_TRUE(g.input().Keys("Escape"));
  ASSERT_TRUE(g.Shows("picture after the boxes", [&] { return !g.BoxShown() && g.Picture(kOrange); }));
  ASSERT_TRUE(g.input().Click(ScreenGame::X(600), ScreenGame::Y(400)));
  EXPECT_EQ(g.Exit(), 0) << g.Errors();
}

// A drop-down of the bar closed by clicking its title again leaves the
// next click in the picture to the game; a click in the picture while a
// drop-down is open only closes it.
TEST(Window, ClicksAfterADropDownReachTheGame) {
  ScreenGame g;
  if (!g.Start("*define\ngame\n*start\nbg #ff0000,1\nclick\nbg #00ff00,1\nclick\nbg #ffff00,1\nclick\nend\n"))
    GTEST_SKIP() << "Xvfb or xdotool is not installed, or the server did not start";
  const int title_x = ScreenGame::X(15), title_y = kGameWindowTop + kMenuBarRows / 2;
  auto drop_down_shown = [&] { return !g.screen().Near(ScreenGame::X(20), ScreenGame::Y(12), kRed); };
  ASSERT_TRUE(g.Shows("red picture", [&] { return g.Picture(kRed); }));
  ASSERT_TRUE(g.input().Click(title_x, title_y));
  ASSERT_TRUE(g.Shows("drop-down open", drop_down_shown));
  ASSERT_TRUE(g.input().Click(title_x, title_y));
  ASSERT_TRUE(g.Shows("drop-down closed by its title", [&] { return !drop_down_shown(); }));
  ASSERT_TRUE(g.input().Click(ScreenGame::X(600), ScreenGame::Y(400)));
  ASSERT_TRUE(g.Shows("green picture after one click", [&] { return g.Picture(kGreen); }));

  ASSERT_TRUE(g.input().Click(title_x, title_y));
  ASSERT_TRUE(g.Shows("drop-down open again", [&] {
    return !g.screen().Near(ScreenGame::X(20), ScreenGame::Y(12), kGreen);
  }));
  ASSERT_TRUE(g.input().Click(ScreenGame::X(600), ScreenGame::Y(400)));  // only closes it
  ASSERT_TRUE(g.Shows("drop-down closed by a click outside", [&] {
    return g.screen().Near(ScreenGame::X(20), ScreenGame::Y(12), kGreen);
  }));
  EXPECT_TRUE(g.Picture(kGreen));
  ASSERT_TRUE(g.input().Click(ScreenGame::X(600), ScreenGame::Y(400)));
  ASSERT_TRUE(g.Shows("yellow picture", [&] { return g.Picture(kYellow); }));
  ASSERT_TRUE(g.input().Click(ScreenGame::X(600), ScreenGame::Y(400)));
  EXPECT_EQ(g.Exit(), 0) << g.Errors();
}

TEST(Window, TextFieldOverThePictureTakesTypedText) {
  ScreenGame g;
  if (!g.Start("*define\ngame\n*start\ntextfield $1,100,100,299,129,8,16,0\n"
               "if $1 == \"hello\" bg #00ff00,1\nif $1 != \"hello\" bg #ff0000,1\nclick\nend\n"))
    GTEST_SKIP() << "Xvfb or xdotool is not installed, or the server did not start";
  // White inside the field's rectangle, the black picture around it.
  auto field_shown = [&] {
    const VirtualScreen& s = g.screen();
    return s.Near(ScreenGame::X(104), ScreenGame::Y(104), kWhite, 8) &&
           s.Near(ScreenGame::X(295), ScreenGame::Y(125), kWhite, 8) &&
           s.Near(ScreenGame::X(95), ScreenGame::Y(115), kBlack, 8) &&
           s.Near(ScreenGame::X(305), ScreenGame::Y(115), kBlack, 8) &&
           s.Near(ScreenGame::X(200), ScreenGame::Y(95), kBlack, 8) &&
           s.Near(ScreenGame::X(200), ScreenGame::Y(135), kBlack, 8);
  };
  ASSERT_TRUE(g.Shows("text field", field_shown));
  // A click in the field places the caret; were it the game's, it would end
  // the field empty.
  ASSERT_TRUE(g.input().Click(ScreenGame::X(150), ScreenGame::Y(115)));
  ASSERT_TRUE(g.input().MoveTo(ScreenGame::X(600), ScreenGame::Y(400)));
  // The typed text shows in the field as columns with dark pixels; the
  // caret alone darkens one or two.
  auto dark_in_field = [&] {
    int dark = 0;
    for (int x = ScreenGame::X(101); x < ScreenGame::X(200); ++x) {
      bool any = false;
      for (int y = ScreenGame::Y(102); y < ScreenGame::Y(128) && !any; ++y) any = g.screen().Level(x, y) < 100;
      dark += any;
    }
    return dark;
  };
  // Escape on a field with text empties it, and the field goes on.
  ASSERT_TRUE(g.input().Type("abc"));
  ASSERT_TRUE(g.Shows("first text", [&] { return field_shown() && dark_in_field() > 12; }));
  ASSERT_TRUE(g.input().Keys("Escape"));
  ASSERT_TRUE(g.Shows("emptied field", [&] { return field_shown() && dark_in_field() <= 3; }));
  ASSERT_TRUE(g.input().Type("hello"));
  ASSERT_TRUE(g.Shows("typed text", [&] { return field_shown() && dark_in_field() > 12; }));
  g.screen().SaveBmp("window_text_field.bmp");
  ASSERT_TRUE(g.input().Keys("Return"));
  ASSERT_TRUE(g.Shows("the text in the variable", [&] { return g.Picture(kGreen); }));
  ASSERT_TRUE(g.input().Click(ScreenGame::X(600), ScreenGame::Y(400)));
  EXPECT_EQ(g.Exit(), 0) << g.Errors();
}

TEST(Window, DebugWindowIsASecondWindowThatClosesAlone) {
  ScreenGame g;
  if (!g.Start("*define\ncaption \"窓\"\ncreatedebugwindow\ngame\n*start\nbg #ff0000,1\nclick\nbg #00ff00,1\nclick\n"
               "end\n"))
    GTEST_SKIP() << "Xvfb or xdotool is not installed, or the server did not start";
  // It opens below the game window, at its left edge: the root window's
  // white there gives way to the debug window's dark face.
  const int below_x = kGameWindowLeft + 200, below_y = VirtualScreen::kHeight - 40;
  std::vector<unsigned long> ids;
  ASSERT_TRUE(g.Shows("debug window", [&] {
    return g.Picture(kRed) && !g.screen().White(below_x, below_y) &&
           (ids = g.input().WindowsNamed("デバッグウィンドウ")).size() == 1;
  }));
  g.screen().SaveBmp("window_debug_window.bmp");
  // The game window's close button still asks whether to quit.
  std::vector<unsigned long> game_window = g.input().WindowsNamed("窓");
  ASSERT_EQ(game_window.size(), 1u);
  ASSERT_TRUE(g.input().CloseWindow(game_window.front()));
  ASSERT_TRUE(g.Shows("close question", [&] { return g.BoxShown() && g.Picture(kRed); }));
  ASSERT_TRUE(g.input().Keys("n"));
  ASSERT_TRUE(g.Shows("close question answered", [&] { return !g.BoxShown() && g.Picture(kRed); }));
  ASSERT_TRUE(g.input().CloseWindow(ids.front()));
  ASSERT_TRUE(g.Shows("debug window closed", [&] {
    return g.screen().White(below_x, below_y) && g.input().WindowsNamed("デバッグウィンドウ").empty();
  }));
  // The game plays on.
  ASSERT_TRUE(g.input().Click(ScreenGame::X(600), ScreenGame::Y(400)));
  ASSERT_TRUE(g.Shows("the game after the debug window", [&] { return g.Picture(kGreen); }));
  ASSERT_TRUE(g.input().Click(ScreenGame::X(600), ScreenGame::Y(400)));
  EXPECT_EQ(g.Exit(), 0) << g.Errors();
}

}  // namespace
}  // namespace orivane::test
