#include "save/persistent_places.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "engine.h"
#include "platform/platform.h"
#include "util/file_io.h"
#include "util/game_path.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// `name`, inside the save directory when the place asks for it (Shift-JIS,
// '\' between the two as scripts write it).
std::string RelativeName(const PersistentPlaces& places, std::string_view name, FilePlace place) {
  if (place == FilePlace::kTopFolder || places.save_dir.empty()) return std::string(name);
  return places.save_dir + "\\" + std::string(name);
}

// A Shift-JIS relative name under a host folder. Converted first, so that a
// '\' left in the UTF-8 text is a real separator, never a trail byte.
std::string UnderFolder(const std::string& folder, std::string_view sjis_relative) {
  std::string path = SjisToUtf8(sjis_relative);
  for (char& c : path)
    if (c == '\\') c = '/';
  return folder + "/" + path;
}

// Where a relative name goes in the folder in use: in the game folder the
// spelling found on disk wins, as for every file a game names.
std::string InFolderInUse(const PersistentPlaces& places, std::string_view sjis_relative) {
  if (places.fallback.empty()) return HostPath(sjis_relative);
  return UnderFolder(places.fallback, sjis_relative);
}

void MakeDirectory(const std::string& path) {
  std::error_code ec;
  std::filesystem::create_directories(path, ec);  // a failure shows when the files are written
}

}  // namespace

std::string PersistentFilePath(const Engine& engine, std::string_view name, FileUse use,
                               FilePlace place) {
  const PersistentPlaces& places = engine.persistent.places;
  const std::string relative = RelativeName(places, name, place);
  const std::string path = InFolderInUse(places, relative);
  if (use == FileUse::kWrite || places.fallback.empty() || FileExists(path)) return path;
  // A file the fallback folder does not hold yet may still lie in the game
  // folder, from before it became read-only or shipped with the game.
  std::string in_game_folder = HostPath(relative);
  return FileExists(in_game_folder) ? in_game_folder : path;
}

std::string PersistentFolderPath(const Engine& engine, FilePlace place) {
  const PersistentPlaces& places = engine.persistent.places;
  if (place == FilePlace::kTopFolder || places.save_dir.empty())
    return places.fallback.empty() ? std::string(".") : places.fallback;
  return InFolderInUse(places, places.save_dir);
}

std::string FallbackFolderFor(std::string_view game_dir, const char* xdg_data_home,
                              const char* home) {
  std::string base;
  if (xdg_data_home && xdg_data_home[0] == '/') {
    base = xdg_data_home;
  } else if (home && home[0] != '\0') {
    base = std::string(home) + "/.local/share";
  } else {
    return {};
  }
  std::string_view dir = game_dir;
  while (dir.size() > 1 && dir.back() == '/') dir.remove_suffix(1);
  const size_t slash = dir.rfind('/');
  std::string_view name = slash == std::string_view::npos ? dir : dir.substr(slash + 1);
  // The root directory has no name of its own.
  return base + "/" + (name.empty() ? std::string("orivane-game") : std::string(name));
}

bool CanCreateFileIn(const std::string& dir) {
  std::string probe = dir + "/.orivane-write-probe-XXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

void ChoosePersistentFolder(Engine& engine) {
  PersistentPlaces& places = engine.persistent.places;
  if (places.decided) return;
  places.decided = true;
  std::error_code ec;
  const std::string game_dir = std::filesystem::current_path(ec).string();
  if (ec || CanCreateFileIn(game_dir)) return;
  const std::string folder =
      FallbackFolderFor(game_dir, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  if (folder.empty()) {
    engine.platform.Note(
        "orivane: the game folder cannot be written and neither XDG_DATA_HOME nor HOME "
        "names a folder for it; saves and persistent files are not kept");
    return;
  }
  places.fallback = folder;
  std::filesystem::create_directories(folder, ec);
  engine.platform.Note(
      "orivane: the game folder cannot be written; saves and persistent files go to " + folder +
      (ec ? " (which cannot be made: " + ec.message() + ")" : ""));
}

bool UseSaveDirectory(Engine& engine, const std::string& sjis_dir) {
  PersistentPlaces& places = engine.persistent.places;
  if (!sjis_dir.empty() && !IsInsideGameDirectory(sjis_dir)) return false;
  places.save_dir = sjis_dir;
  if (!sjis_dir.empty()) MakeDirectory(InFolderInUse(places, sjis_dir));
  return true;
}

}  // namespace orivane
