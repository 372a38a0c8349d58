// The save point: the place a save game resumes from. The interpreter takes
// one before each statement while the text page is empty and save points are
// on (`saveon`); the snapshot itself is written by the save subsystem.
#pragma once

#include <cstdint>

namespace orivane {

struct Engine;

struct SavePointState {
  bool enabled = true;      // the save-point switch
  int32_t position = -1;    // script position of the last save point, -1 none yet
};

// Before the script is loaded again: save points on, none taken yet.
void ResetSaveForStartUp(Engine& engine);

}  // namespace orivane
