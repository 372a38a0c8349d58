// The files that outlive a run: the read flags ("kidoku.dat"), the global
// variables ("gloval.sav"), the player's environment ("envdata") and the two
// name logs ("Orvnflog.dat", "Orvnllog.dat"). One writer writes them all, at
// shut-down, before a `definereset` loads the script again, and once in
// every wait for the player that lasts more than a second (installed into
// the waits when the save subsystem attaches). Every file is written to a
// temporary file and renamed over the old one, so a crash or a full disk
// never leaves a broken file behind; a file that cannot be written is
// skipped and told (persistent_file_io.h). Where the files live:
// persistent_places.h.
#pragma once

#include <string_view>

#include "save/persistent_places.h"

namespace orivane {

struct Engine;

inline constexpr std::string_view kReadFlagsFile = "kidoku.dat";

// Writes every persistent file the game keeps, in order: the read flags,
// the global variables (after `globalon`), "envdata" (once it has been
// applied in this start-up cycle), the file and label logs (after `filelog`
// / `labellog`). Each one is written whole or not at all; one that fails
// does not stop the others.
void WritePersistentData(Engine& engine);

// The read flags alone: the bitmap written raw, one bit per script byte,
// when the flags are kept. True when written (or nothing to write).
bool WriteReadFlagsFile(Engine& engine);

// Fills the kept bitmap from the saved file: a shorter file leaves the rest
// unread; a missing one, and a damaged one (longer than the bitmap, so not
// this script's, or one that cannot be read whole) leave every flag unread.
void LoadReadFlagsFile(Engine& engine);

// Once, when the Engine is made: the waits get the writer.
void AttachPersistentData(Engine& engine);

// Before the script is loaded (start-up and `definereset`): the first time,
// the folder for the files is chosen; the files of the cycle that ends are
// written while its state is whole; the read flags are dropped (the *define
// block keeps them anew); the save directory is taken from "envdata". The
// first time, temporary files left by runs that were killed in the middle of
// a write are then removed from the folder and the save directory.
void ResetPersistentDataForStartUp(Engine& engine);

// Once the script is loaded and its GlobalBorder known: the global variables.
void StartPersistentData(Engine& engine);

// After the *define block: the name logs it asked for.
void FinishPersistentDataAfterDefine(Engine& engine);

// `savedir`: takes the directory (false, nothing changed, when it leaves the
// folder) and removes the leftovers of killed runs' writes in it. The files already read from the old place that the new one holds
// are read again from there: the global variables, and the read flags when
// they are kept.
bool ChangeSaveDirectory(Engine& engine, const std::string& sjis_dir);

}  // namespace orivane
