// The SDL_mixer sound service, heard through SDL's disk driver: the test
// process opens the real output with SDL_AUDIODRIVER=disk, plays, closes the
// output and measures what was written. Sound is mixed in real time, so the
// tests wait for the output to reach a point and judge its content, never
// the time something took.
#ifdef ORIVANE_TESTS_HAVE_SDL_MIXER

#include "platform/sdl_audio/sdl_mixer_audio.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <thread>
#include <utility>
#include <vector>

#include "support/audio_capture.h"
#include "support/game_fixture.h"

namespace orivane {
namespace {

using test::CapturedAudio;

size_t Frames(int ms) {
  return static_cast<size_t>(test::kCaptureRate) * ms / 1000;
}

// How far the sound being mixed may be ahead of the file's size: one buffer
// of the C library's file writes and one mixed buffer not yet written, with
// room to spare.
constexpr size_t kLagFrames = 3072;

// Sets environment variables for its lifetime and then puts back what was there.
class ScopedEnv {
 public:
  void Set(const char* name, const std::string& value) {
    const char* old = std::getenv(name);
    saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
    setenv(name, value.c_str(), 1);
  }
  void Unset(const char* name) {
    Set(name, "");
    unsetenv(name);
  }
  ~ScopedEnv() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (it->second)
        setenv(it->first.c_str(), it->second->c_str(), 1);
      else
        unsetenv(it->first.c_str());
    }
  }

 private:
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// Polls `done` until it holds, for at most ten seconds of real time.
bool WaitUntil(const std::function<bool()>& done) {
  auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// How many of this process's open files are `path`.
int TimesOpen(const std::string& path) {
  std::error_code ec;
  auto target = std::filesystem::canonical(path, ec);
  int count = 0;
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd", ec)) {
    std::error_code link_ec;
    if (std::filesystem::read_symlink(fd.path(), link_ec) == target) ++count;
  }
  return count;
}

// The number of frames where `out`, from frame `at`, differs from
// `expected` on either side.
size_t Mismatches(const CapturedAudio& out, size_t at, const std::vector<int16_t>& expected) {
  size_t wrong = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    if (at + i >= out.frames()) return wrong + expected.size() - i;
    if (out.left[at + i] != expected[i] || out.right[at + i] != expected[i]) ++wrong;
  }
  return wrong;
}

class SdlMixerAudioTest : public testing::Test {
 protected:
  SdlMixerAudioTest() {
    env_.Set("SDL_AUDIODRIVER", "disk");
    env_.Set("SDL_DISKAUDIOFILE", output_);
  }

  SdlMixerAudio& audio() { return *audio_; }
  std::string File(const std::string& name) const { return dir_.path() + "/" + name; }
  std::string Tone(const std::string& name, double hz, int ms, double amplitude) const {
    test::WriteToneWav(File(name), hz, ms, amplitude);
    return File(name);
  }
  std::string Samples(const std::string& name, const std::vector<int16_t>& samples) const {
    test::WriteStereoWav(File(name), samples);
    return File(name);
  }

  // The frame the output file has reached.
  size_t Reached() const { return static_cast<size_t>(test::FileSize(output_) / 4); }
  // Waits until the output holds `ms` more of sound than now.
  void ListenFor(int ms) {
    uint64_t target = test::FileSize(output_) + test::CaptureBytes(Frames(ms));
    ASSERT_TRUE(test::WaitForFileSize(output_, target)) << "the output stopped growing";
  }
  // Closes the output and reads what it received.
  CapturedAudio Finish() {
    audio_.reset();
    return test::ReadDiskAudio(output_);
  }
  // A fresh service on an empty output file.
  void Restart() {
    audio_.reset();
    std::filesystem::remove(output_);
    audio_ = std::make_unique<SdlMixerAudio>();
  }

  test::GameDir dir_;
  std::string output_ = dir_.path() + "/output.raw";
  ScopedEnv env_;
  std::unique_ptr<SdlMixerAudio> audio_ = std::make_unique<SdlMixerAudio>();
};

