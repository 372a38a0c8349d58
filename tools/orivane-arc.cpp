// orivane-arc: makes, lists and unpacks the game archives the engine reads.
//
//   orivane-arc [--prefix 1|2] create ARCHIVE DIR
//   orivane-arc [--prefix 1|2] list ARCHIVE
//   orivane-arc [--prefix 1|2] extract ARCHIVE [NAME...] -C DIR
//
// `create` packs every file under DIR; names are stored in Shift-JIS with '\'
// between directories, as scripts name them. `--prefix 1` makes (and reads)
// the variant a game opens with `or2`, `--prefix 2` the one for `or3`.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "archive/archive_format.h"
#include "archive/archive_index.h"
#include "archive/archive_set.h"
#include "archive/archive_writer.h"
#include "archive/bmp24.h"
#include "archive/lzss.h"
#include "archive/spb.h"
#include "util/bmp_writer.h"
#include "util/file_io.h"
#include "util/sjis.h"

namespace fs = std::filesystem;
using namespace orivane;

namespace {

constexpr const char* kUsage =
    "usage: orivane-arc [--prefix 1|2] create ARCHIVE DIR\n"
    "       orivane-arc [--prefix 1|2] list ARCHIVE\n"
    "       orivane-arc [--prefix 1|2] extract ARCHIVE [NAME...] -C DIR\n"
    "  --prefix 1|2  archives that begin with 1 byte (games using `or2`) or 2 bytes (`or3`)\n";

int Fail(const std::string& message) {
  std::cerr << "orivane-arc: " << message << "\n";
  return 1;
}

const char* KindName(uint8_t kind) {
  switch (kind) {
    case 0: return "stored";
    case 1: return "spb";
    case 2: return "lzss";
    default: return "unknown";
  }
}

// A file name on disk (UTF-8) as the engine will be asked for it (Shift-JIS).
bool ToArchiveName(const std::string& utf8, std::string& out) {
  out = Utf8ToSjis(utf8);
  return SjisToUtf8(out) == utf8;  // refuses characters Shift-JIS cannot hold
}

int Create(const std::string& archive, const std::string& dir, int prefix) {
  if (!fs::is_directory(dir)) return Fail(dir + " is not a directory");
  std::map<std::string, fs::path> files;  // archive name -> file, in name order
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(dir, ec); !ec && it != fs::recursive_directory_iterator();
       it.increment(ec)) {
    if (!it->is_regular_file()) continue;
    std::string rel = fs::relative(it->path(), dir).generic_string();
    std::string name;
    if (!ToArchiveName(rel, name)) return Fail("file name has no Shift-JIS form: " + rel);
    for (char& c : name)
      if (c == '/') c = '\\';
    files[name] = it->path();
  }
  if (ec) return Fail("cannot read " + dir + ": " + ec.message());
  std::vector<PackedEntry> entries;
  for (const auto& [name, path] : files) {
    std::vector<uint8_t> data;
    if (!ReadFileBytes(path.string(), data)) return Fail("cannot read " + path.string());
    if (data.size() > 0xFFFFFFFFull) return Fail(path.string() + " is larger than 4 GiB");
    entries.push_back(PackEntry(name, data));
  }
  std::vector<uint8_t> bytes;
  std::string error;
  if (!BuildArchive(entries, prefix, bytes, error)) return Fail(error);
  if (!WriteFileAtomically(archive, bytes.data(), bytes.size())) return Fail("cannot write " + archive);
  return 0;
}

struct Listing {
  std::vector<ArchiveRecord> records;
  std::vector<uint64_t> starts;
  uint64_t file_size = 0;
  bool complete = true;
};

bool ReadListing(const std::string& archive, int prefix, Listing& out, std::string& error) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(archive.c_str(), "rb"), std::fclose);
  if (!f) {
    error = "cannot open " + archive;
    return false;
  }
  auto size = OpenFileSize(f.get());
  ByteInput in(f.get());
  ArchiveHeader header;
  if (!size || !ReadArchiveHeader(in, prefix, header)) {
    error = archive + ": no archive header";
    return false;
  }
  out.file_size = *size;
  ArchiveRecord r;
  for (uint32_t i = 0; i < header.count; ++i) {
    if (!ReadArchiveRecord(in, r)) {
      out.complete = false;
      break;
    }
    out.records.push_back(r);
    out.starts.push_back(EntryStart(header, r));
  }
  return true;
}

int List(const std::string& archive, int prefix) {
  Listing listing;
  std::string error;
  if (!ReadListing(archive, prefix, listing, error)) return Fail(error);
  std::cout << "name\tkind\toffset\tstored\tdecoded\n";
  bool bad = !listing.complete;
  for (size_t i = 0; i < listing.records.size(); ++i) {
    const ArchiveRecord& r = listing.records[i];
    bool inside = EntryInside(listing.file_size, prefix, listing.starts[i], r.stored_size);
    bad = bad || !inside;
    std::cout << SjisToUtf8(r.name) << '\t' << KindName(r.kind) << '\t' << listing.starts[i] << '\t'
              << r.stored_size << '\t' << r.decoded_size << (inside ? "" : "\t(past the end of the file)") << '\n';
  }
  if (!listing.complete) std::cerr << "orivane-arc: " << archive << ": the entry records end early\n";
  return bad ? 1 : 0;
}

