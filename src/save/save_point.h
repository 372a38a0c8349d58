// The save point: the place a save game resumes from. Before every statement
// that begins while the text window's page is empty and save points are on
// (`saveon`), the game's state at that moment becomes the save point; a save
// writes it to a slot, so a game is saved as it was when its page began, not
// at the click that asked for the save.
//
// Serialising the whole state before every statement would make a loop on an
// empty page (a title screen, a counting loop) many times slower, so the
// interpreter only marks the position and the state is written when it is
// about to change in a way a save must not see: when text is about to fill
// the page, a wait for the player begins, the switch goes off, a save is
// made, or the first statement on a filled page begins. A story-text line
// takes its snapshot at once, as it always fills the page.
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
  // `position` is marked but `snapshot` does not hold its state yet.
  bool snapshot_due = false;
  // The background at the save point when it was a copy of the screen
  // (`bgcpy`), written beside the slot's file; empty otherwise.
  ImageSurface screen_copy;
  // Installed by the save subsystem: writes the state now into the snapshot
  // as the save point at `position`.
  void (*take)(Engine&, int32_t position) = nullptr;
  // Installed by the save subsystem: the save a script error writes first
  // (after `errorsave`).
  void (*save_before_error)(Engine&) = nullptr;
};

// Before the script is loaded again: save points on, none taken yet.
void ResetSaveForStartUp(Engine& engine);

// The interpreter, before a statement at `position` in the game: marks the
// save point while the page is empty, else writes a marked one that is
// still due.
inline void MarkSavePoint(Engine& engine, SavePointState& sp, int32_t position, bool page_empty) {
  if (sp.enabled && page_empty) {
    sp.position = position;
    sp.snapshot_due = true;
    sp.finalised = false;
  } else if (sp.snapshot_due && sp.take) {
    sp.take(engine, sp.position);
  }
}

// Writes the marked save point's state now, before something changes it.
inline void SettleSavePoint(Engine& engine, SavePointState& sp) {
  if (sp.snapshot_due && sp.take) sp.take(engine, sp.position);
}

// Takes a save point at `position` at once (a story-text line on an empty
// page, a loaded game).
inline void TakeSavePointNow(Engine& engine, SavePointState& sp, int32_t position) {
  if (sp.take) sp.take(engine, position);
}

// The switch off: a marked save point keeps the state it had.
inline void TurnSavePointsOff(Engine& engine, SavePointState& sp) {
  SettleSavePoint(engine, sp);
  sp.enabled = false;
}

}  // namespace orivane