TEST_F(SdlMixerAudioTest, AOneShotSoundPlaysWholeAndOnce) {
  std::vector<int16_t> tone = test::ToneSamples(440, 150, 0.5);
  ASSERT_EQ(audio().LoadChannel(7, Samples("tone.wav", tone)), AudioLoad::kLoaded);
  audio().PlayChannel(7, false, {});
  EXPECT_TRUE(audio().ChannelPlaying(7));
  ASSERT_TRUE(WaitUntil([&] { return !audio().ChannelPlaying(7); }));
  ListenFor(50);
  CapturedAudio out = Finish();
  auto [first, end] = test::SoundingFrames(out);
  ASSERT_GT(first, 0u);
  // The tone's first sample is 0: it starts one frame before it sounds.
  EXPECT_EQ(Mismatches(out, first - 1, tone), 0u);
  EXPECT_EQ(end, first - 1 + tone.size());
}

TEST_F(SdlMixerAudioTest, ALoopSoundsUntilItsChannelIsReleased) {
  // 100 ms of 440 Hz are 44 whole periods: the loop is seamless.
  ASSERT_EQ(audio().LoadChannel(3, Tone("a.wav", 440, 100, 0.5)), AudioLoad::kLoaded);
  audio().PlayChannel(3, true, {});
  size_t played_at = Reached();
  ListenFor(350);
  EXPECT_TRUE(audio().ChannelPlaying(3));
  size_t released_at = Reached();
  audio().ReleaseChannel(3);
  EXPECT_FALSE(audio().ChannelPlaying(3));
  ListenFor(300);
  CapturedAudio out = Finish();
  size_t from = played_at + kLagFrames;
  EXPECT_NEAR(test::ToneLevel(out, 440, from, released_at - from), 0.5, 0.01);
  auto [first, end] = test::SoundingFrames(out);
  EXPECT_LE(first, played_at + kLagFrames);
  EXPECT_GE(end, released_at);
  EXPECT_LE(end, released_at + kLagFrames);
  EXPECT_GE(out.frames() - end, Frames(200));  // silent to the end
  // Window by window: the tone in every 50 ms while the loop played, none after.
  size_t window = Frames(50);
  std::vector<double> levels = test::ToneLevels(out, 440, window);
  for (size_t w = 0; w < levels.size(); ++w) {
    size_t from_frame = w * window, to_frame = from_frame + window;
    if (from_frame >= played_at + kLagFrames && to_frame <= released_at) {
      EXPECT_NEAR(levels[w], 0.5, 0.01) << "window " << w;
    }
    if (from_frame >= released_at + kLagFrames) {
      EXPECT_LT(levels[w], 0.001) << "window " << w;
    }
  }
}

TEST_F(SdlMixerAudioTest, LevelsFollowTheAttenuationCurveAndTheLinearFactor) {
  // One reference tone at full level and one tone per level, on its own
  // frequency, all played together: the ratio of each to the reference is
  // the level, whatever the timing.
  struct Case {
    double hz;
    AudioLevel level;
  } cases[] = {
      {660, {50, 0xFFFF}},
      {880, {20, 0xFFFF}},
      {1100, {0, 0x8000}},
      {1320, {100, 0xFFFF}},
  };
  ASSERT_EQ(audio().LoadChannel(0, Tone("ref.wav", 440, 300, 0.3)), AudioLoad::kLoaded);
  for (int i = 0; i < 4; ++i) {
    std::string name = "t" + std::to_string(i) + ".wav";
    ASSERT_EQ(audio().LoadChannel(i + 1, Tone(name, cases[i].hz, 300, 0.3)), AudioLoad::kLoaded);
  }
  audio().PlayChannel(0, false, {});
  for (int i = 0; i < 4; ++i) audio().PlayChannel(i + 1, false, cases[i].level);
  ASSERT_TRUE(WaitUntil([&] {
    for (int c = 0; c < 5; ++c)
      if (audio().ChannelPlaying(c)) return false;
    return true;
  }));
  CapturedAudio out = Finish();
  double reference = test::ToneLevel(out, 440, 0, out.frames());
  ASSERT_GT(reference, 0.0);
  for (const Case& c : cases) {
    double expected =
        c.level.attenuation >= 100
            ? 0.0
            : std::pow(10.0, -25.0 * c.level.attenuation / 2000) * c.level.linear / 65535.0;
    double ratio = test::ToneLevel(out, c.hz, 0, out.frames()) / reference;
    EXPECT_NEAR(ratio, expected, 0.03 * expected + 0.002) << c.hz << " Hz";
  }
}

