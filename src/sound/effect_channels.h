// The numbered sound channels: 0 is the voice channel, 1 … 49 the effect
// channels, 50 and 51 carry intro-and-loop music. Each plays one sound that
// was decoded whole before it starts. Channel 0 plays at the voice volume,
// 1 … 49 at the effect volume, 50 and 51 at the level they were given.
#pragma once

#include <cstdint>
#include <string_view>

#include "sound/sound_files.h"

namespace orivane {

struct Engine;

// `dwave`, `dwaveloop`: releases the channel, then loads the file and plays
// it. An empty name only releases. Nothing starts while sound is off or in
// skip mode (see SoundsMayStart).
void PlayChannelFile(Engine& engine, int channel, std::string_view name, bool loop);

// `dwaveload`: the same without playing. True when the channel holds the sound.
bool LoadChannelFile(Engine& engine, int channel, std::string_view name);

// Loads the file into the channel whatever the sound switches say (the
// wave player and the music check their own rules). A missing file is
// taken as `missing` says; one the output cannot decode is noted.
bool LoadChannelSound(Engine& engine, int channel, std::string_view name, MissingSound missing);

// `dwaveplay`, `dwaveplayloop`: plays what the channel holds, at its volume.
void PlayLoadedChannel(Engine& engine, int channel, bool loop);

// Stops the channel and frees its sound.
void ReleaseSoundChannel(Engine& engine, int channel);

// Whether a one-shot sound still plays on the channel. A looping channel
// and an empty one answer no; a finished one is released on the way.
bool SoundChannelPlaying(Engine& engine, int channel);

// Gives the channel a new level (attenuation percent) now and for later.
void SetChannelAttenuation(Engine& engine, int channel, int32_t attenuation);

// The voice volume now goes to channel 0, the effect volume to 1 … `last`.
void ApplyVoiceAndEffectVolumes(Engine& engine, int last_effect_channel);

// One of the engine's own sounds (a click, a choice, a menu), on the
// interface channel. An empty name plays nothing.
void PlayInterfaceSound(Engine& engine, std::string_view name);

// Releases every channel; with `looping_only`, only those that loop.
void ReleaseSoundChannels(Engine& engine, bool looping_only);

}  // namespace orivane
