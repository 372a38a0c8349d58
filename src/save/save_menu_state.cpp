#include "save/save_menu_state.h"

#include "util/sjis.h"

namespace orivane {

void ResetSaveMenuForStartUp(SaveMenuState& menu) {
  menu = SaveMenuState{};
  menu.save_title = Utf8ToSjis("＜セーブ＞");
  menu.load_title = Utf8ToSjis("＜ロード＞");
  menu.slot_name = Utf8ToSjis("しおり");
}

}  // namespace orivane
