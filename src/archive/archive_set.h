// The archive set and the lookups on it.
//
// The primary directory (`oradir`, else the game directory) holds "arc.ora"
// (archive 0), "arc1.ora" ... "arc9.ora"; the first missing one ends the set.
// `addoradir` adds its directory's "arc.ora" as archive 10. Before the game
// starts, lookups scan the archives themselves and compare stored names byte
// for byte; once the game has started they go through the index.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orivane {

struct Engine;

inline constexpr uint8_t kAddedArchive = 10;

struct ArchiveLocation {
  std::string archive_path;  // the archive file, as the engine opens it
  uint8_t kind = 0;
  uint64_t offset = 0;      // absolute start of the data: data base + offset
  uint64_t data_start = 0;  // where the data really is in the file: offset + prefix bytes
  uint32_t stored_size = 0;
  uint32_t decoded_size = 0;
};

// Every '/' of a requested name becomes '\', the separator inside archives.
std::string NormalizeRequest(std::string_view name);
// The name after its last '\' or '/' (never the second byte of a Shift-JIS character).
std::string_view FilePart(std::string_view name);

// The path of archive `number` (0..9 in the primary directory, 10 in the
// added one). Directory names may use '\'; the path uses '/'.
std::string ArchivePath(const Engine& engine, int number);

// Builds the index from the archive set; does nothing after the first time.
void BuildArchiveIndex(Engine& engine);

// A new game: the archives switched on by the *define block are indexed.
void ResetArchivesForGame(Engine& engine);

// Finds an archived file: through the index once it is built, otherwise by
// scanning. The request is normalised ('/' to '\', capitals to small letters).
std::optional<ArchiveLocation> LocateArchived(Engine& engine, std::string_view name);

}  // namespace orivane
