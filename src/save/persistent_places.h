// Where the save games and the persistent files live. Normally in the game
// folder (the current directory while the engine runs), in the `savedir`
// directory inside it when the script names one; "envdata" always at the
// top. When the game folder cannot be written, the same layout lives in the
// game's folder under $XDG_DATA_HOME instead, and reading looks there first.
// Every path of these files is made by PersistentFilePath.
#pragma once

#include <string>
#include <string_view>

namespace orivane {

struct Engine;

enum class FileUse {
  kWrite,  // where the file is written
  kRead,   // where an existing file is read: the fallback folder, else the game folder
};

enum class FilePlace {
  kSaveDirectory,  // inside `savedir` when one is set: saves, gloval.sav, kidoku.dat, the logs
  kTopFolder,      // never inside `savedir`: envdata
};

// The host path of the persistent file `name` (Shift-JIS, no separators).
std::string PersistentFilePath(const Engine& engine, std::string_view name,
                               FileUse use = FileUse::kWrite,
                               FilePlace place = FilePlace::kSaveDirectory);

// The host folder the files of `place` are written to: the folder in use
// ("." for the game folder), or the `savedir` directory inside it.
std::string PersistentFolderPath(const Engine& engine, FilePlace place);

// Once per run, at the first start-up: when no file can be made in the game
// folder, the files go to the fallback folder (made here), and one note on
// standard error says where.
void ChoosePersistentFolder(Engine& engine);

// The fallback folder of the game folder `game_dir` (an absolute host path):
// "$XDG_DATA_HOME/<its name>", or "$HOME/.local/share/<its name>" when
// XDG_DATA_HOME is unset, empty or relative. Empty when neither is usable.
std::string FallbackFolderFor(std::string_view game_dir, const char* xdg_data_home,
                              const char* home);

// True when a file can be created in `dir` (it is made and removed again).
// This is the question that matters: it also answers for the superuser, on
// read-only mounts, for immutable folders and for network shares that map
// the user to nobody, where permission bits alone would say yes.
bool CanCreateFileIn(const std::string& dir);

// Takes `sjis_dir` as the save directory (empty: none) and makes it when it
// does not exist. False, with nothing changed, for a name that leaves the
// folder (absolute, a drive, a ".." component).
bool UseSaveDirectory(Engine& engine, const std::string& sjis_dir);

}  // namespace orivane
