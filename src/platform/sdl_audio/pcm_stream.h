// The sound service's PCM stream (a movie's sound): samples queued by their
// maker and added over the mixed output by SDL_mixer's post-mix hook, at the
// stream's volume. The hook runs on SDL's audio thread; the queue is locked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>

namespace orivane {

class PcmStream {
 public:
  // Drops what is queued and takes `volume` (0 … 128, the mixer's scale).
  void Restart(int volume);
  void Queue(const int16_t* samples, size_t count);
  void SetVolume(int volume);
  void Clear();
  // Adds queued samples into `out` (signed 16-bit, `count` values), saturating.
  void MixInto(int16_t* out, size_t count);

 private:
  std::mutex mutex_;
  std::deque<int16_t> queued_;
  int volume_ = 128;
};

}  // namespace orivane
