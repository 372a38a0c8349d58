#include "platform/sdl_audio/mixer_volume.h"

#include <algorithm>
#include <cmath>

namespace orivane {

int MixerVolume(AudioLevel level) {
  int attenuation = std::clamp(level.attenuation, 0, 100);
  // At 100 the decibel curve still leaves −25 dB; the engine means silence.
  if (attenuation >= 100) return 0;
  double factor = std::pow(10.0, -25.0 * attenuation / 2000.0) * level.linear / 65535.0;
  return static_cast<int>(std::lround(kMixerFullVolume * factor));
}

}  // namespace orivane
