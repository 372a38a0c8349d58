// The parts of the SDL_mixer sound service that need no sound output: the
// level conversion, the hand-over delay line and the soundfont lookup.
#ifdef ORIVANE_TESTS_HAVE_SDL_MIXER

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <vector>

#include "platform/sdl_audio/general_midi_soundfont.h"
#include "platform/sdl_audio/handover_delay.h"
#include "platform/sdl_audio/mixer_volume.h"
#include "support/game_fixture.h"

namespace orivane {
namespace {

TEST(MixerVolume, AttenuationFollowsTheDecibelCurveAndTheLinearFactorScales) {
  struct Case {
    int attenuation;
    uint16_t linear;
    int expected;
  } cases[] = {
      {0, 0xFFFF, 128},    // full
      {100, 0xFFFF, 0},    // the curve would leave −25 dB; 100 is silence
      {40, 0xFFFF, 40},    // 128 × 10^(−0.5) = 40.48
      {20, 0xFFFF, 72},    // 128 × 10^(−0.25) = 71.98
      {50, 0xFFFF, 30},    // 128 × 10^(−0.625) = 30.35
      {99, 0xFFFF, 7},     // 128 × 10^(−1.2375) = 7.41
      {1, 0xFFFF, 124},    // 128 × 10^(−0.0125) = 124.3
      {0, 0x8000, 64},     // half the linear factor
      {40, 0x8000, 20},    // both: 40.48 × 0.50001
      {0, 0, 0},           // no linear factor
      {-30, 0xFFFF, 128},  // clamped to 0
      {250, 0xFFFF, 0},    // clamped to 100
  };
  for (const Case& c : cases)
    EXPECT_EQ(MixerVolume({c.attenuation, c.linear}), c.expected)
        << c.attenuation << " " << c.linear;
}

TEST(MixerVolume, NeverRisesAsTheAttenuationGrows) {
  int previous = MixerVolume({0, 0xFFFF});
  for (int a = 1; a <= 100; ++a) {
    int volume = MixerVolume({a, 0xFFFF});
    EXPECT_LE(volume, previous) << a;
    previous = volume;
  }
}

// The delay line fed a stream in pieces of the given sizes.
std::vector<uint8_t> Delayed(const std::vector<uint8_t>& in, size_t delay,
                             const std::vector<size_t>& pieces) {
  HandoverDelay line;
  line.Start(delay);
  std::vector<uint8_t> out = in;
  size_t at = 0;
  for (size_t i = 0; at < out.size(); ++i) {
    size_t size = std::min(pieces[i % pieces.size()], out.size() - at);
    line.Process(out.data() + at, size);
    at += size;
  }
  return out;
}

TEST(HandoverDelay, ShiftsTheWholeStreamWhateverThePieces) {
  std::vector<uint8_t> in(20000);
  std::iota(in.begin(), in.end(), uint8_t{1});
  struct Case {
    size_t delay;
    std::vector<size_t> pieces;
  } cases[] = {
      {1000, {4096}},
      {1000, {300, 4096, 7}},  // pieces shorter than the delay
      {4096, {4096}},          // the loop part starts with the next buffer
      {4, {1}},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> out = Delayed(in, c.delay, c.pieces);
    for (size_t i = 0; i < out.size(); ++i) {
      uint8_t expected = i < c.delay ? 0 : in[i - c.delay];
      ASSERT_EQ(out[i], expected) << "delay " << c.delay << " byte " << i;
    }
  }
}

TEST(HandoverDelay, NoDelayLeavesTheStreamAndALongOneIsCut) {
  std::vector<uint8_t> in(40000, 7);
  EXPECT_EQ(Delayed(in, 0, {4096}), in);
  std::vector<uint8_t> out = Delayed(in, 100000, {4096});
  EXPECT_EQ(out[HandoverDelay::kCapacity - 1], 0);
  EXPECT_EQ(out[HandoverDelay::kCapacity], 7);
}

TEST(GeneralMidiSoundFonts, TheFirstExistingRegularFileIsChosen) {
  test::GameDir dir;
  dir.WriteBytes("b.sf2", "sf");
  dir.WriteBytes("c.sf2", "sf");
  std::filesystem::create_directory(dir.path() + "/folder.sf2");
  std::string a = dir.path() + "/a.sf2", b = dir.path() + "/b.sf2", c = dir.path() + "/c.sf2";
  std::string folder = dir.path() + "/folder.sf2";
  EXPECT_EQ(FirstExistingFile({a, b, c}), b);
  EXPECT_EQ(FirstExistingFile({folder, c, b}), c);
  EXPECT_EQ(FirstExistingFile({a, folder}), "");
  EXPECT_EQ(FirstExistingFile({}), "");
}

}  // namespace
}  // namespace orivane

#endif  // ORIVANE_TESTS_HAVE_SDL_MIXER
