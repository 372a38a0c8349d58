#include "archive/file_layer.h"

#include "util/game_path.h"

#include <cstdio>
#include <memory>

#include "archive/archive_extract.h"
#include "archive/archive_format.h"
#include "archive/lzss.h"
#include "engine.h"
#include "util/file_io.h"
#include "util/sjis.h"

namespace orivane {
namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

void RecordName(Engine& engine, std::string_view name) {
  if (engine.archive.file_log_on) engine.file_log.Add(name);
}

bool IsLooseFile(const std::string& path) { return FileSize(path).has_value(); }

}  // namespace

GameFile FindGameFile(Engine& engine, std::string_view name) {
  RecordName(engine, name);
  GameFile file;
  std::string loose = HostPath(name);
  if (IsLooseFile(loose)) {
    file.origin = FileOrigin::kLoose;
    file.path = loose;
    return file;
  }
  if (engine.archive.archives_on) {
    if (auto loc = LocateArchived(engine, name)) {
      file.origin = FileOrigin::kArchive;
      file.path = loc->archive_path;
      file.entry = std::move(loc);
      return file;
    }
  }
  std::string path(name);
  if (ExtractFromPluginArchives(engine, path)) {
    file.origin = FileOrigin::kPluginArchive;
    file.path = path;
  }
  return file;
}

bool ReadStoredBytes(const ArchiveLocation& entry, std::vector<uint8_t>& out) {
  out.clear();
  FilePtr f(std::fopen(entry.archive_path.c_str(), "rb"), std::fclose);
  if (!f) return false;
  // The lookups only report entries that lie inside their file; check again
  // in case the file changed since.
  auto size = OpenFileSize(f.get());
  if (!size || entry.data_start + entry.stored_size > *size) return false;
  if (::fseeko(f.get(), static_cast<off_t>(entry.data_start), SEEK_SET) != 0) return false;
  out.resize(entry.stored_size);
  return std::fread(out.data(), 1, out.size(), f.get()) == out.size();
}

bool ReadArchivedEntry(Engine& engine, const ArchiveLocation& entry, std::vector<uint8_t>& out) {
  if (entry.kind != static_cast<uint8_t>(EntryKind::kStored) && entry.kind != static_cast<uint8_t>(EntryKind::kLzss))
    return false;
  std::vector<uint8_t> stored;
  if (!ReadStoredBytes(entry, stored)) return false;
  if (entry.kind == static_cast<uint8_t>(EntryKind::kStored)) {
    out = std::move(stored);
    return true;
  }
  out = LzssDecodeToMemory(engine.archive.lzss_window, stored.data(), stored.size(),
                           static_cast<size_t>(entry.decoded_size) + 20);
  return true;
}

SpbResult ReadArchivedPicture(const ArchiveLocation& entry, Picture24& out) {
  std::vector<uint8_t> stored;
  if (entry.kind != static_cast<uint8_t>(EntryKind::kSpb) || !ReadStoredBytes(entry, stored)) {
    out = Picture24{};
    return SpbResult::kRejected;
  }
  return DecodeSpb(stored.data(), stored.size(), out);
}

bool ReadGameFile(Engine& engine, std::string_view name, std::vector<uint8_t>& out) {
  out.clear();
  GameFile file = FindGameFile(engine, name);
  switch (file.origin) {
    case FileOrigin::kNone:
      return false;
    case FileOrigin::kLoose:
      return ReadFileBytes(file.path, out);
    case FileOrigin::kArchive:
      return ReadArchivedEntry(engine, *file.entry, out);
    case FileOrigin::kPluginArchive: {
      bool ok = ReadFileBytes(file.path, out);
      std::remove(file.path.c_str());
      return ok;
    }
  }
  return false;
}

std::optional<std::string> GameFilePath(Engine& engine, std::string_view name, bool* temporary) {
  if (temporary) *temporary = false;
  RecordName(engine, name);
  std::string loose = HostPath(name);
  if (IsLooseFile(loose)) return loose;
  std::string path(name);
  if (!ExtractArchived(engine, path)) return std::nullopt;
  if (temporary) *temporary = true;
  return path;
}

int OraGetFile(Engine& engine, std::string_view name, std::string& archive_path, uint64_t& offset,
               uint32_t& decoded_size) {
  auto loc = LocateArchived(engine, name);
  if (!loc) return 0;
  archive_path = loc->archive_path;
  offset = loc->offset;
  decoded_size = loc->decoded_size;
  return 1;
}

}  // namespace orivane