TEST_F(SdlMixerAudioTest, ALevelChangeReachesAPlayingChannel) {
  ASSERT_EQ(audio().LoadChannel(5, Tone("a.wav", 440, 100, 0.5)), AudioLoad::kLoaded);
  audio().PlayChannel(5, true, {});
  size_t played_at = Reached();
  ListenFor(300);
  size_t lowered_at = Reached();
  audio().SetChannelLevel(5, {50, 0xFFFF});
  ListenFor(300);
  size_t silenced_at = Reached();
  audio().SetChannelLevel(5, {100, 0xFFFF});
  ListenFor(200);
  EXPECT_TRUE(audio().ChannelPlaying(5));  // silent, not stopped
  CapturedAudio out = Finish();
  auto level = [&](size_t from, size_t to) {
    return test::ToneLevel(out, 440, from + kLagFrames, to - from - kLagFrames);
  };
  EXPECT_NEAR(level(played_at, lowered_at), 0.5, 0.01);
  EXPECT_NEAR(level(lowered_at, silenced_at), 0.5 * 30 / 128, 0.01);
  EXPECT_LT(level(silenced_at, out.frames()), 0.001);
}

TEST_F(SdlMixerAudioTest, AChainedIntroHandsOverToItsLoopPart) {
  // 137 ms of 523 Hz end mid-period and mid-buffer; the loop part is 100 ms
  // of 330 Hz, 33 whole periods.
  std::vector<int16_t> intro = test::ToneSamples(523.25, 137, 0.5);
  std::vector<int16_t> loop = test::ToneSamples(330, 100, 0.4);
  std::vector<int16_t> loop_twice = loop;
  loop_twice.insert(loop_twice.end(), loop.begin(), loop.end());
  struct Case {
    int intro, loop;
    bool seamless;  // else the loop part may start with the next mixing buffer
  } cases[] = {{50, 51, true}, {10, 3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.intro) + " to " + std::to_string(c.loop));
    Restart();
    ASSERT_EQ(audio().LoadChannel(c.intro, Samples("intro.wav", intro)), AudioLoad::kLoaded);
    ASSERT_EQ(audio().LoadChannel(c.loop, Samples("loop.wav", loop)), AudioLoad::kLoaded);
    audio().SetChannelLevel(c.loop, {});
    audio().PlayChannel(c.intro, false, {});
    audio().ChainChannel(c.intro, c.loop);
    ASSERT_TRUE(WaitUntil([&] { return !audio().ChannelPlaying(c.intro); }));
    EXPECT_TRUE(audio().ChannelPlaying(c.loop));
    ListenFor(300);
    EXPECT_TRUE(audio().ChannelPlaying(c.loop));
    CapturedAudio out = Finish();

    size_t start = test::SoundingFrames(out).first - 1;
    EXPECT_EQ(Mismatches(out, start, intro), 0u);
    size_t intro_end = start + intro.size();
    size_t loop_start = intro_end;
    if (!c.seamless) {
      // Silence up to the buffer where the loop part starts (its first sample is 0).
      while (loop_start < out.frames() && out.left[loop_start + 1] == 0) ++loop_start;
      EXPECT_LE(loop_start - intro_end, 1024u);
    }
    EXPECT_EQ(Mismatches(out, loop_start, loop_twice), 0u);
  }
}

