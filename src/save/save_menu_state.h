// What the save and load menus show: how many slots, their titles and the
// name of a slot (`savenumber`, `savename`), set in the *define block (the
// texts are Shift-JIS); and the screen copy a script keeps for its own save
// screens (`getscreenshot`).
#pragma once

#include <cstdint>
#include <string>

#include "platform/display_surface.h"

namespace orivane {

struct SaveMenuState {
  static constexpr int32_t kDefaultSlots = 9;
  int32_t slots = kDefaultSlots;
  std::string save_title;  // "＜セーブ＞"
  std::string load_title;  // "＜ロード＞"
  std::string slot_name;   // "しおり"
  // `getscreenshot`: a shrunk copy of the screen for the script to write
  // (a save's thumbnail); empty (width 0) when none is kept.
  DisplaySurface kept_screen;
};

// Before the script is loaded again: the default slot count and texts.
void ResetSaveMenuForStartUp(SaveMenuState& menu);

}  // namespace orivane
