#include "sound/sound_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <initializer_list>

#include "archive/file_layer.h"
#include "engine.h"
#include "script/error.h"
#include "util/game_path.h"

namespace orivane {
namespace {

// What a converter exports: it writes a wave or MIDI file under `output`.
using ExpandFn = int (*)(const char* input, const char* output);

bool IsOneOf(std::string_view ext, std::initializer_list<std::string_view> list) {
  for (std::string_view e : list)
    if (ext == e) return true;
  return false;
}

// Whether the output decodes the extension for that use by itself.
bool Native(SoundUse use, std::string_view ext) {
  switch (use) {
    case SoundUse::kSample:
      return IsOneOf(ext, {"wav", "ogg", "mp3", "flac"});
    case SoundUse::kMidi:
      return IsOneOf(ext, {"mid", "midi", "wav", "ogg", "mp3", "flac"});
    case SoundUse::kMusic:
      break;
  }
  return false;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::optional<SoundFile> Missing(Engine& engine, std::string_view name, MissingSound missing) {
  if (missing == MissingSound::kReport && !engine.archive.no_load_error)
    ReportError(engine, "ファイル%sを開けません。", "ロードエラー", {name});
  return std::nullopt;
}

// `soundpressplgin`'s module for the extension (lower case); empty: none.
std::string ConverterFor(const SoundState& sound, std::string_view extension) {
  for (const std::string& entry : sound.converters) {
    const size_t bar = entry.find('|');
    if (bar != std::string::npos && std::string_view(entry).substr(0, bar) == extension)
      return entry.substr(bar + 1);
  }
  return {};
}

}  // namespace

void DeleteTemporary(TemporarySoundFile& file) {
  if (!file.path.empty()) ::unlink(file.path.c_str());
  file.path.clear();
}

std::optional<SoundFile> FindSoundFile(Engine& engine, std::string_view name, SoundUse use,
                                       MissingSound missing) {
  bool temporary = false;
  std::optional<std::string> path = GameFilePath(engine, name, &temporary);
  if (!path || !IsRegularFile(*path)) return Missing(engine, name, missing);
  SoundFile file;
  file.path = *path;
  if (temporary) file.temporary.path = *path;

  // The music of the `bgm` family goes to the output as it is: what cannot
  // be streamed plays nothing.
  if (use == SoundUse::kMusic) return file;
  const std::string ext = LowerExtension(name);
  const std::string module = ConverterFor(engine.sound, ext);
  if (module.empty()) {
    if (Native(use, ext)) return file;
    DeleteTemporary(file.temporary);
    return Missing(engine, name, missing);
  }
  // A converter writes a wave file (a MIDI file for `play`) into the
  // temporary directory; the output decodes that.
  auto expand = reinterpret_cast<ExpandFn>(engine.plugin_modules.Find(module, "expand"));
  const std::string out =
      engine.temp_dir.FilePath(use == SoundUse::kMidi ? "Orvntmp.mid" : "Orvntmp.wav");
  if (!expand || engine.temp_dir.path().empty()) {
    DeleteTemporary(file.temporary);
    return Missing(engine, name, missing);
  }
  ::unlink(out.c_str());
  expand(file.path.c_str(), out.c_str());
  DeleteTemporary(file.temporary);
  if (!IsRegularFile(out)) return Missing(engine, name, missing);
  file.path = out;
  file.temporary.path = out;
  return file;
}

}  // namespace orivane