TEST_F(SdlMixerAudioTest, ChainingAnIntroThatHasEndedStartsTheLoopAtOnce) {
  ASSERT_EQ(audio().LoadChannel(50, Tone("intro.wav", 523.25, 30, 0.5)), AudioLoad::kLoaded);
  ASSERT_EQ(audio().LoadChannel(51, Tone("loop.wav", 330, 100, 0.4)), AudioLoad::kLoaded);
  audio().PlayChannel(50, false, {});
  ASSERT_TRUE(WaitUntil([&] { return !audio().ChannelPlaying(50); }));
  audio().ChainChannel(50, 51);
  EXPECT_TRUE(audio().ChannelPlaying(51));
  // A channel never played has no end to hand over at.
  ASSERT_EQ(audio().LoadChannel(20, Tone("intro.wav", 523.25, 30, 0.5)), AudioLoad::kLoaded);
  ASSERT_EQ(audio().LoadChannel(21, Tone("loop.wav", 330, 100, 0.4)), AudioLoad::kLoaded);
  audio().ChainChannel(20, 21);
  EXPECT_FALSE(audio().ChannelPlaying(21));
}

TEST_F(SdlMixerAudioTest, AHandoverIsForgottenWhenEitherChannelIsReleasedOrPlayedAgain) {
  struct Case {
    const char* what;
    std::function<void(SdlMixerAudio&)> act;
  } cases[] = {
      {"loop part released and loaded again",
       [this](SdlMixerAudio& a) {
         a.ReleaseChannel(51);
         a.LoadChannel(51, File("loop.wav"));
       }},
      {"loop part loaded again", [this](SdlMixerAudio& a) { a.LoadChannel(51, File("loop.wav")); }},
      {"intro played again", [](SdlMixerAudio& a) { a.PlayChannel(50, false, {}); }},
      {"intro released", [](SdlMixerAudio& a) { a.ReleaseChannel(50); }},
  };
  Tone("intro.wav", 523.25, 100, 0.5);
  Tone("loop.wav", 330, 100, 0.4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Restart();
    ASSERT_EQ(audio().LoadChannel(50, File("intro.wav")), AudioLoad::kLoaded);
    ASSERT_EQ(audio().LoadChannel(51, File("loop.wav")), AudioLoad::kLoaded);
    audio().PlayChannel(50, false, {});
    audio().ChainChannel(50, 51);
    c.act(audio());
    ASSERT_TRUE(WaitUntil([&] { return !audio().ChannelPlaying(50); }));
    ListenFor(100);
    EXPECT_FALSE(audio().ChannelPlaying(51));
    CapturedAudio out = Finish();
    auto [first, end] = test::SoundingFrames(out);
    // The intro (started twice at most: a part, then whole), and no loop part.
    EXPECT_LT(end - first, Frames(150));
    EXPECT_LT(test::ToneLevel(out, 330, end, out.frames()), 0.001);
  }
}

TEST_F(SdlMixerAudioTest, AChannelHoldsItsSoundDecodedWhole) {
  std::string path = Tone("tone.wav", 440, 200, 0.5);
  ASSERT_EQ(audio().LoadChannel(4, path), AudioLoad::kLoaded);
  EXPECT_EQ(TimesOpen(path), 0);
  std::filesystem::remove(path);
  audio().PlayChannel(4, false, {});
  ASSERT_TRUE(WaitUntil([&] { return !audio().ChannelPlaying(4); }));
  CapturedAudio out = Finish();
  auto [first, end] = test::SoundingFrames(out);
  EXPECT_EQ(end - first + 1, Frames(200));
}

TEST_F(SdlMixerAudioTest, MusicStreamsFromItsFileUntilStopped) {
  std::string path = Tone("music.wav", 440, 100, 0.5);
  ASSERT_TRUE(audio().PlayMusic(path, true, {}));
  size_t played_at = Reached();
  EXPECT_TRUE(audio().MusicPlaying());
  EXPECT_EQ(TimesOpen(path), 1);  // read as it plays
  ListenFor(350);
  EXPECT_TRUE(audio().MusicPlaying());
  size_t stopped_at = Reached();
  audio().StopMusic();
  EXPECT_FALSE(audio().MusicPlaying());
  EXPECT_EQ(TimesOpen(path), 0);
  ListenFor(250);
  CapturedAudio out = Finish();
  size_t from = played_at + kLagFrames;
  EXPECT_NEAR(test::ToneLevel(out, 440, from, stopped_at - from), 0.5, 0.01);
  auto [first, end] = test::SoundingFrames(out);
  EXPECT_LE(end, stopped_at + kLagFrames);
  EXPECT_GE(out.frames() - end, Frames(150));
}

