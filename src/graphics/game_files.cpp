#include "graphics/game_files.h"

#include "engine.h"
#include "util/file_io.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// Scripts written for Windows separate folders with '\'; the second byte of
// a Shift-JIS character may be 0x5C too and is left alone.
std::string LocalPath(const std::string& name) {
  std::string out = name;
  for (size_t i = 0; i < out.size(); ++i) {
    const uint8_t c = static_cast<uint8_t>(out[i]);
    if (IsSjisLead(c)) {
      ++i;
      continue;
    }
    if (c == '\\') out[i] = '/';
  }
  return out;
}

}  // namespace

GameFileResult ReadGameFile(Engine& engine, const std::string& name, std::vector<uint8_t>& out) {
  out.clear();
  const std::string path = LocalPath(name);
  if (!FileExists(path)) return GameFileResult::kNotFound;
  // A file that exists but cannot be read decodes as an empty picture file.
  if (!ReadFileBytes(path, out)) out.clear();
  return GameFileResult::kFound;
}

// The SPB decoder belongs to the archive subsystem; until it is joined here an
// SPB file loads nothing.
bool DecodeSpbPicture(Engine& engine, const std::vector<uint8_t>& data, ImageSurface& out) {
  out.Release();
  return false;
}

}  // namespace orivane
