// The system menu that a right click opens (`rmenu`), and how it and the
// save and load menus and their yes/no questions look and sound
// (`menusetwindow`, `menuselectcolor`, `menuselectvoice`). Set in the
// *define block; texts and file names are Shift-JIS.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orivane {

// What an entry of the system menu does.
enum class SystemMenuKind : int32_t {
  kLookback = 0,     // the back-log
  kWindowErase = 1,  // the text window off until a click
  kLoad = 2,         // the load menu
  kSave = 3,         // the save menu
  kReset = 4,        // asks, then resets
  kSkip = 5,         // skip mode
  kLookback2 = 8,    // a new page and the text window off
  kResetDialog = 9,  // asks in a message box, then resets
  kEnd = 10,         // asks, then ends the game
};

struct SystemMenuEntry {
  std::string text;
  SystemMenuKind kind = SystemMenuKind::kLookback;
};

struct MenuLook {
  int32_t glyph_width = 26;
  int32_t glyph_height = 26;
  int32_t advance_x = 26;
  int32_t advance_y = 28;
  bool bold = true;
  bool shadow = true;
  uint32_t highlighted = 0xFFFFFF;  // `menuselectcolor`
  uint32_t normal = 0xAAAAAA;
  uint32_t empty = 0x555599;  // a save slot without a file
  // `menuselectvoice` (empty: none), in the order of MenuSound.
  std::array<std::string, 7> sounds;
};

// The menu sounds, in the order `menuselectvoice` gives them.
enum class MenuSound { kShown, kCancelled, kOver, kTaken, kBackLogClosed, kYes, kNo };

// The lines of a menu screen while it is open: composition draws them over
// everything on a black screen.
struct MenuScreenLine {
  std::string text;  // Shift-JIS
  int32_t x = 0, y = 0;
  uint32_t colour = 0;       // when not highlighted
  bool selectable = false;
};

struct MenuScreenState {
  bool open = false;
  MenuLook look;  // what the lines are drawn with: the menu's look, made to fit the screen
  std::vector<MenuScreenLine> lines;
  int highlighted = -1;  // index into lines, -1 none
};

struct SystemMenuState {
  std::vector<SystemMenuEntry> entries;
  MenuLook look;
  bool in_menu = false;  // the system menu is open: a right click does not open it again
  MenuScreenState screen;
};

}  // namespace orivane
