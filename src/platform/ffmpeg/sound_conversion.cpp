#include "platform/ffmpeg/sound_conversion.h"

#include <algorithm>

#include "platform/ffmpeg/stream_limits.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
#include <libswresample/swresample.h>
}

namespace orivane {

void SoundConversion::Closer::operator()(SwrContext* s) const { swr_free(&s); }

SoundConversion::SoundConversion() = default;
SoundConversion::~SoundConversion() = default;

bool SoundConversion::Open(int64_t rate, int64_t channels, int format) {
  resample_.reset();
  if (!PlausibleSound({rate, channels})) return false;
  if (format < 0 || format >= AV_SAMPLE_FMT_NB || format == AV_SAMPLE_FMT_NONE) return false;
  AVChannelLayout in_layout{};
  AVChannelLayout out_layout{};
  av_channel_layout_default(&in_layout, static_cast<int>(channels));
  av_channel_layout_default(&out_layout, kMixerChannels);
  SwrContext* s = nullptr;
  const bool ready =
      swr_alloc_set_opts2(&s, &out_layout, AV_SAMPLE_FMT_S16, kMixerRate, &in_layout,
                          static_cast<AVSampleFormat>(format), static_cast<int>(rate), 0,
                          nullptr) >= 0 &&
      swr_init(s) >= 0;
  av_channel_layout_uninit(&in_layout);
  av_channel_layout_uninit(&out_layout);
  if (!ready) {
    swr_free(&s);
    return false;
  }
  resample_.reset(s);
  rate_ = rate;
  channels_ = channels;
  format_ = format;
  return true;
}

bool SoundConversion::Fits(int64_t rate, int64_t channels, int format) const {
  return resample_ && rate == rate_ && channels == channels_ && format == format_;
}

bool SoundConversion::Convert(const uint8_t* const* planes, int samples,
                              std::vector<int16_t>& pcm) {
  if (!resample_) return false;
  if (samples <= 0 || samples > kMaxSoundFrameSamples) return true;
  const int room = swr_get_out_samples(resample_.get(), samples);
  if (room <= 0) return true;
  const size_t at = pcm.size();
  pcm.resize(at + static_cast<size_t>(room) * kMixerChannels);
  auto* dst = reinterpret_cast<uint8_t*>(pcm.data() + at);
  const int made = swr_convert(resample_.get(), &dst, room, const_cast<const uint8_t**>(planes),
                               samples);
  pcm.resize(at + static_cast<size_t>(std::max(made, 0)) * kMixerChannels);
  return true;
}

}  // namespace orivane
