// The file layer every loader goes through (pictures, script file commands,
// and the sound and movie players). A name is looked up as a loose file in
// the game directory first (as HostPath maps a script's name), then in the
// archives (when `ora`, `or2` or `or3` switched them on), then through the
// archive readers registered with `arc`. When the file log is on, every name
// asked for is recorded in the FileLog, found or not; nothing else records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_set.h"
#include "archive/spb.h"
#include "platform/display_surface.h"

namespace orivane {

struct Engine;

enum class FileOrigin {
  kNone,           // found nowhere
  kLoose,          // `path` is the loose file
  kArchive,        // `entry` says where it lies; `path` is the archive file
  kPluginArchive,  // a plug-in reader wrote it to `path` in the temporary directory
};

struct GameFile {
  FileOrigin origin = FileOrigin::kNone;
  std::string path;
  std::optional<ArchiveLocation> entry;
};

// How far a lookup goes. The picture loader looks for JPEG and BMP files in
// the loose files and the open archives only.
enum class FileSearch {
  kEverywhere,
  kLooseAndArchives,
};

// Finds a file without reading it. A plug-in archive's file is extracted on
// the way, since those readers can do nothing else; reading it through
// ReadFoundFile deletes it, otherwise the caller does.
GameFile FindGameFile(Engine& engine, std::string_view name, FileSearch search = FileSearch::kEverywhere);

// The bytes of a found file: loose, a plug-in archive's copy (deleted once
// read), or an archive entry as ReadArchivedEntry gives it. False, with `out`
// empty, when there is nothing to read.
bool ReadFoundFile(Engine& engine, const GameFile& file, std::vector<uint8_t>& out);

// Reads a whole file, for the script's file commands: loose, stored, or
// LZSS-decoded (cut at decoded size + 20 bytes). An SPB entry is a picture,
// not a file: it is refused as extraction refuses it ("%sが開けませんでした。",
// which ends the run). False when the file is nowhere or cannot be read.
bool ReadGameFile(Engine& engine, std::string_view name, std::vector<uint8_t>& out);

// A real file for a player that opens files by name: the loose file, or the
// file written into the temporary directory (`temporary` is then set, and the
// caller deletes it when done). nullopt when the file is nowhere.
std::optional<std::string> GameFilePath(Engine& engine, std::string_view name, bool* temporary = nullptr);

// An archived entry as bytes: kind 0 as stored, kind 2 through LZSS into at
// most decoded size + 20 bytes. False for other kinds or a read failure.
bool ReadArchivedEntry(Engine& engine, const ArchiveLocation& entry, std::vector<uint8_t>& out);

// An archived SPB picture (kind 1) decoded into `out`.
SpbResult ReadArchivedPicture(const ArchiveLocation& entry, DisplaySurface& out);

// What plug-ins get from the engine's exported lookup: the archive path, the
// entry's absolute offset and decoded size. Looks at the archives whether or
// not they were switched on, and records nothing. Returns 1 when found, else 0.
int OraGetFile(Engine& engine, std::string_view name, std::string& archive_path, uint64_t& offset,
               uint32_t& decoded_size);

}  // namespace orivane
