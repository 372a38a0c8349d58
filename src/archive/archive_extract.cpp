#include "archive/archive_extract.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "archive/archive_format.h"
#include "archive/archive_index.h"
#include "archive/archive_plugin_abi.h"
#include "archive/archive_set.h"
#include "archive/lzss.h"
#include "engine.h"
#include "script/error.h"
#include "util/file_io.h"

namespace orivane {
namespace {

using FilePtr = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

constexpr const char* kCannotOpen = "%sが開けませんでした。";
constexpr const char* kErrorTitle = "エラー";

std::string HostPath(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

// A name that can stand as a file in the temporary directory: the part after
// the last separator, never empty, "." or "..". Nothing else can leave the
// directory since no separator remains.
bool SafeFileName(std::string_view file) { return !file.empty() && file != "." && file != ".."; }

// Creates (or truncates) a file in the temporary directory; never follows a
// symbolic link planted there.
FilePtr CreateTempFile(Engine& engine, std::string_view file, std::string& out_path) {
  if (!SafeFileName(file) || !engine.temp_dir.Create()) return FilePtr(nullptr, std::fclose);
  out_path = engine.temp_dir.FilePath(std::string(file));
  return FilePtr(CreatePrivateFile(out_path), std::fclose);
}

// Copies `size` bytes from the current position of `in` to `out`.
bool CopyBytes(std::FILE* in, std::FILE* out, uint64_t size) {
  std::vector<char> block(64 * 1024);
  while (size > 0) {
    size_t want = size < block.size() ? static_cast<size_t>(size) : block.size();
    size_t got = std::fread(block.data(), 1, want, in);
    if (got == 0 || std::fwrite(block.data(), 1, got, out) != got) return false;
    size -= got;
  }
  return true;
}

bool SeekTo(std::FILE* f, uint64_t pos) { return ::fseeko(f, static_cast<off_t>(pos), SEEK_SET) == 0; }

// The built-in reader of the alternative archive format.
bool ExtractFromAltArchive(Engine& engine, const std::string& archive, std::string_view request,
                           std::string& path) {
  FilePtr file(std::fopen(HostPath(archive).c_str(), "rb"), std::fclose);
  if (!file) return false;
  auto file_size = OpenFileSize(file.get());
  ByteInput in(file.get());
  ArchiveHeader header;
  if (!file_size || !ReadArchiveHeader(in, 0, header)) return false;
  std::string wanted = ArchiveIndex::Lower(NormalizeRequest(request));
  ArchiveRecord record;
  for (uint32_t i = 0; i < header.count; ++i) {
    if (!ReadAltRecord(in, record)) return false;
    if (record.name != wanted) continue;
    uint64_t start = EntryStart(header, record);
    if (!EntryInside(*file_size, 0, start, record.stored_size)) return false;
    std::string out_path;
    FilePtr out = CreateTempFile(engine, FilePart(request), out_path);
    if (!out || !SeekTo(file.get(), start) || !CopyBytes(file.get(), out.get(), record.stored_size)) return false;
    path = out_path;
    return true;
  }
  return false;
}

bool ExtractWithModule(Engine& engine, const std::string& archive, const std::string& module,
                       std::string_view request, std::string& path) {
  auto get_info = reinterpret_cast<OrivaneGetFileInfo>(engine.plugin_modules.Find(module, "GetFileInfo"));
  auto get_file = reinterpret_cast<OrivaneGetFile>(engine.plugin_modules.Find(module, "GetFile"));
  if (!get_info || !get_file) return false;
  std::string file(FilePart(request));
  if (!SafeFileName(file) || !engine.temp_dir.Create()) return false;
  alignas(8) unsigned char info[ORIVANE_ARCHIVE_INFO_BYTES] = {};
  std::string archive_path = HostPath(archive);
  std::string name(request);
  if (get_info(archive_path.c_str(), 0, name.c_str(), 0x80, info) != 0) return false;
  uint32_t position;
  std::memcpy(&position, info + ORIVANE_ARCHIVE_INFO_POSITION_AT, sizeof position);
  if (position == 0) return false;
  std::string directory = engine.temp_dir.path() + "/";
  if (get_file(archive_path.c_str(), static_cast<long>(position), directory.c_str(), 0, nullptr, 0) != 0)
    return false;
  path = engine.temp_dir.FilePath(file);
  return true;
}

}  // namespace

bool ExtractFromPluginArchives(Engine& engine, std::string& path) {
  std::string request = NormalizeRequest(path);
  for (const std::string& entry : engine.archive.plugin_archives) {
    size_t bar = entry.find('|');
    if (bar == std::string::npos) continue;
    std::string archive = entry.substr(0, bar);
    std::string module = entry.substr(bar + 1);
    bool done = FilePart(module) == "orvunarc.dll" ? ExtractFromAltArchive(engine, archive, request, path)
                                                   : ExtractWithModule(engine, archive, module, request, path);
    if (done) return true;
  }
  return false;
}

void ReportCannotExtract(Engine& engine, std::string_view name) {
  ReportError(engine, kCannotOpen, kErrorTitle, {NormalizeRequest(name)});
}

std::string ExtractEntry(Engine& engine, std::string_view name, const ArchiveLocation& entry) {
  std::string request = NormalizeRequest(name);
  std::string out_path;
  FilePtr archive(std::fopen(entry.archive_path.c_str(), "rb"), std::fclose);
  FilePtr out = archive ? CreateTempFile(engine, FilePart(request), out_path) : FilePtr(nullptr, std::fclose);
  if (!archive || !out || entry.kind == static_cast<uint8_t>(EntryKind::kSpb)) {
    if (out) {  // an SPB picture cannot stand as a file: leave nothing behind
      out.reset();
      std::remove(out_path.c_str());
    }
    ReportCannotExtract(engine, request);
  }
  bool ok = SeekTo(archive.get(), entry.data_start);
  if (entry.kind == static_cast<uint8_t>(EntryKind::kStored)) {
    // The entry's own bytes: the stored size, never reaching into the next entry.
    ok = ok && CopyBytes(archive.get(), out.get(), entry.stored_size);
  } else if (entry.kind == static_cast<uint8_t>(EntryKind::kLzss)) {
    std::vector<uint8_t> stored(entry.stored_size);
    ok = ok && std::fread(stored.data(), 1, stored.size(), archive.get()) == stored.size();
    ok = ok && LzssDecodeToFile(engine.archive.lzss_window, stored.data(), stored.size(), out.get()) >= 0;
  }
  ok = (std::fclose(out.release()) == 0) && ok;
  if (!ok) {
    std::remove(out_path.c_str());
    ReportCannotExtract(engine, request);
  }
  return out_path;
}

bool ExtractArchived(Engine& engine, std::string& path) {
  std::optional<ArchiveLocation> loc;
  if (engine.archive.archives_on) loc = LocateArchived(engine, NormalizeRequest(path));
  if (!loc) return ExtractFromPluginArchives(engine, path);
  path = ExtractEntry(engine, path, *loc);
  return true;
}

}  // namespace orivane
