// Where picture bytes come from: a loose file in the game directory first;
// then, with archives switched on, the archive entry (decoded as its kind
// says); then the archive readers registered with `arc`. The picture loader
// decides what to do with each outcome.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graphics/image_surface.h"

namespace orivane {

struct Engine;

enum class PictureSource {
  kNotFound,          // no reader has the file
  kBytes,             // `bytes` holds the file (loose, archived or extracted)
  kArchivedSpb,       // an SPB entry, already decoded into `spb`
  kStoredBmp,         // a BMP stored without compression in an archive
  kMissingInArchive,  // a JPEG or BMP the open archives do not hold
};

struct PictureFile {
  PictureSource source = PictureSource::kNotFound;
  std::vector<uint8_t> bytes;
  ImageSurface spb;
};

// Looks the picture file up; `extension` is lower case ("jpg", "bmp" ...).
PictureFile FetchPictureFile(Engine& engine, const std::string& name, const std::string& extension);

// Decodes SPB bytes (a loose .spb file) into `out`; false when they do not
// decode.
bool DecodeSpbPicture(const std::vector<uint8_t>& data, ImageSurface& out);

}  // namespace orivane