TEST_F(SdlMixerAudioTest, MusicPlayedOnceEndsAndNewMusicReplacesTheOld) {
  ASSERT_TRUE(audio().PlayMusic(Tone("long.wav", 660, 100, 0.5), true, {}));
  ListenFor(100);
  ASSERT_TRUE(audio().PlayMusic(Tone("once.wav", 440, 150, 0.5), false, {50, 0xFFFF}));
  size_t replaced_at = Reached();
  ASSERT_TRUE(WaitUntil([&] { return !audio().MusicPlaying(); }));
  ListenFor(50);
  CapturedAudio out = Finish();
  EXPECT_LT(test::ToneLevel(out, 660, replaced_at + kLagFrames, out.frames()), 0.001);
  // The 150 ms played once at attenuation 50, measured over their stretch,
  // and then silence.
  size_t end = test::SoundingFrames(out).second;
  ASSERT_GE(end, replaced_at + Frames(150));
  EXPECT_NEAR(test::ToneLevel(out, 440, end - Frames(150), Frames(150)), 0.5 * 30 / 128, 0.01);
}

TEST_F(SdlMixerAudioTest, MidiMusicFindsASoundfontByItself) {
  env_.Unset("SDL_SOUNDFONTS");
  ASSERT_TRUE(
      audio().PlayMusic(std::string(ORIVANE_SOURCE_DIR) + "/examples/demo/bgm.mid", true, {}));
  ListenFor(600);
  EXPECT_TRUE(audio().MusicPlaying());
  CapturedAudio out = Finish();
  double energy = 0;
  for (size_t i = 0; i < out.frames(); ++i) energy += double(out.left[i]) * out.left[i];
  double rms = std::sqrt(energy / std::max<size_t>(out.frames(), 1)) / 32767;
  EXPECT_GT(rms, 0.01);
}

