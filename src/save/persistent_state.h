// The persistent files' record in the Engine: where the files go (the game
// folder or the fallback folder, and the `savedir` inside it), which of the
// optional files the *define block asked for, and the player's settings that
// the environment file keeps for subsystems that do not act on them yet.
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

// Sound and CD settings of the player that "envdata" holds. Nothing plays
// sound yet; they are kept here so that they survive from run to run.
// Volumes are the script's 0 ... 100 (100 loudest).
struct KeptSoundSettings {
  std::string cd_drive;  // Shift-JIS; empty: the default drive
  int32_t voice_volume = 100;
  int32_t se_volume = 100;
  int32_t bgm_volume = 100;
  int32_t bgm_down_mode = 0;  // `bgmdownmode`: 0 = the music is not lowered under voices
};

struct PersistentState {
  PersistentPlaces places;
  bool label_log_kept = false;  // `labellog`; `filelog` is the file layer's switch
  // "envdata" has been applied in this start-up cycle: from now on the writer
  // writes it. Before, the settings in force are defaults, and writing them
  // would overwrite the player's choices.
  bool environment_taken = false;
  KeptSoundSettings sound;
};

}  // namespace orivane
