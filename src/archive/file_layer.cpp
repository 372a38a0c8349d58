#include "archive/file_layer.h"

#include <cstdio>
#include <memory>

#include "archive/archive_extract.h"
#include "archive/archive_format.h"
#include "archive/lzss.h"
#include "engine.h"
#include "util/file_io.h"
#include "util/game_path.h"

namespace orivane {
namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

bool IsKind(const ArchiveLocation& entry, EntryKind kind) { return entry.kind == static_cast<uint8_t>(kind); }

// The stored bytes of an archived entry, exactly stored-size bytes.
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

}  // namespace

GameFile FindGameFile(Engine& engine, std::string_view name, FileSearch search) {
  // The one place the FileLog is filled: every name asked for, found or not.
  if (engine.archive.file_log_on) engine.file_log.Add(name);
  GameFile file;
  std::string loose = HostPath(name);
  if (FileSize(loose)) {
    file.origin = FileOrigin::kLoose;
    file.path = std::move(loose);
    return file;
  }
  if (engine.archive.archives_on) {
    if (auto entry = LocateArchived(engine, name)) {
      file.origin = FileOrigin::kArchive;
      file.path = entry->archive_path;
      file.entry = std::move(entry);
      return file;
    }
  }
  if (search == FileSearch::kLooseAndArchives) return file;
  std::string path(name);
  if (ExtractFromPluginArchives(engine, path)) {
    file.origin = FileOrigin::kPluginArchive;
    file.path = std::move(path);
  }
  return file;
}

bool ReadFoundFile(Engine& engine, const GameFile& file, std::vector<uint8_t>& out) {
  bool ok = false;
  switch (file.origin) {
    case FileOrigin::kNone:
      break;
    case FileOrigin::kLoose:
      ok = ReadFileBytes(file.path, out);
      break;
    case FileOrigin::kArchive:
      ok = ReadArchivedEntry(engine, *file.entry, out);
      break;
    case FileOrigin::kPluginArchive:
      ok = ReadFileBytes(file.path, out);
      std::remove(file.path.c_str());
      break;
  }
  if (!ok) out.clear();
  return ok;
}

bool ReadGameFile(Engine& engine, std::string_view name, std::vector<uint8_t>& out) {
  GameFile file = FindGameFile(engine, name);
  // A picture entry has no bytes of its own to give; reading it as nothing
  // would lose the file without a word.
  if (file.origin == FileOrigin::kArchive && IsKind(*file.entry, EntryKind::kSpb)) ReportCannotExtract(engine, name);
  return ReadFoundFile(engine, file, out);
}

std::optional<std::string> GameFilePath(Engine& engine, std::string_view name, bool* temporary) {
  if (temporary) *temporary = false;
  GameFile file = FindGameFile(engine, name);
  switch (file.origin) {
    case FileOrigin::kNone:
      return std::nullopt;
    case FileOrigin::kLoose:
      return file.path;
    case FileOrigin::kArchive:
      file.path = ExtractEntry(engine, name, *file.entry);
      break;
    case FileOrigin::kPluginArchive:
      break;
  }
  if (temporary) *temporary = true;
  return file.path;
}

bool ReadArchivedEntry(Engine& engine, const ArchiveLocation& entry, std::vector<uint8_t>& out) {
  out.clear();
  if (!IsKind(entry, EntryKind::kStored) && !IsKind(entry, EntryKind::kLzss)) return false;
  std::vector<uint8_t> stored;
  if (!ReadStoredBytes(entry, stored)) return false;
  if (IsKind(entry, EntryKind::kStored)) {
    out = std::move(stored);
    return true;
  }
  out = LzssDecodeToMemory(engine.archive.lzss_window, stored.data(), stored.size(),
                           static_cast<size_t>(entry.decoded_size) + 20);
  return true;
}

SpbResult ReadArchivedPicture(const ArchiveLocation& entry, DisplaySurface& out) {
  std::vector<uint8_t> stored;
  if (!IsKind(entry, EntryKind::kSpb) || !ReadStoredBytes(entry, stored)) {
    out = DisplaySurface{};
    return SpbResult::kRejected;
  }
  return DecodeSpb(stored.data(), stored.size(), out);
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
