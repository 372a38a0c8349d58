// The numbered save files. "save%d.dat" holds the game as its last save
// point took it: the state (game_state.h), then the back-log pages, then the
// save point's place as a line and statement number, and optionally the
// text of `savegame2` as a trailer. "save%d.ss" (a BMP) holds the background
// when it was a copy of the screen (`bgcpy`), since that cannot be loaded
// again by a name. Loading rebuilds the screen and the text
// window and goes on at the start of the saved page.
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

#include "save/persistent_places.h"

namespace orivane {

struct Engine;

// Once, when the Engine is made: the interpreter takes save points through
// here, and a script error saves to slot 999 after `errorsave`.
void AttachSaveSlots(Engine& engine);

// The path of slot n's state file ("save%d.dat") or screen file ("save%d.ss"):
// where it is written, or where an existing one is read (the fallback folder
// first, when the game folder cannot be written; then the game folder).
std::string SaveFilePath(const Engine& engine, int32_t slot, FileUse use = FileUse::kRead);
std::string ScreenFilePath(const Engine& engine, int32_t slot, FileUse use = FileUse::kRead);

// Takes a save point at the script position: the state goes into the snapshot.
void TakeSavePoint(Engine& engine, int32_t position);

// Writes the snapshot to slot n (taking a save point first when none has been
// taken yet), with the trailer when one is given. False when the file could
// not be written; the slot's old file is then left as it was.
bool SaveToSlot(Engine& engine, int32_t slot, const std::string* trailer = nullptr);

// What a load does with a damaged file: the game is left exactly as it was
// either way; the player is told and the game goes on (a load from the
// menu), or the run ends with the error report (`loadgame`).
enum class OnDamagedSave { kTellAndGoOn, kEndRun };

// Loads slot n and moves the script to the saved page (or into the
// `loadgosub` routine). The whole file is read and checked before any of it
// is taken: false, with nothing changed, when the slot has no file or the
// file is damaged ("セーブデータが壊れています。": a cut file, a count past its
// limit, a string without its end, a position outside the script).
bool LoadFromSlot(Engine& engine, int32_t slot, OnDamagedSave on_damaged = OnDamagedSave::kTellAndGoOn);

// The local time the slot's state file was last written; nullopt without a file.
std::optional<std::tm> SlotTime(const Engine& engine, int32_t slot);

// The `savegame2` text of a slot ("" when there is none); nullopt when the
// file cannot be read.
std::optional<std::string> SlotTrailer(const Engine& engine, int32_t slot);

}  // namespace orivane
