// The persistent files' record in the Engine: where the files go (the game
// folder or the fallback folder, and the `savedir` inside it), which of the
// optional files the *define block asked for.
#pragma once

#include <cstdint>
#include <string>

namespace orivane {

struct PersistentPlaces {
  // The game folder's writability has been probed; once per run, at the
  // first start-up. Before that every file is in the game folder.
  bool decided = false;
  // Host path of the folder used instead of a game folder that cannot be
  // written ("$XDG_DATA_HOME/<game folder name>"); empty: the game folder.
  std::string fallback;
  // `savedir` (Shift-JIS, as the script or "envdata" gave it, checked to stay
  // inside the folder); empty: none.
  std::string save_dir;
};

struct PersistentState {
  PersistentPlaces places;
  bool label_log_kept = false;  // `labellog`; `filelog` is the file layer's switch
  // "envdata" has been applied in this start-up cycle: from now on the writer
  // writes it. Before, the settings in force are defaults, and writing them
  // would overwrite the player's choices.
  bool environment_taken = false;
};

}  // namespace orivane
