// The save point: the place a save game resumes from. When a story-text line
// begins on an empty page and save points are on (`saveon`), the whole state
// of the game is written into the snapshot; a save writes the snapshot to a
// slot, so a game is saved as it was when its page began, not at the click
// that asked for the save.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;

struct SavePointState {
  bool enabled = true;    // the save-point switch
  int32_t position = -1;  // script position of the last save point, -1 none yet
  // The state at the save point, in the save file's encoding. Finalising
  // appends the back-log pages and the position, once per save point, so
  // every save from one save point writes the same bytes.
  std::vector<uint8_t> snapshot;
  bool finalised = false;
  // The background at the save point when it was a copy of the screen
  // (`bgcpy`), written beside the slot's file; empty otherwise.
  ImageSurface screen_copy;
  // Installed by the save subsystem: takes a save point at the script
  // position (the interpreter calls it before a text line on an empty page).
  void (*take)(Engine&) = nullptr;
  // Installed by the save subsystem: the save a script error writes first
  // (after `errorsave`).
  void (*save_before_error)(Engine&) = nullptr;
};

// Before the script is loaded again: save points on, none taken yet.
void ResetSaveForStartUp(Engine& engine);

}  // namespace orivane