TEST_F(SdlMixerAudioTest, BadFilesAndChannelsAreRefused) {
  std::mt19937 random(527);
  std::string noise(5000, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  Tone("good.wav", 440, 50, 0.5);
  std::string wav = dir_.ReadBytes("good.wav");
  struct Case {
    const char* name;
    std::optional<std::string> bytes;  // none: the name is not written
  } cases[] = {
      {"missing.wav", std::nullopt},
      {"empty.wav", ""},
      {"header_cut.wav", wav.substr(0, 30)},
      {"noise.wav", noise},
      {"noise.ogg", noise},
      {"noise.mid", noise},
      {"noise.mp3", noise},
      {"text.wav", "RIFF but not really a wave file\n"},
  };
  for (const Case& c : cases) {
    if (c.bytes) dir_.WriteBytes(c.name, *c.bytes);
    EXPECT_EQ(audio().LoadChannel(2, File(c.name)), AudioLoad::kNotAudio) << c.name;
    EXPECT_FALSE(audio().ChannelPlaying(2)) << c.name;
    EXPECT_FALSE(audio().PlayMusic(File(c.name), false, {})) << c.name;
    EXPECT_FALSE(audio().MusicPlaying()) << c.name;
    if (c.bytes) {
      EXPECT_EQ(TimesOpen(File(c.name)), 0) << c.name;  // nothing left open
    }
  }
  std::filesystem::create_directory(File("folder.wav"));
  EXPECT_EQ(audio().LoadChannel(2, File("folder.wav")), AudioLoad::kNotAudio);
  EXPECT_FALSE(audio().PlayMusic(File("folder.wav"), true, {}));
  ASSERT_EQ(::mkfifo(File("pipe.wav").c_str(), 0600), 0);  // would never end reading
  EXPECT_EQ(audio().LoadChannel(2, File("pipe.wav")), AudioLoad::kNotAudio);
  EXPECT_FALSE(audio().PlayMusic(File("pipe.wav"), true, {}));

  for (int channel : {-1, AudioService::kChannelCount, 1000}) {
    EXPECT_EQ(audio().LoadChannel(channel, File("good.wav")), AudioLoad::kNotAudio) << channel;
    audio().PlayChannel(channel, true, {});
    audio().ChainChannel(channel, 0);
    audio().ChainChannel(0, channel);
    audio().SetChannelLevel(channel, {});
    audio().ReleaseChannel(channel);
    EXPECT_FALSE(audio().ChannelPlaying(channel)) << channel;
  }
  // The service is as good as before.
  ASSERT_EQ(audio().LoadChannel(2, File("good.wav")), AudioLoad::kLoaded);
  audio().PlayChannel(2, false, {});
  ASSERT_TRUE(WaitUntil([&] { return !audio().ChannelPlaying(2); }));
  CapturedAudio out = Finish();
  EXPECT_NEAR(test::ToneLevel(out, 440, 0, out.frames()) * out.frames(), 0.5 * Frames(50),
              0.01 * Frames(50));
}

TEST_F(SdlMixerAudioTest, OnlyOneServiceHoldsTheOutput) {
  ASSERT_TRUE(audio().Open());
  SdlMixerAudio second;
  EXPECT_FALSE(second.Open());
  EXPECT_NE(second.OpenError().find("already open"), std::string::npos) << second.OpenError();
  EXPECT_EQ(second.LoadChannel(0, Tone("a.wav", 440, 50, 0.5)), AudioLoad::kNoDevice);
  ASSERT_EQ(audio().LoadChannel(0, File("a.wav")), AudioLoad::kLoaded);
}

TEST_F(SdlMixerAudioTest, OpeningLeavesTheStopSignalsToTheEngine) {
  // SDL's events come up with its audio and would catch SIGINT and SIGTERM.
  const int signals[] = {SIGINT, SIGTERM};
  struct sigaction before[2] = {};
  for (int i = 0; i < 2; ++i) ASSERT_EQ(sigaction(signals[i], nullptr, &before[i]), 0);
  ASSERT_TRUE(audio().Open());
  for (int i = 0; i < 2; ++i) {
    struct sigaction after = {};
    ASSERT_EQ(sigaction(signals[i], nullptr, &after), 0);
    EXPECT_EQ(after.sa_handler, before[i].sa_handler) << signals[i];
  }
}

TEST_F(SdlMixerAudioTest, OpeningWritesNothingToStandardError) {
  // The engine's standard error holds its reports and notes; the disk
  // driver would announce itself there.
  std::string captured = File("stderr.txt");
  int saved = ::dup(2);
  int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ASSERT_GE(file, 0);
  ::dup2(file, 2);
  bool opened = audio().Open();
  ::dup2(saved, 2);
  ::close(file);
  ::close(saved);
  EXPECT_TRUE(opened);
  EXPECT_EQ(dir_.ReadBytes("stderr.txt"), "");
}

TEST(SdlMixerAudioWithoutOutput, EveryCallIsSilentAndOpenIsNotRetried) {
  ScopedEnv env;
  env.Set("SDL_AUDIODRIVER", "no-such-driver");
  test::GameDir dir;
  test::WriteToneWav(dir.path() + "/a.wav", 440, 50, 0.5);
  SdlMixerAudio audio;
  EXPECT_FALSE(audio.Open());
  EXPECT_FALSE(audio.OpenError().empty());
  env.Set("SDL_AUDIODRIVER", "dummy");  // a device now, but the service tried once
  EXPECT_FALSE(audio.Open());
  EXPECT_EQ(audio.LoadChannel(0, dir.path() + "/a.wav"), AudioLoad::kNoDevice);
  audio.PlayChannel(0, false, {});
  audio.ChainChannel(0, 1);
  audio.SetChannelLevel(0, {});
  EXPECT_FALSE(audio.ChannelPlaying(0));
  audio.ReleaseChannel(0);
  EXPECT_FALSE(audio.PlayMusic(dir.path() + "/a.wav", true, {}));
  EXPECT_FALSE(audio.MusicPlaying());
  audio.SetMusicLevel({});
  audio.StopMusic();
}

}  // namespace
}  // namespace orivane

#endif  // ORIVANE_TESTS_HAVE_SDL_MIXER
