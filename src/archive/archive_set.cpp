#include "archive/archive_set.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "archive/archive_format.h"
#include "archive/archive_index_reader.h"
#include "engine.h"
#include "util/file_io.h"
#include "util/sjis.h"

namespace orivane {
namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

FilePtr OpenRead(const std::string& path) { return FilePtr(std::fopen(path.c_str(), "rb"), std::fclose); }

std::string DirectoryPath(std::string_view dir) {
  std::string out(dir);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string PathIn(std::string_view dir, int number) {
  std::string file = number == 0 ? "arc.ora" : "arc" + std::to_string(number) + ".ora";
  if (dir.empty()) return file;
  return DirectoryPath(dir) + "/" + file;
}

enum class ScanResult { kFound, kNotHere, kBroken };

// Walks one archive for a stored name equal to `wanted` byte for byte.
ScanResult ScanArchive(std::FILE* file, int prefix, std::string_view wanted, ArchiveLocation& out) {
  auto file_size = OpenFileSize(file);
  ByteInput in(file);
  ArchiveHeader header;
  if (!file_size || !ReadArchiveHeader(in, prefix, header)) return ScanResult::kBroken;
  ArchiveRecord record;
  for (uint32_t i = 0; i < header.count; ++i) {
    if (!ReadArchiveRecord(in, record)) return ScanResult::kBroken;
    if (record.name != wanted) continue;
    uint64_t start = EntryStart(header, record);
    // An entry whose data lies beyond the end of the file cannot be read; it
    // is passed over like a name that does not match.
    if (!EntryInside(*file_size, prefix, start, record.stored_size)) continue;
    out.kind = record.kind;
    out.offset = start;
    out.data_start = start + static_cast<uint64_t>(prefix);
    out.stored_size = record.stored_size;
    out.decoded_size = record.decoded_size;
    return ScanResult::kFound;
  }
  return ScanResult::kNotHere;
}

// The chain "arc.ora", "arc1.ora" ... "arc9.ora" of one directory.
// Returns true when the search is over (found, or an archive was broken).
bool ScanChain(Engine& engine, std::string_view dir, std::string_view wanted, std::optional<ArchiveLocation>& out) {
  const int prefix = engine.archive.prefix_bytes();
  for (int n = 0; n <= 9; ++n) {
    std::string path = PathIn(dir, n);
    FilePtr file = OpenRead(path);
    if (!file) return false;
    ArchiveLocation loc;
    switch (ScanArchive(file.get(), prefix, wanted, loc)) {
      case ScanResult::kFound:
        loc.archive_path = path;
        out = loc;
        return true;
      case ScanResult::kBroken:
        return true;  // a read error ends the search with nothing found
      case ScanResult::kNotHere:
        break;
    }
  }
  return false;
}

// Adds the entries of one archive to the index. Returns false when its header
// could not be read, which stops the whole build.
bool IndexArchive(Engine& engine, const std::string& path, uint8_t number, bool& missing) {
  FilePtr file = OpenRead(path);
  missing = !file;
  if (!file) return false;
  auto file_size = OpenFileSize(file.get());
  ByteInput in(file.get());
  return file_size &&
         IndexArchiveRecords(in, *file_size, engine.archive.prefix_bytes(), number, engine.archive.index);
}

}  // namespace

std::string NormalizeRequest(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c == '/') c = '\\';
  return out;
}

std::string_view FilePart(std::string_view name) {
  // Shift-JIS aware: the second byte of a character such as 0x95 0x5C is no
  // separator, or a name like "表.wav" would lose its first character.
  size_t start = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    uint8_t c = static_cast<uint8_t>(name[i]);
    if (IsSjisLead(c)) ++i;
    else if (c == '\\' || c == '/') start = i + 1;
  }
  return name.substr(std::min(start, name.size()));
}

std::string ArchivePath(const Engine& engine, int number) {
  if (number == kAddedArchive) return PathIn(engine.archive.added_dir, 0);
  return PathIn(engine.archive.primary_dir, number);
}

void BuildArchiveIndex(Engine& engine) {
  ArchiveState& st = engine.archive;
  if (st.index_built) return;
  st.index_built = true;
  st.index.Clear();
  bool missing = false;
  for (int n = 0; n <= 9; ++n)
    if (!IndexArchive(engine, ArchivePath(engine, n), static_cast<uint8_t>(n), missing)) {
      if (!missing) return;  // a broken header stops the whole build
      break;
    }
  if (!st.added_dir.empty()) IndexArchive(engine, ArchivePath(engine, kAddedArchive), kAddedArchive, missing);
}

std::optional<ArchiveLocation> LocateArchived(Engine& engine, std::string_view name) {
  const ArchiveState& st = engine.archive;
  std::string wanted = ArchiveIndex::Lower(NormalizeRequest(name));
  std::optional<ArchiveLocation> out;
  if (st.index_built) {
    const IndexEntry* e = st.index.Find(wanted);
    if (!e) return out;
    ArchiveLocation loc;
    loc.archive_path = ArchivePath(engine, e->archive);
    loc.kind = e->kind;
    loc.offset = e->offset;
    loc.data_start = e->offset + static_cast<uint64_t>(st.prefix_bytes());
    loc.stored_size = e->stored_size;
    loc.decoded_size = e->decoded_size;
    out = loc;
    return out;
  }
  if (ScanChain(engine, st.primary_dir, wanted, out)) return out;
  if (!st.added_dir.empty() && DirectoryPath(st.added_dir) != DirectoryPath(st.primary_dir))
    ScanChain(engine, st.added_dir, wanted, out);
  return out;
}

void ResetArchivesForGame(Engine& engine) {
  if (engine.archive.archives_on) BuildArchiveIndex(engine);
}

}  // namespace orivane
