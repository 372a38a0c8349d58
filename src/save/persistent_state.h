// The persistent files' record in the Engine: where the files go (the game
// folder or the fallback folder, and the `savedir` inside it), which of the
// optional files the *define block asked for, which writes have failed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
  // Persistent files whose last write failed, noted once until one of their
  // writes succeeds again (the writer runs in every long wait: a full disk
  // would otherwise repeat the note each time).
  std::vector<std::string> failing_writes;
  // The message box about a failed write has been shown; once per run.
  bool write_failure_shown = false;
};

}  // namespace orivane
