// The sound channels, the wave player and the voice shorthands, seen through
// a recording sound output: which file each channel holds, at what level,
// looping or not, and when a sound is not started at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_writer.h"
#include "script/general_test_support.h"
#include "sound/sound_state.h"
#include "sound_game.h"
#include "support/script_cases.h"

namespace orivane::test {
namespace {

TEST(SoundChannels, PlayAtTheVoiceAndEffectVolumes) {
  struct Case {
    const char* name;
    const char* body;
    int channel;
    bool playing;
    bool loop;
    int attenuation;
  };
  const std::vector<Case> cases = {
      {"an effect at full volume", "dwave 1,\"se.wav\"", 1, true, false, 0},
      {"an effect at the effect volume", "sevol 40\ndwave 1,\"se.wav\"", 1, true, false, 60},
      {"channel 0 at the voice volume", "voicevol 30\nsevol 40\ndwave 0,\"se.wav\"", 0, true, false,
       70},
      {"a voice volume of 0 is silence", "voicevol 0\ndwave 0,\"se.wav\"", 0, true, false, 100},
      {"chvol before the start does not last", "chvol 3,20\ndwave 3,\"se.wav\"", 3, true, false, 0},
      {"chvol on a playing channel", "dwave 3,\"se.wav\"\nchvol 3,20", 3, true, false, 80},
      {"chvol is clamped", "dwave 3,\"se.wav\"\nchvol 3,150", 3, true, false, 0},
      {"sevol reaches playing channels", "dwaveloop 2,\"se.wav\"\nsevol 50", 2, true, true, 50},
      {"sevol leaves the voice channel", "dwave 0,\"se.wav\"\nsevol 50", 0, true, false, 0},
      {"voicevol reaches the voice channel", "dwave 0,\"se.wav\"\nvoicevol 50", 0, true, false, 50},
      {"dwaveload only loads", "dwaveload 4,\"se.wav\"", 4, false, false, -1},
      {"dwaveplayloop plays what was loaded", "dwaveload 4,\"se.wav\"\ndwaveplayloop 4", 4, true,
       true, 0},
      {"the music channels may be used", "dwave 51,\"se.wav\"", 51, true, false, 0},
      {"a sound of an extended-button state string", "spstr \"S3,se.wav\"", 3, true, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundGame g;
    RunResult r = g.Run("", c.body);
    ASSERT_EQ(r.status, 0) << r.err;
    const RecordingAudio::Channel& ch = g.audio.channels[static_cast<size_t>(c.channel)];
    EXPECT_TRUE(SoundGame::Holds(ch.path, "se.wav")) << ch.path;
    EXPECT_EQ(ch.playing, c.playing);
    EXPECT_EQ(ch.loop, c.loop);
    EXPECT_EQ(ch.attenuation, c.attenuation);
  }
}

TEST(SoundChannels, StopAndSkipRules) {
  struct Case {
    const char* name;
    const char* define;
    const char* body;
    const char* input;
  };
  // Each ends with channel 1 holding nothing.
  const std::vector<Case> cases = {
      {"an empty name stops", "", "dwave 1,\"se.wav\"\ndwave 1,\"\"", ""},
      {"dwavestop", "", "dwaveloop 1,\"se.wav\"\ndwavestop 1", ""},
      {"a volume of -1 releases", "", "dwave 1,\"se.wav\"\nchvol 1,-1", ""},
      {"nothing starts while sound is off", "", "wait 100\ndwave 1,\"se.wav\"", "menu 40018\n"},
      {"nothing starts in skip mode", "", "wait 100\ndwave 1,\"se.wav\"", "menu 40006\n"},
      {"a file that is no sound", "", "dwave 1,\"noise.wav\"", ""},
      {"nodv skips a missing file", "nodv", "dwave 1,\"missing.wav\"", ""},
      {"noloaderror skips a missing file", "noloaderror", "dwave 1,\"missing.wav\"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundGame g;
    RunResult r = g.Run(c.define, c.body, c.input);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(g.audio.channels[1].path, "");
    EXPECT_FALSE(g.audio.channels[1].playing);
  }
}

// An archived sound is written out for the output to decode, and its copy
// goes once the sound is in memory.
TEST(SoundChannels, PlayArchivedFiles) {
  SoundGame g;
  const std::string riff = "RIFF" + std::string(40, '\0');
  std::vector<uint8_t> arc;
  std::string error;
  ASSERT_TRUE(BuildArchive(
      {PackEntryAs("se\\packed.wav", std::vector<uint8_t>(riff.begin(), riff.end()), 2)}, 0, arc,
      error))
      << error;
  g.game.WriteBytes("arc.ora", std::string(arc.begin(), arc.end()));
  RunResult r = g.Run("ora", "dwave 1,\"se\\packed.wav\"\nwave \"se/packed.wav\"");
  ASSERT_EQ(r.status, 0) << r.err;
  for (int channel : {1, kWaveChannel}) {
    const RecordingAudio::Channel& c = g.audio.channels[static_cast<size_t>(channel)];
    EXPECT_TRUE(c.playing);
    EXPECT_TRUE(SoundGame::Holds(c.path, "packed.wav")) << c.path;
    EXPECT_FALSE(std::filesystem::exists(c.path)) << c.path;
  }
}

// A format the output does not take goes through the converter that
// `soundpressplgin` registered for its extension.
TEST(SoundChannels, ConvertersTurnOtherFormatsIntoWaves) {
  struct Case {
    const char* name;
    const char* body;
    bool plays;
  };
  const std::vector<Case> cases = {
      {"converted", "dwave 1,\"a.xyz\"", true},
      {"the extension in capitals", "dwave 1,\"b.XYZ\"", true},
      {"a converter that writes nothing", "dwave 1,\"fail.xyz\"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundGame g;
    std::filesystem::copy_file(ORIVANE_TEST_SOUND_CONVERTER, g.game.path() + "/conv.so");
    for (const char* f : {"a.xyz", "b.XYZ", "fail.xyz"}) g.game.WriteBytes(f, "data");
    RunResult r = g.Run("soundpressplgin \"XYZ|conv.dll\"\nnoloaderror", c.body);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(g.audio.channels[1].playing, c.plays);
    if (c.plays) {
      EXPECT_TRUE(SoundGame::Holds(g.audio.channels[1].path, "Orvntmp.wav"));
    }
  }
}

TEST(SoundChannels, AtMostFiftyConverters) {
  SoundGame g;
  std::string define;
  for (int i = 0; i < 51; ++i)
    define += "soundpressplgin \"x" + std::to_string(i) + "|conv.dll\"\n";
  RunResult r = g.Run(define, "");
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, IsErrorReport("エラー", "Sound press plug-in設定が多すぎます。"));
}

TEST(SoundChannels, AFormatWithoutConverterIsALoadError) {
  SoundGame g;
  g.game.WriteBytes("a.xyz", "data");
  RunResult r = g.Run("", "dwave 1,\"a.xyz\"");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("ファイルa.xyzを開けません。"), std::string::npos) << r.err;
}

TEST(SoundChannels, ModeWaveDemoPlaysInSkipMode) {
  SoundGame g;
  RunResult r =
      g.Run("mode_wave_demo", "wait 100\ndwave 1,\"se.wav\"\nwave \"se.wav\"", "menu 40006\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(g.audio.channels[1].playing);
  EXPECT_TRUE(g.audio.channels[kWaveChannel].playing);
}

TEST(SoundChannels, AFileThatIsNoSoundIsNotedOnce) {
  SoundGame g;
  RunResult r = g.Run("", "dwave 1,\"noise.wav\"");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("noise.wav is no sound the output can play"), std::string::npos) << r.err;
}

TEST(SoundChannels, WithoutAnOutputTheRunGoesOnAfterOneNote) {
  SoundGame g;
  g.audio.open_fails = true;
  RunResult r = g.Run("", "dwave 1,\"se.wav\"\nbgm \"a.ogg\"\nwave \"se.wav\"\n一");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一\n");
  size_t first = r.err.find("no sound output could be opened");
  ASSERT_NE(first, std::string::npos) << r.err;
  EXPECT_EQ(r.err.find("no sound output", first + 1), std::string::npos) << r.err;
}

TEST(VoiceShorthands, PlayTheVoiceFileOnTheirPlayer) {
  struct Case {
    const char* name;
    const char* body;
    int channel;  // -1: the music stream
    const char* file;
  };
  const std::vector<Case> cases = {
      {"v: the wave player", "v0001", kWaveChannel, "voice\\0001.wav"},
      {"capital V", "V0001", kWaveChannel, "voice\\0001.wav"},
      {"dv: the voice channel", "dv0001", 0, "voice\\0001.wav"},
      {"mv: the music", "mv0001", -1, "voice\\0001.mp3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundGame g;
    RunResult r = g.Run("voicevol 70", c.body);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string want = std::string(c.file).replace(5, 1, "/");
    if (c.channel < 0) {
      EXPECT_TRUE(SoundGame::Holds(g.audio.music.path, want)) << g.audio.music.path;
      EXPECT_EQ(g.audio.music.level.attenuation, 30);  // an MP3 voice plays at the voice volume
    } else {
      EXPECT_TRUE(SoundGame::Holds(g.audio.channels[static_cast<size_t>(c.channel)].path, want));
    }
  }
}

TEST(VoiceShorthands, AShorthandVoiceStopsAtTheNextLeftClick) {
  struct Case {
    const char* name;
    const char* body;
    bool stopped;
  };
  const std::vector<Case> cases = {
      {"the shorthand", "v0001\n一@", true},
      {"wave", "wave \"voice\\0001.wav\"\n一@", false},
      {"waveloop", "waveloop \"voice\\0001.wav\"\n一@", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundGame g;
    RunResult r = g.Run("", c.body, "after 100 click 1 1\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(g.audio.channels[kWaveChannel].path.empty(), c.stopped);
  }
}

TEST(VoiceShorthands, AWordThatIsNoCommandAndNoShorthandIsAnError) {
  SoundGame g;
  RunResult r = g.Run("", "xyz0001");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("不正な命令\"xyz0001\"です。"), std::string::npos) << r.err;
}

// Auto mode goes on once its delay has passed and the voice has ended; a
// voice of 20 looks (30 ms apart once the delay has passed) holds it.
TEST(VoiceWaits, AutoModeWaitsForTheVoice) {
  for (int queries : {0, 20}) {
    SCOPED_TRACE(queries);
    SoundGame g;
    g.audio.plays_for_queries[0] = queries;
    RunResult r =
        g.Run("automode\nautomode_time 100", queries ? "dv0001\n一@" : "一@", "menu 40019\n");
    ASSERT_EQ(r.status, 0) << r.err;
    if (queries == 0) {
      EXPECT_LT(g.end_ticks, 200u);
    } else {
      EXPECT_GE(g.end_ticks, 100u + 18 * 30);
      EXPECT_LT(g.end_ticks, 100u + 22 * 30);
    }
  }
}

TEST(VoiceWaits, Btntime2WaitsForTheVoicePastItsTime) {
  for (const char* wait : {"btntime 100", "btntime2 100"}) {
    SCOPED_TRACE(wait);
    SoundGame g;
    g.audio.plays_for_queries[0] = 20;
    RunResult r = g.Run("", std::string("dv0001\nbtndef clear\n") + wait + "\nbtnwait %0\n%0");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "－２\n");
    if (std::string(wait) == "btntime 100") {
      EXPECT_LT(g.end_ticks, 200u);
    } else {
      EXPECT_GE(g.end_ticks, 100u + 15 * 30);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    SoundArguments, ScriptErrors,
    ::testing::Values(
        ErrorCase{"voicevol 101", "エラー", "ボリュームは０～１００です。"},
        ErrorCase{"sevol -1", "エラー", "ボリュームは０～１００です。"},
        ErrorCase{"bgmvol 101", "エラー", "ボリュームは０～１００です。"},
        ErrorCase{"mp3vol -1", "エラー", "ボリュームは０～１００です。"},
        ErrorCase{"getvoicevol $0", "構文エラー", "getvoicevolの第一引数は数字変数です。"},
        ErrorCase{"getsevol $0", "構文エラー", "getsevolの第一引数は数字変数です。"},
        ErrorCase{"getbgmvol $0", "構文エラー", "getbgmvolの第一引数は数字変数です。"},
        ErrorCase{"getmp3vol $0", "構文エラー", "getmp3volの第一引数は数字変数です。"},
        ErrorCase{"getcdvol $0", "構文エラー", "getcdvolの第一引数は数字変数です。"},
        ErrorCase{"dwave 52,\"a.wav\"", "エラー", "サウンドチャンネル52は使えません（０～５１）。"},
        ErrorCase{"dwavestop -1", "エラー", "サウンドチャンネル-1は使えません（０～５１）。"},
        ErrorCase{"dwave 1,\"missing.wav\"", "ロードエラー", "ファイルmissing.wavを開けません。"},
        ErrorCase{"wave \"missing.wav\"", "ロードエラー", "ファイルmissing.wavを開けません。"},
        ErrorCase{"bgm \"missing.ogg\"", "ロードエラー", "ファイルmissing.oggを開けません。"},
        ErrorCase{"play \"missing.mid\"", "ロードエラー", "ファイルmissing.midを開けません。"},
        ErrorCase{"v0099", "ロードエラー", "ファイルvoice\\0099.wavを開けません。"}));

INSTANTIATE_TEST_SUITE_P(
    SoundDefinitions, DefineErrors,
    ::testing::Values(ErrorCase{"defvoicevol 101", "エラー", "ボリュームは０～１００です。"},
                      ErrorCase{"defbgmvol -5", "エラー", "ボリュームは０～１００です。"}));

}  // namespace
}  // namespace orivane::test
