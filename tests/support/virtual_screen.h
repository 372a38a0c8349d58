// Test support for runs of the real program in a window: starting programs
// beside the test, a virtual X server (Xvfb) whose screen the test reads
// pixel by pixel, real pointer and key input sent to that server (xdotool),
// and what the screen shows for a 640×480 game with its menu bar.
//
//   VirtualScreen screen;
//   screen.Start(FindProgram("Xvfb"), dir);           // DISPLAY=screen.display()
//   pid_t pid = Spawn({ORIVANE_BINARY, game}, {"DISPLAY=" + screen.display()});
//   ScreenInput input(FindProgram("xdotool"), screen.display());
//   if (screen.Grab() && ClassifyScreen(screen) == "window") input.Keys("alt+Return");
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace orivane::test {

// The full path of an executable found on PATH; empty when there is none.
std::string FindProgram(const char* name);

// Starts `args` (args[0] a full path) with the test's environment, in which
// each "NAME=value" of `extra_env` is added or replaces the variable of that
// name. Standard output and error go to the files `out` and `err` (they stay
// the test's own when empty). Returns the process id, or -1.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& extra_env = {},
            const std::string& out = "", const std::string& err = "");

// Spawn, then wait for the process: its exit status, or -1 when it did not
// start or did not exit normally.
int SpawnAndWait(const std::vector<std::string>& args, const std::vector<std::string>& extra_env = {});

// A virtual X server without a window manager, its screen kWidth × kHeight
// and its root window white. The server keeps the screen in a file, which
// Grab reads; the pointer is drawn into it.
class VirtualScreen {
 public:
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  VirtualScreen() = default;
  VirtualScreen(const VirtualScreen&) = delete;
  VirtualScreen& operator=(const VirtualScreen&) = delete;
  ~VirtualScreen();  // stops the server

  // Starts `xvfb` (the path of Xvfb) with its screen file in the directory
  // `fbdir`; false when the server did not come up.
  bool Start(const std::string& xvfb, const std::string& fbdir);
  // The display name to put in DISPLAY, for example ":3".
  const std::string& display() const { return display_; }

  // Reads the screen as it is now; false when it cannot be read (yet).
  bool Grab();

  // Pixels of the last Grab, by screen position.
  int Level(int x, int y) const;  // the brightest channel, 0 … 255
  bool Black(int x, int y) const { return Level(x, y) < 8; }
  bool White(int x, int y) const { return Level(x, y) > 247; }
  bool Grey(int x, int y) const { return !Black(x, y) && !White(x, y); }
  bool Blue(int x, int y) const;  // clearly more blue than red, like a box's title bar
  // Whether each channel lies within `tolerance` of the colour 0xRRGGBB (a
  // modal box dims the picture behind it a little).
  bool Near(int x, int y, uint32_t rgb, int tolerance = 90) const;

  // Writes the last Grab as a BMP file, for a person to look at.
  bool SaveBmp(const std::string& path) const;

 private:
  const uint8_t* Pixel(int x, int y) const;

  pid_t pid_ = -1;
  std::string display_;
  std::string file_;
  std::string pixels_;
  uint32_t stride_ = 0;
};

// Real input to a virtual screen through xdotool and the X test extension:
// the server takes it as a person's mouse and keyboard. Without a window
// manager the keys go to the window under the pointer.
class ScreenInput {
 public:
  ScreenInput(std::string xdotool, std::string display);

  // Each is true when xdotool carried it out.
  bool MoveTo(int x, int y) const;
  // Moves to the position, then presses and releases the left button.
  bool Click(int x, int y) const;
  // Presses and releases keys given by their X names: "n", "alt+Return".
  bool Keys(const std::string& keys) const;
  // Types the text key by key.
  bool Type(const std::string& text) const;

  // The ids of the top-level windows whose title (UTF-8) contains `name`.
  std::vector<unsigned long> WindowsNamed(const std::string& name) const;
  // Asks the window to close as a window manager does when its close button
  // is clicked (WM_DELETE_WINDOW); false when the X library or the server
  // could not be reached.
  bool CloseWindow(unsigned long id) const;

 private:
  bool Run(const std::vector<std::string>& args) const;

  std::string xdotool_;
  std::string display_;
};

// Where a 640×480 game's window (its 20-row menu bar above the picture) lies
// on the virtual screen: centred.
inline constexpr int kGameWindowLeft = (VirtualScreen::kWidth - 640) / 2;
inline constexpr int kGameWindowTop = (VirtualScreen::kHeight - 500) / 2;
inline constexpr int kMenuBarRows = 20;

// What the screen shows for a 640×480 game whose picture is black:
// "window" (the window with its menu bar), "window with menu open" (the
// bar's first menu dropped down), "box" (a message box over the window),
// "full screen", "full screen with bar", or "?" for anything else, such as a
// frame caught halfway through a change.
std::string ClassifyScreen(const VirtualScreen& screen);

}  // namespace orivane::test
