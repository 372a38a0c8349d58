#include "graphics/game_files.h"

#include <cstring>

#include "archive/archive_format.h"
#include "archive/file_layer.h"
#include "archive/spb.h"
#include "engine.h"

namespace orivane {
namespace {

bool ToSurface(const DisplaySurface& picture, ImageSurface& out) {
  out.Release();
  if (picture.width <= 0 || picture.height <= 0 || !out.CreateBlank(picture.width, picture.height, 24))
    return false;
  const size_t row = static_cast<size_t>(picture.width) * 3;
  for (int y = 0; y < picture.height; ++y) std::memcpy(out.RowFromTop(y), picture.RowFromTop(y), row);
  return true;
}

}  // namespace

PictureFile FetchPictureFile(Engine& engine, const std::string& name, const std::string& extension) {
  const bool bmp = extension == "bmp";
  // With archives on, a JPEG or BMP missing from them is an error of its own
  // and the plug-in archive readers are not asked.
  const bool archive_only = engine.archive.archives_on && (bmp || extension == "jpg" || extension == "jpeg");
  GameFile found =
      FindGameFile(engine, name, archive_only ? FileSearch::kLooseAndArchives : FileSearch::kEverywhere);

  PictureFile file;
  if (found.origin == FileOrigin::kNone) {
    file.source = archive_only ? PictureSource::kMissingInArchive : PictureSource::kNotFound;
  } else if (bmp && found.entry && found.entry->kind == static_cast<uint8_t>(EntryKind::kSpb)) {
    DisplaySurface picture;
    if (ReadArchivedPicture(*found.entry, picture) != SpbResult::kRejected) ToSurface(picture, file.spb);
    file.source = PictureSource::kArchivedSpb;
  } else if (bmp && found.entry && found.entry->kind == static_cast<uint8_t>(EntryKind::kStored)) {
    file.source = PictureSource::kStoredBmp;
  } else {
    // A file that exists but cannot be read decodes as an empty picture file.
    file.source = PictureSource::kBytes;
    if (found.origin == FileOrigin::kLoose) file.loose_path = found.path;
    ReadFoundFile(engine, found, file.bytes);
  }
  return file;
}

bool DecodeSpbPicture(const std::vector<uint8_t>& data, ImageSurface& out) {
  DisplaySurface picture;
  if (DecodeSpb(data.data(), data.size(), picture) == SpbResult::kRejected) {
    out.Release();
    return false;
  }
  return ToSurface(picture, out);
}

}  // namespace orivane
