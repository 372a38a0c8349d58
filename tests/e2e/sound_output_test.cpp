// Whole runs of the program that play sound, heard through SDL's disk audio
// driver: the mixed output is written to a file, and the tests measure each
// tone in it by its frequency. The runs use the wall clock (--realtime), as
// the output is mixed in real time; the checks look at generous stretches
// of the output, never at exact moments.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "support/audio_capture.h"
#include "support/game_fixture.h"

namespace orivane::test {
namespace {

constexpr size_t kWindow = kCaptureRate / 20;  // 50 ms

struct Heard {
  RunResult run;
  CapturedAudio audio;
};

// Runs `body` as the whole game with the tones of `tones` (name, frequency,
// milliseconds) in the game folder, and reads what the run played.
Heard RunAndListen(const std::string& body,
                   const std::vector<std::tuple<const char*, double, int>>& tones) {
  GameDir game;
  for (const auto& [name, hz, ms] : tones) WriteToneWav(game.path() + "/" + name, hz, ms, 0.5);
  game.Write("0.txt", "*define\ngame\n*start\n" + body + "\nend\n");
  const std::string out = game.path() + "/out.raw";
  Heard h;
  h.run = RunProgram({"--headless", "--realtime", "--timeout", "20000", game.path()},
                     {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + out});
  h.audio = ReadDiskAudio(out);
  return h;
}

// The middle value of the tone's levels over the windows from `from` up to
// `to` (fractions of the capture).
double MedianLevel(const CapturedAudio& audio, double hz, double from, double to) {
  std::vector<double> levels = ToneLevels(audio, hz, kWindow);
  const size_t first = static_cast<size_t>(from * static_cast<double>(levels.size()));
  const size_t last = static_cast<size_t>(to * static_cast<double>(levels.size()));
  if (first >= last || last > levels.size()) return -1;
  std::vector<double> part(levels.begin() + static_cast<long>(first),
                           levels.begin() + static_cast<long>(last));
  std::nth_element(part.begin(), part.begin() + static_cast<long>(part.size() / 2), part.end());
  return part[part.size() / 2];
}

TEST(SoundOutput, ALoopSoundsUntilStoppedAndAnEffectOnce) {
  Heard h =
      RunAndListen("dwaveloop 1,\"a.wav\"\nwait 500\ndwavestop 1\ndwave 2,\"b.wav\"\nwait 800",
                   {{"a.wav", 440, 200}, {"b.wav", 880, 200}});
  ASSERT_EQ(h.run.status, 0) << h.run.err;
  ASSERT_GT(h.audio.frames(), static_cast<size_t>(kCaptureRate));
  // The loop for the first part, gone afterwards.
  EXPECT_GT(MedianLevel(h.audio, 440, 0.05, 0.3), 0.4);
  EXPECT_LT(MedianLevel(h.audio, 440, 0.7, 1.0), 0.02);
  // The effect once, after the loop: heard, then silent again.
  const std::vector<double> b = ToneLevels(h.audio, 880, kWindow);
  EXPECT_GT(*std::max_element(b.begin(), b.end()), 0.4);
  EXPECT_LT(MedianLevel(h.audio, 880, 0.85, 1.0), 0.02);
  EXPECT_LT(MedianLevel(h.audio, 880, 0.0, 0.25), 0.02);
}

TEST(SoundOutput, AVolumeChangeLowersTheLevelByItsAttenuation) {
  Heard h =
      RunAndListen("dwaveloop 1,\"a.wav\"\nwait 600\nsevol 50\nwait 600", {{"a.wav", 440, 200}});
  ASSERT_EQ(h.run.status, 0) << h.run.err;
  const double full = MedianLevel(h.audio, 440, 0.1, 0.4);
  const double half = MedianLevel(h.audio, 440, 0.65, 0.95);
  ASSERT_GT(full, 0.4);
  // 50 % attenuation is −12.5 dB: a factor of 10^(−12.5/20) ≈ 0.237.
  EXPECT_NEAR(half / full, 0.237, 0.02);
}

TEST(SoundOutput, IntroLoopMusicHandsOverAndMusicFadesOut) {
  Heard h = RunAndListen(
      "loopbgm \"intro.wav\",\"loop.wav\"\nwait 800\nloopbgmstop\nbgmfadeout 300\nbgm "
      "\"m.wav\"\nwait 400\n"
      "bgmstop\nwait 400",
      {{"intro.wav", 440, 300}, {"loop.wav", 660, 100}, {"m.wav", 550, 100}});
  ASSERT_EQ(h.run.status, 0) << h.run.err;
  const std::vector<double> intro = ToneLevels(h.audio, 440, kWindow);
  const std::vector<double> loop = ToneLevels(h.audio, 660, kWindow);
  // The introduction first, then the loop part repeating where it stopped.
  size_t intro_end = 0, loop_start = loop.size();
  for (size_t i = 0; i < intro.size(); ++i)
    if (intro[i] > 0.2) intro_end = i;
  for (size_t i = 0; i < loop.size(); ++i)
    if (loop[i] > 0.2 && loop_start == loop.size()) loop_start = i;
  ASSERT_LT(loop_start, loop.size());
  EXPECT_LE(loop_start, intro_end + 1);
  EXPECT_GT(MedianLevel(h.audio, 660, 0.25, 0.35), 0.4);
  // The music after it fades out and falls silent.
  const std::vector<double> music = ToneLevels(h.audio, 550, kWindow);
  const auto loudest = std::max_element(music.begin(), music.end());
  ASSERT_GT(*loudest, 0.4);
  EXPECT_LT(MedianLevel(h.audio, 550, 0.92, 1.0), 0.02);
  bool faded = false;  // a window between full and silence
  for (auto it = loudest; it != music.end(); ++it) faded = faded || (*it > 0.05 && *it < 0.3);
  EXPECT_TRUE(faded);
}

}  // namespace
}  // namespace orivane::test
