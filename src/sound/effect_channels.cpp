#include "sound/effect_channels.h"

#include "engine.h"
#include "platform/platform.h"
#include "sound/sound_files.h"
#include "sound/sound_output.h"

namespace orivane {
namespace {

// The level a channel starts at: the voice and effect volumes for the
// script's channels, the channel's own for the music channels.
int32_t StartLevel(const SoundState& sound, int channel) {
  if (channel == kVoiceChannel) return sound.voice_attenuation;
  if (channel <= kLastScriptChannel) return sound.effect_attenuation;
  return sound.channels[channel].attenuation;
}

}  // namespace

void ReleaseSoundChannel(Engine& engine, int channel) {
  EffectChannel& c = engine.sound.channels[channel];
  c.playing = false;
  c.looping = false;
  if (c.loaded) {
    c.loaded = false;
    engine.platform.Audio().ReleaseChannel(channel);
  }
}

bool LoadChannelSound(Engine& engine, int channel, std::string_view name, MissingSound missing) {
  ReleaseSoundChannel(engine, channel);
  std::optional<SoundFile> file = FindSoundFile(engine, name, SoundUse::kSample, missing);
  if (!file) return false;
  AudioService* out = SoundOutput(engine);
  const AudioLoad loaded = out ? out->LoadChannel(channel, file->path) : AudioLoad::kNoDevice;
  // The sound is in memory now: its file is not needed any more.
  DeleteTemporary(file->temporary);
  if (loaded == AudioLoad::kNotAudio) NoteUnplayable(engine, name);
  if (loaded != AudioLoad::kLoaded) return false;
  engine.sound.channels[channel].loaded = true;
  return true;
}

bool LoadChannelFile(Engine& engine, int channel, std::string_view name) {
  if (name.empty() || !SoundsMayStart(engine)) {
    ReleaseSoundChannel(engine, channel);
    return false;
  }
  return LoadChannelSound(engine, channel, name,
                          engine.sound.no_dv ? MissingSound::kQuiet : MissingSound::kReport);
}

void PlayLoadedChannel(Engine& engine, int channel, bool loop) {
  EffectChannel& c = engine.sound.channels[channel];
  if (!c.loaded) return;
  c.looping = loop;
  c.playing = true;
  c.attenuation = StartLevel(engine.sound, channel);
  engine.platform.Audio().PlayChannel(channel, loop, AudioLevel{c.attenuation});
}

void PlayChannelFile(Engine& engine, int channel, std::string_view name, bool loop) {
  if (LoadChannelFile(engine, channel, name)) PlayLoadedChannel(engine, channel, loop);
}

bool SoundChannelPlaying(Engine& engine, int channel) {
  EffectChannel& c = engine.sound.channels[channel];
  if (!c.playing || c.looping) return false;
  if (engine.platform.Audio().ChannelPlaying(channel)) return true;
  ReleaseSoundChannel(engine, channel);
  return false;
}

void SetChannelAttenuation(Engine& engine, int channel, int32_t attenuation) {
  EffectChannel& c = engine.sound.channels[channel];
  c.attenuation = attenuation;
  if (c.loaded) engine.platform.Audio().SetChannelLevel(channel, AudioLevel{attenuation});
}

void ApplyVoiceAndEffectVolumes(Engine& engine, int last_effect_channel) {
  SetChannelAttenuation(engine, kVoiceChannel, engine.sound.voice_attenuation);
  for (int ch = 1; ch <= last_effect_channel; ++ch)
    SetChannelAttenuation(engine, ch, engine.sound.effect_attenuation);
}

void PlayInterfaceSound(Engine& engine, std::string_view name) {
  if (!name.empty()) PlayChannelFile(engine, kInterfaceChannel, name, false);
}

void ReleaseSoundChannels(Engine& engine, bool looping_only) {
  for (int ch = 0; ch < kSoundChannels; ++ch)
    if (!looping_only || engine.sound.channels[ch].looping) ReleaseSoundChannel(engine, ch);
}

}  // namespace orivane
