// The files that outlive a run: the read flags ("kidoku.dat") now; the
// global variables, the player's environment and the name logs join the
// same writer. The writer runs at shut-down and once in every wait for the
// player that lasts more than a second (installed into the waits when the
// save subsystem attaches). Every file is written to a temporary file and
// renamed over the old one, so a crash or a full disk never leaves a broken
// file behind; a file that cannot be written is skipped.
#pragma once

#include <string>
#include <string_view>

namespace orivane {

struct Engine;

inline constexpr std::string_view kReadFlagsFile = "kidoku.dat";

// Where the persistent file `name` lives. Today the game directory (the
// current directory while the engine runs); `savedir` will point it into its
// directory. Every reader and writer of these files asks here.
std::string PersistentFilePath(const Engine& engine, std::string_view name);

// Writes every persistent file the game keeps. Each one is written whole
// or not at all; one that fails does not stop the others.
void WritePersistentData(Engine& engine);

// The read flags alone: the bitmap written raw, one bit per script byte,
// when the flags are kept. True when written (or nothing to write).
bool WriteReadFlagsFile(Engine& engine);

// Fills the kept bitmap from the saved file: a shorter file leaves the rest
// unread, a longer one is cut at the bitmap's size, and a missing or
// unreadable one leaves every flag unread.
void LoadReadFlagsFile(Engine& engine);

// Once, when the Engine is made: the waits get the writer.
void AttachPersistentData(Engine& engine);

// Before the script is loaded again: the flags gathered for the old script
// are saved, then dropped (the *define block keeps them anew).
void ResetPersistentDataForStartUp(Engine& engine);

}  // namespace orivane
