// The file layer every loader goes through: a loose file in the game
// directory first (named as HostPath maps a script's name), then the archives (when `ora`, `or2` or `or3` switched them
// on), then the archive readers registered with `arc`. When the file log is on
// every name asked for is recorded in the FileLog, found or not.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/archive_set.h"
#include "archive/picture24.h"
#include "archive/spb.h"

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

// Finds a file without reading it. A plug-in archive's file is extracted on
// the way, since those readers can do nothing else; the caller deletes it.
GameFile FindGameFile(Engine& engine, std::string_view name);

// Reads a whole file: loose, stored, or LZSS-decoded (cut at decoded size + 20
// bytes). An SPB entry is a picture, not bytes: false. False when not found.
bool ReadGameFile(Engine& engine, std::string_view name, std::vector<uint8_t>& out);

// A real file for a player that opens files by name: the loose file, or the
// file written into the temporary directory (`temporary` is then set, and the
// caller deletes it when done). nullopt when the file is nowhere.
std::optional<std::string> GameFilePath(Engine& engine, std::string_view name, bool* temporary = nullptr);

// The stored bytes of an archived entry, exactly stored-size bytes.
bool ReadStoredBytes(const ArchiveLocation& entry, std::vector<uint8_t>& out);

// An archived entry as bytes: kind 0 as stored, kind 2 through LZSS into at
// most decoded size + 20 bytes. False for other kinds or a read failure.
bool ReadArchivedEntry(Engine& engine, const ArchiveLocation& entry, std::vector<uint8_t>& out);

// An archived SPB picture (kind 1) decoded into `out`.
SpbResult ReadArchivedPicture(const ArchiveLocation& entry, Picture24& out);

// What plug-ins get from the engine's exported lookup: the archive path, the
// entry's absolute offset and decoded size. Looks at the archives whether or
// not they were switched on. Returns 1 when found, else 0.
int OraGetFile(Engine& engine, std::string_view name, std::string& archive_path, uint64_t& offset,
               uint32_t& decoded_size);

}  // namespace orivane
