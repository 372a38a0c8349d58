// The bounds a movie's streams must keep before a decoder or the resampler
// sees them, and the sound conversion that refuses a shape outside them
// before it sets anything up.
#include <gtest/gtest.h>

#ifdef ORIVANE_TESTS_HAVE_FFMPEG

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ffmpeg/sound_conversion.h"
#include "platform/ffmpeg/stream_limits.h"

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace orivane {
namespace {

struct SoundCase {
  int64_t rate;
  int64_t channels;
  bool plausible;
};

const SoundCase kSoundCases[] = {
    {44100, 2, true},      {8000, 1, true},        {1000, 1, true},     {384000, 8, true},
    {999, 2, false},       {384001, 2, false},     {570434048, 2, false}, {0, 2, false},
    {-44100, 2, false},    {44100, 0, false},      {44100, 9, false},   {44100, -1, false},
    {INT64_MAX, 2, false}, {44100, INT64_MAX, false},
};

TEST(StreamLimits, SoundShapes) {
  for (const SoundCase& c : kSoundCases) {
    EXPECT_EQ(PlausibleSound({c.rate, c.channels}), c.plausible) << c.rate << " Hz, " << c.channels;
  }
}

TEST(StreamLimits, PictureShapes) {
  struct Case {
    int64_t width;
    int64_t height;
    bool plausible;
  };
  const Case cases[] = {
      {640, 480, true},    {1, 1, true},        {7680, 4320, true},    {8192, 64, true},
      {0, 480, false},     {640, 0, false},     {-640, 480, false},    {8193, 1, false},
      {1, 8193, false},    {8192, 8192, false}, {INT64_MAX, INT64_MAX, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlausiblePicture({c.width, c.height}), c.plausible) << c.width << "x" << c.height;
}

// The conversion opens exactly the shapes within bounds, for a known format.
TEST(SoundConversion, OpensOnlyShapesWithinBounds) {
  for (const SoundCase& c : kSoundCases) {
    SoundConversion conversion;
    EXPECT_EQ(conversion.Open(c.rate, c.channels, AV_SAMPLE_FMT_S16), c.plausible)
        << c.rate << " Hz, " << c.channels;
    EXPECT_EQ(conversion.open(), c.plausible);
  }
  SoundConversion conversion;
  EXPECT_FALSE(conversion.Open(44100, 2, -1));
  EXPECT_FALSE(conversion.Open(44100, 2, AV_SAMPLE_FMT_NB));
}

// A second of mono sound at 22050 Hz becomes about a second of stereo at
// the mixer's rate, both sides alike; a frame claiming more samples than a
// stream may carry adds nothing.
TEST(SoundConversion, ConvertsToTheMixersFormat) {
  SoundConversion conversion;
  ASSERT_TRUE(conversion.Open(22050, 1, AV_SAMPLE_FMT_S16));
  EXPECT_TRUE(conversion.Fits(22050, 1, AV_SAMPLE_FMT_S16));
  EXPECT_FALSE(conversion.Fits(44100, 1, AV_SAMPLE_FMT_S16));
  std::vector<int16_t> mono(22050, 4000);
  const uint8_t* planes[] = {reinterpret_cast<const uint8_t*>(mono.data())};
  std::vector<int16_t> pcm;
  ASSERT_TRUE(conversion.Convert(planes, static_cast<int>(mono.size()), pcm));
  ASSERT_EQ(pcm.size() % 2, 0u);
  const size_t frames = pcm.size() / 2;
  EXPECT_GT(frames, size_t{44100 * 9 / 10});
  EXPECT_LE(frames, size_t{44100});
  const size_t middle = frames / 2 * 2;
  EXPECT_EQ(pcm[middle], pcm[middle + 1]);
  EXPECT_NE(pcm[middle], 0);
  const size_t before = pcm.size();
  ASSERT_TRUE(conversion.Convert(planes, static_cast<int>(kMaxSoundFrameSamples + 1), pcm));
  EXPECT_EQ(pcm.size(), before);
}

}  // namespace
}  // namespace orivane

#endif  // ORIVANE_TESTS_HAVE_FFMPEG