// The output name of an entry, relative to the target folder ('/' between
// folders), or empty when its name would leave the folder.
std::string OutputName(const std::string& name) {
  std::string utf8 = SjisToUtf8(name);
  std::string out;
  size_t start = 0;
  while (start <= utf8.size()) {
    size_t cut = utf8.find_first_of("\\/", start);
    std::string part = utf8.substr(start, cut == std::string::npos ? std::string::npos : cut - start);
    if (part.empty() || part == "." || part == "..") return {};
    out += (out.empty() ? "" : "/") + part;
    if (cut == std::string::npos) break;
    start = cut + 1;
  }
  return out;
}

int Extract(const std::string& archive, const std::vector<std::string>& wanted_utf8, const std::string& dir,
            int prefix) {
  Listing listing;
  std::string error;
  if (!ReadListing(archive, prefix, listing, error)) return Fail(error);
  std::map<std::string, bool> wanted;  // lower-cased archive name -> found
  for (const std::string& w : wanted_utf8) {
    std::string name;
    if (!ToArchiveName(w, name)) return Fail("name has no Shift-JIS form: " + w);
    wanted[ArchiveIndex::Lower(NormalizeRequest(name))] = false;
  }
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(archive.c_str(), "rb"), std::fclose);
  if (!f) return Fail("cannot open " + archive);
  std::error_code ec;
  fs::create_directories(dir, ec);  // the folder named is taken as given, links and all
  std::set<std::string> done;
  LzssWindow window;  // shared by the decodings in archive order, as in the engine
  int status = listing.complete ? 0 : Fail(archive + ": the entry records end early");
  for (size_t i = 0; i < listing.records.size(); ++i) {
    const ArchiveRecord& r = listing.records[i];
    std::string key = ArchiveIndex::Lower(r.name);
    if (!wanted.empty()) {
      auto it = wanted.find(key);
      if (it == wanted.end()) continue;
      it->second = true;
    }
    if (!done.insert(key).second) continue;  // as in the engine, the first entry of a name wins
    std::string shown = SjisToUtf8(r.name);
    const std::string out = OutputName(r.name);
    if (out.empty()) {
      status = Fail("skipping " + shown + ": the name would leave " + dir);
      continue;
    }
    if (!EntryInside(listing.file_size, prefix, listing.starts[i], r.stored_size)) {
      status = Fail("skipping " + shown + ": its data lies past the end of the archive");
      continue;
    }
    std::vector<uint8_t> stored(r.stored_size);
    if (::fseeko(f.get(), static_cast<off_t>(listing.starts[i] + prefix), SEEK_SET) != 0 ||
        std::fread(stored.data(), 1, stored.size(), f.get()) != stored.size())
      return Fail("cannot read " + shown);
    std::vector<uint8_t> data;
    if (r.kind == 0) {
      data = std::move(stored);
    } else if (r.kind == 2) {
      data = LzssDecodeToMemory(window, stored.data(), stored.size(), r.decoded_size);
    } else if (r.kind == 1) {
      DisplaySurface pic;
      if (DecodeSpb(stored.data(), stored.size(), pic) != SpbResult::kOk) {
        status = Fail("skipping " + shown + ": broken SPB picture");
        continue;
      }
      data = EncodeBmp(BmpImage{pic.width, pic.height, 24, pic.pixels.data(), pic.stride});
    } else {
      status = Fail("skipping " + shown + ": unknown kind " + std::to_string(r.kind));
      continue;
    }
    // Written beside its place and renamed over it; a symbolic link standing
    // in the target folder is replaced or refused, never written through.
    if (!WriteFileBelow(dir, out, data.data(), data.size(), error)) status = Fail("cannot write " + shown + ": " + error);
  }
  for (const auto& [name, found] : wanted)
    if (!found) status = Fail("not in the archive: " + SjisToUtf8(name));
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  int prefix = 0;
  std::string dir;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--prefix") {
      if (i + 1 >= args.size() || (args[i + 1] != "1" && args[i + 1] != "2")) {
        std::cerr << kUsage;
        return 2;
      }
      prefix = args[++i][0] - '0';
    } else if (args[i] == "-C") {
      if (i + 1 >= args.size()) {
        std::cerr << kUsage;
        return 2;
      }
      dir = args[++i];
    } else if (args[i] == "--help" || args[i] == "-h") {
      std::cout << kUsage;
      return 0;
    } else {
      rest.push_back(args[i]);
    }
  }
  if (rest.size() == 3 && rest[0] == "create" && dir.empty()) return Create(rest[1], rest[2], prefix);
  if (rest.size() == 2 && rest[0] == "list" && dir.empty()) return List(rest[1], prefix);
  if (rest.size() >= 2 && rest[0] == "extract" && !dir.empty())
    return Extract(rest[1], std::vector<std::string>(rest.begin() + 2, rest.end()), dir, prefix);
  std::cerr << kUsage;
  return 2;
}
