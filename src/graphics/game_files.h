// Where picture bytes come from. The file layer (archive/file_layer.h) finds
// the file and records its name; what is particular to pictures is here: with
// archives switched on, a JPEG or BMP is looked for only in the loose files
// and the archives, a BMP entry packed as SPB is decoded straight from the
// archive, and a BMP entry stored without compression is its own outcome.
// The picture loader decides what to do with each outcome.
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
  // With kBytes from a loose file: that file, for the decoders that open by name.
  std::string loose_path;
  ImageSurface spb;
};

// Looks the picture file up; `extension` is lower case ("jpg", "bmp" ...).
PictureFile FetchPictureFile(Engine& engine, const std::string& name, const std::string& extension);

// Decodes SPB bytes (a loose .spb file) into `out`; false when they do not
// decode.
bool DecodeSpbPicture(const std::vector<uint8_t>& data, ImageSurface& out);

}  // namespace orivane
