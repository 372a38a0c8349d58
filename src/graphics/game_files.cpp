#include "graphics/game_files.h"

#include <cstdio>
#include <cstring>

#include "archive/archive_extract.h"
#include "archive/archive_format.h"
#include "archive/archive_set.h"
#include "archive/file_layer.h"
#include "archive/spb.h"
#include "engine.h"
#include "util/file_io.h"
#include "util/game_path.h"

namespace orivane {
namespace {

bool ToSurface(const Picture24& picture, ImageSurface& out) {
  out.Release();
  if (picture.width <= 0 || picture.height <= 0 || !out.CreateBlank(picture.width, picture.height, 24))
    return false;
  const size_t row = static_cast<size_t>(picture.width) * 3;
  for (int y = 0; y < picture.height; ++y) std::memcpy(out.RowFromTop(y), picture.RowFromTop(y), row);
  return true;
}

// Reads a loose file (relative to the game directory) or an extracted copy.
PictureFile FromFile(const std::string& path) {
  PictureFile file;
  file.source = PictureSource::kBytes;
  // A file that exists but cannot be read decodes as an empty picture file.
  if (!ReadFileBytes(path, file.bytes)) file.bytes.clear();
  return file;
}

}  // namespace

PictureFile FetchPictureFile(Engine& engine, const std::string& name, const std::string& extension) {
  const std::string loose = HostPath(name);
  if (FileSize(loose)) return FromFile(loose);

  PictureFile file;
  if (engine.archive.archives_on) {
    std::optional<ArchiveLocation> entry = LocateArchived(engine, name);
    const bool jpeg = extension == "jpg" || extension == "jpeg";
    if (jpeg || extension == "bmp") {
      if (!entry) {
        file.source = PictureSource::kMissingInArchive;
      } else if (extension == "bmp" && entry->kind == static_cast<uint8_t>(EntryKind::kSpb)) {
        Picture24 picture;
        if (ReadArchivedPicture(*entry, picture) != SpbResult::kRejected) ToSurface(picture, file.spb);
        file.source = PictureSource::kArchivedSpb;
      } else if (extension == "bmp" && entry->kind == static_cast<uint8_t>(EntryKind::kStored)) {
        file.source = PictureSource::kStoredBmp;
      } else {
        file.source = PictureSource::kBytes;
        if (!ReadArchivedEntry(engine, *entry, file.bytes)) file.bytes.clear();
      }
      return file;
    }
    if (entry) {
      file.source = PictureSource::kBytes;
      if (!ReadArchivedEntry(engine, *entry, file.bytes)) file.bytes.clear();
      return file;
    }
  }

  // The archive readers registered with `arc` extract to a temporary file.
  std::string extracted = name;
  if (ExtractFromPluginArchives(engine, extracted)) {
    file = FromFile(extracted);
    std::remove(extracted.c_str());
  }
  return file;
}

bool DecodeSpbPicture(const std::vector<uint8_t>& data, ImageSurface& out) {
  Picture24 picture;
  if (DecodeSpb(data.data(), data.size(), picture) == SpbResult::kRejected) {
    out.Release();
    return false;
  }
  return ToSurface(picture, out);
}

}  // namespace orivane
