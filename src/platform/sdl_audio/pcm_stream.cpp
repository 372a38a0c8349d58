#include "platform/sdl_audio/pcm_stream.h"

#include <algorithm>

#include "platform/sdl_audio/mixer_volume.h"

namespace orivane {

void PcmStream::Restart(int volume) {
  std::lock_guard lock(mutex_);
  queued_.clear();
  volume_ = volume;
}

void PcmStream::Queue(const int16_t* samples, size_t count) {
  std::lock_guard lock(mutex_);
  queued_.insert(queued_.end(), samples, samples + count);
}

void PcmStream::SetVolume(int volume) {
  std::lock_guard lock(mutex_);
  volume_ = volume;
}

void PcmStream::Clear() {
  std::lock_guard lock(mutex_);
  queued_.clear();
}

void PcmStream::MixInto(int16_t* out, size_t count) {
  std::lock_guard lock(mutex_);
  const size_t n = std::min(count, queued_.size());
  for (size_t i = 0; i < n; ++i) {
    const int sample = queued_[i] * volume_ / kMixerFullVolume;
    out[i] = static_cast<int16_t>(std::clamp(out[i] + sample, -32768, 32767));
  }
  queued_.erase(queued_.begin(), queued_.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace orivane
