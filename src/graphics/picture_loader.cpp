#include "graphics/picture_loader.h"

#include <cstdio>
#include <vector>

#include "engine.h"
#include "graphics/bmp_read.h"
#include "graphics/game_files.h"
#include "graphics/jpeg_decode.h"
#include "graphics/picture_plugin.h"
#include "graphics/png_decode.h"
#include "script/error.h"
#include "util/file_io.h"
#include "util/game_path.h"

namespace orivane {
namespace {

// Moves the decoded picture into the surface, keeping the tag state.
void TakePicture(ImageSurface& surface, ImageSurface& decoded) {
  surface.loaded = decoded.loaded;
  surface.width = decoded.width;
  surface.height = decoded.height;
  surface.bit_count = decoded.bit_count;
  surface.stride = decoded.stride;
  surface.colors_used = decoded.colors_used;
  surface.color_count = decoded.color_count;
  surface.palette = std::move(decoded.palette);
  surface.pixels = std::move(decoded.pixels);
}

}  // namespace

void LoadPictureFile(Engine& engine, ImageSurface& surface, const std::string& file) {
  Graphics& g = engine.graphics;
  const bool quiet = g.jpeg_mode || engine.archive.no_load_error;
  const bool optional = g.optional_picture;
  const std::string ext = LowerExtension(file);
  PictureFile found = FetchPictureFile(engine, file, ext);
  switch (found.source) {
    case PictureSource::kNotFound:
      if (g.missing_image_tolerance) {
        surface.CreateBlank(2, 2, 24);
        return;
      }
      if (quiet || optional) return;  // found by no reader: the load ends here, silently
      ReportError(engine, "ファイル%sを開けません。", "ロードエラー", {file});
    case PictureSource::kMissingInArchive:
      if (optional) return;
      if (g.missing_image_tolerance && !quiet) {
        surface.CreateBlank(2, 2, 24);
        return;
      }
      if (!quiet) ReportError(engine, "ORAアーカイブからファイル%sがみつかりません", "エラー", {file});
      break;
    case PictureSource::kStoredBmp:
      ReportError(engine, "BMPが圧縮されていません", "エラー");
    case PictureSource::kArchivedSpb:
      TakePicture(surface, found.spb);
      break;
    case PictureSource::kBytes: {
      std::vector<uint8_t>& bytes = found.bytes;
      ImageSurface decoded;
      if (ext == "jpg" || ext == "jpeg") {
        if (!DecodeJpeg(bytes.data(), bytes.size(), decoded))
          ReportError(engine, "JPEGがロード出来ません。OLEが使えません", "エラー");
      } else if (ext == "bmp") {
        DecodeBmp(bytes.data(), bytes.size(), decoded);
      } else if (ext == "png") {
        DecodePng(bytes.data(), bytes.size(), surface.mode == kModeAlpha, surface.cells, decoded);
      } else if (ext == "spb") {
        DecodeSpbPicture(bytes, decoded);
      } else {
        const std::string module = FindPicturePlugin(engine, ext);
        if (module.empty()) {
          if (quiet) return;
          ReportError(engine, "ファイル%sを開けません。", "ロードエラー", {file});
        }
        // Plug-ins decode files by name: a picture that came out of an
        // archive is handed over as a temporary file.
        if (!found.loose_path.empty()) {
          LoadWithPicturePlugin(engine, module, found.loose_path, decoded);
        } else if (engine.temp_dir.Create()) {
          const std::string copy = engine.temp_dir.FilePath("Orvnpic.tmp");
          if (WriteFileAtomically(copy, bytes.data(), bytes.size()))
            LoadWithPicturePlugin(engine, module, copy, decoded);
          std::remove(copy.c_str());
        }
      }
      TakePicture(surface, decoded);
      break;
    }
  }
  if (!surface.loaded && !g.jpeg_mode && !optional) ReportError(engine, "ロード失敗!", "エラー");
}

}  // namespace orivane
