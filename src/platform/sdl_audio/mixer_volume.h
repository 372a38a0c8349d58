// The one conversion from the engine's sound level to SDL_mixer's volume.
#pragma once

#include "platform/audio_service.h"

namespace orivane {

// SDL_mixer's loudest volume (its MIX_MAX_VOLUME).
inline constexpr int kMixerFullVolume = 128;

// The mixer volume 0 … 128 for `level`: the attenuation (clamped to 0 … 100)
// is −25 × a hundredths of a decibel, i.e. a factor 10^(−25·a/2000), times
// the linear factor (0xFFFF = 1), rounded; 100 and above are silent.
int MixerVolume(AudioLevel level);

}  // namespace orivane
