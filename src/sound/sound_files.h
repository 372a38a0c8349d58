// Turning a script's sound file name into a file a player can open: the
// loose file, or an archived one written out into the temporary directory,
// and for formats the output cannot decode, the file a `soundpressplgin`
// converter writes from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sound/sound_state.h"

namespace orivane {

struct Engine;

// The players, by what they can take without a converter.
enum class SoundUse {
  kSample,  // decoded whole: the wave player and the channels (WAV, Ogg, MP3, FLAC)
  kMidi,    // `play` with a file: MIDI and the music formats
  kMusic,   // the `bgm` family: whatever the output can stream; never converted
};

// How a missing or unconvertible file is taken.
enum class MissingSound {
  kReport,  // "ファイル%sを開けません。" / "ロードエラー" unless `noloaderror`
  kQuiet,   // nothing is said (`nodv` for the channels)
};

struct SoundFile {
  std::string path;
  TemporarySoundFile temporary;  // to delete when the player is done with it
};

// The file for `name`, or nullopt when there is none to play (reported as
// `missing` says). A file made on the way is named in `temporary`.
std::optional<SoundFile> FindSoundFile(Engine& engine, std::string_view name, SoundUse use,
                                       MissingSound missing = MissingSound::kReport);

// Deletes the file and forgets it.
void DeleteTemporary(TemporarySoundFile& file);

}  // namespace orivane
