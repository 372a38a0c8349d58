// The limits a movie's streams must keep before they reach a decoder or the
// resampler. A container's header says what its streams hold, and those
// numbers are the file's, not ours: a sound stream that claims 570 million
// samples a second would have the resampler build a filter for minutes, a
// picture of 60000 × 60000 would ask for gigabytes. Such a sound stream is
// left out (the movie plays silently); such a picture is no movie to play.
//
//   PlausibleSound({rate, channels})      the rate and channel count of a sound
//   PlausiblePicture({width, height})     the size of a picture
//   kMaxPictureSide, kMaxPicturePixels    the largest picture taken
#pragma once

#include <cstdint>

namespace orivane {

inline constexpr int64_t kMinSoundRate = 1000;
inline constexpr int64_t kMaxSoundRate = 384000;
inline constexpr int64_t kMaxSoundChannels = 8;
// A side at most as long as the largest rectangle a movie is drawn into,
// and no more pixels than an 8K picture.
inline constexpr int64_t kMaxPictureSide = 8192;
inline constexpr int64_t kMaxPicturePixels = int64_t{7680} * 4320;
// The most samples one decoded sound frame may carry (a second at the
// highest rate): more is a damaged stream.
inline constexpr int64_t kMaxSoundFrameSamples = kMaxSoundRate;

struct SoundShape {
  int64_t rate = 0;  // samples per second
  int64_t channels = 0;
};

struct PictureShape {
  int64_t width = 0;
  int64_t height = 0;
};

bool PlausibleSound(const SoundShape& sound);
bool PlausiblePicture(const PictureShape& picture);

}  // namespace orivane
