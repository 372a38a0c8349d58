// A movie's sound turned into the mixer's format (44100 Hz, signed 16 bits,
// stereo) by libswresample, for a sound whose shape passes the stream limits
// only: the resampler's set-up grows with the ratio of the rates.
//
//   SoundConversion c;
//   if (c.Open(rate, channels, format)) c.Convert(planes, samples, pcm);
//   c.Fits(rate, channels, format)    whether later frames still match
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct SwrContext;

namespace orivane {

inline constexpr int kMixerRate = 44100;
inline constexpr int kMixerChannels = 2;

class SoundConversion {
 public:
  SoundConversion();
  ~SoundConversion();
  SoundConversion(const SoundConversion&) = delete;
  SoundConversion& operator=(const SoundConversion&) = delete;

  // Sets up for sound of `rate` samples a second, `channels` channels (in
  // their usual order) and sample format `format` (an AVSampleFormat).
  // False, and nothing set up, for a shape outside the limits, an unknown
  // format, or one the resampler refuses.
  bool Open(int64_t rate, int64_t channels, int format);
  bool Fits(int64_t rate, int64_t channels, int format) const;
  bool open() const { return resample_ != nullptr; }

  // Converts `samples` samples (per channel) from `planes` (one per channel
  // for a planar format, else one) and appends them to `pcm` as interleaved
  // stereo. A frame of no samples or more than a stream may carry is left
  // out; false when nothing is open.
  bool Convert(const uint8_t* const* planes, int samples, std::vector<int16_t>& pcm);

 private:
  struct Closer {
    void operator()(SwrContext* s) const;
  };
  std::unique_ptr<SwrContext, Closer> resample_;
  int64_t rate_ = 0;
  int64_t channels_ = 0;
  int format_ = -1;
};

}  // namespace orivane
