#include "sound/sound_output.h"

#include "engine.h"
#include "platform/platform.h"
#include "util/sjis.h"

namespace orivane {

AudioService* SoundOutput(Engine& engine) {
  AudioService& audio = engine.platform.Audio();
  if (audio.Open()) return &audio;
  if (!engine.sound.output_failure_noted) {
    engine.sound.output_failure_noted = true;
    engine.platform.Note("orivane: no sound output could be opened (" + audio.OpenError() +
                         "); playing without sound");
  }
  return nullptr;
}

bool SoundsMayStart(const Engine& engine) {
  if (!engine.shell.settings.sound_on) return false;
  return !engine.read_flags.skip_mode || engine.sound.wave_demo;
}

void StopMusicStreamOf(Engine& engine, MusicStreamOwner owner) {
  if (engine.sound.stream_owner != owner) return;
  engine.platform.Audio().StopMusic();
  engine.sound.stream_owner = MusicStreamOwner::kNone;
}

void NoteUnplayable(Engine& engine, std::string_view name) {
  engine.platform.Note("orivane: " + SjisToUtf8(name) +
                       " is no sound the output can play; it is skipped");
}

}  // namespace orivane
