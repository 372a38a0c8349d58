// What the save and load menus show: how many slots, their titles and the
// name of a slot (`savenumber`, `savename`). Set in the *define block; the
// texts are Shift-JIS.
#pragma once

#include <cstdint>
#include <string>

namespace orivane {

struct SaveMenuState {
  static constexpr int32_t kDefaultSlots = 9;
  int32_t slots = kDefaultSlots;
  std::string save_title;  // "＜セーブ＞"
  std::string load_title;  // "＜ロード＞"
  std::string slot_name;   // "しおり"
};

// Before the script is loaded again: the default slot count and texts.
void ResetSaveMenuForStartUp(SaveMenuState& menu);

}  // namespace orivane
