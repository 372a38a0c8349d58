// The menu bar as plain data: the shell builds and changes it, a backend with
// a window draws it and reports the chosen command as a kMenuCommand event.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orivane {

struct MenuItem {
  static constexpr int32_t kSubMenu = -1;

  std::string label;              // UTF-8
  int32_t command = kSubMenu;     // identifier sent when chosen; kSubMenu for a sub-menu
  bool checked = false;
  bool enabled = true;            // a disabled item is drawn grey and cannot be chosen
  std::vector<MenuItem> children; // the items of a sub-menu

  bool IsSubMenu() const { return command == kSubMenu; }
};

struct Menu {
  std::vector<MenuItem> items;  // the top level of the bar
};

}  // namespace orivane
