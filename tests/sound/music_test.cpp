// The music: the `bgm` family on the music stream with its volume and
// fades, intro-and-loop music on channels 50 and 51, the lowering under
// voices, MIDI and CD tracks sharing the stream, and what a save file keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sound/sound_state.h"
#include "sound_game.h"

namespace orivane::test {
namespace {

std::vector<int> Attenuations(const std::vector<AudioLevel>& levels) {
  std::vector<int> out;
  for (const AudioLevel& l : levels) out.push_back(l.attenuation);
  return out;
}

// Every value from `from` to `to` (both included), one apart.
std::vector<int> Steps(int from, int to) {
  std::vector<int> out;
  for (int a = from; from <= to ? a <= to : a >= to; a += from <= to ? 1 : -1) out.push_back(a);
  return out;
}

TEST(Music, PlaysLoopsAndStops) {
  struct Case {
    const char* name;
    const char* body;
    const char* file;  // empty: the stream ends silent
    bool loop;
    int attenuation;
  };
  const std::vector<Case> cases = {
      {"bgm loops", "bgm \"a.ogg\"", "a.ogg", true, 0},
      {"mp3loop loops", "mp3loop \"a.ogg\"", "a.ogg", true, 0},
      {"bgmonce plays once", "bgmonce \"a.ogg\"", "a.ogg", false, 0},
      {"bgmsave plays once", "bgmsave \"a.ogg\"", "a.ogg", false, 0},
      {"the music volume", "bgmvol 60\nbgm \"a.ogg\"", "a.ogg", true, 40},
      {"the volume changes what plays", "bgm \"a.ogg\"\nmp3vol 25", "a.ogg", true, 75},
      {"a new piece replaces the old", "bgm \"a.ogg\"\nbgmonce \"b.ogg\"", "b.ogg", false, 0},
      {"bgmstop", "bgm \"a.ogg\"\nbgmstop", "", false, 0},
      {"an empty name stops", "bgm \"a.ogg\"\nbgm \"\"", "", false, 0},
      {"stop stops the music too", "bgm \"a.ogg\"\nstop", "", false, 0},
      {"MIDI takes the stream", "bgm \"a.ogg\"\nplay \"song.mid\"", "song.mid", true, 0},
      {"playstop leaves the music alone", "bgm \"a.ogg\"\nplaystop", "a.ogg", true, 0},
      {"playstop stops MIDI", "play \"song.mid\"\nplaystop", "", false, 0},
      {"playonce plays MIDI once", "playonce \"SONG.MID\"", "song.mid", false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundGame g;
    if (std::string(c.name) == "playonce plays MIDI once")
      g.game.WriteBytes("SONG.MID", "MThd0000");
    RunResult r = g.Run("", c.body);
    ASSERT_EQ(r.status, 0) << r.err;
    if (std::string(c.file).empty()) {
      EXPECT_FALSE(g.audio.music.playing);
      continue;
    }
    EXPECT_TRUE(g.audio.music.playing);
    EXPECT_TRUE(SoundGame::Holds(g.audio.music.path, c.file) ||
                SoundGame::Holds(g.audio.music.path, "SONG.MID"))
        << g.audio.music.path;
    EXPECT_EQ(g.audio.music.loop, c.loop);
    EXPECT_EQ(g.audio.music.level.attenuation, c.attenuation);
  }
}

TEST(Music, GetbgmvolReadsTheLevelNow) {
  SoundGame g;
  RunResult r = g.Run("defbgmvol 80", "getbgmvol %0\n%0\nmp3vol 35\ngetmp3vol %1\n%1");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "８０\n３５\n");
}

TEST(Music, AFadeOutStepsDownOnePercentAtATime) {
  SoundGame g;
  RunResult r = g.Run("", "bgmfadeout 1000\nbgm \"a.ogg\"\nbgmstop");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(g.audio.music.playing);
  // The levels the stopped piece was given: from full down to 99.
  std::vector<int> want = {0};  // the level it started at
  for (int a : Steps(0, 99)) want.push_back(a);
  EXPECT_EQ(Attenuations(g.audio.music.levels), want);
}

TEST(Music, AFadeOutTakesItsTimeOnTheEngineClock) {
  SoundGame plain;
  RunResult r = plain.Run("", "bgm \"a.ogg\"\nwait 100\nbgmstop");
  ASSERT_EQ(r.status, 0) << r.err;
  SoundGame faded;
  r = faded.Run("", "bgmfadeout 1000\nbgm \"a.ogg\"\nwait 100\nbgmstop");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_GE(faded.end_ticks - plain.end_ticks, 1000u);
  EXPECT_LE(faded.end_ticks - plain.end_ticks, 1100u);
  SoundGame skipping;
  r = skipping.Run("", "bgmfadeout 1000\nbgm \"a.ogg\"\nwait 100\nbgmstop", "menu 40006\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_GE(skipping.end_ticks - plain.end_ticks, 100u);
  EXPECT_LE(skipping.end_ticks - plain.end_ticks, 200u);
}

TEST(Music, AFadeInRisesFromSilenceToTheMusicVolume) {
  SoundGame g;
  RunResult r = g.Run("", "bgmvol 70\nbgmfadein 500\nbgm \"a.ogg\"");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<int> want = {100};  // silent at the start
  for (int a : Steps(100, 31)) want.push_back(a);
  want.push_back(30);
  EXPECT_EQ(Attenuations(g.audio.music.levels), want);
}

TEST(Music, AnMp3VoiceIsNotFadedOut) {
  SoundGame g;
  RunResult r = g.Run("", "bgmfadeout 1000\nmv0001\nbgm \"a.ogg\"");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(SoundGame::Holds(g.audio.music.path, "a.ogg"));
  EXPECT_EQ(g.audio.music.plays, 2);
  EXPECT_LT(g.end_ticks, 100u);
}

TEST(IntroLoopMusic, LoadsBothPartsAndHandsOver) {
  SoundGame g;
  RunResult r = g.Run("", "bgmvol 60\nloopbgm \"intro.ogg\",\"loop.ogg\"");
  ASSERT_EQ(r.status, 0) << r.err;
  const RecordingAudio::Channel& intro = g.audio.channels[kIntroChannel];
  const RecordingAudio::Channel& loop = g.audio.channels[kLoopChannel];
  EXPECT_TRUE(SoundGame::Holds(intro.path, "intro.ogg"));
  EXPECT_TRUE(intro.playing);
  EXPECT_FALSE(intro.loop);
  EXPECT_EQ(intro.attenuation, 40);
  EXPECT_EQ(intro.chained_to, kLoopChannel);
  EXPECT_TRUE(SoundGame::Holds(loop.path, "loop.ogg"));
  EXPECT_FALSE(loop.playing);
}

TEST(IntroLoopMusic, PlaysWhileSoundIsOff) {
  SoundGame g;
  RunResult r = g.Run("", "wait 100\nloopbgm \"intro.ogg\",\"loop.ogg\"", "menu 40018\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(g.audio.channels[kIntroChannel].playing);
}

TEST(IntroLoopMusic, StopsOnBothChannels) {
  SoundGame g;
  RunResult r = g.Run("", "loopbgm \"intro.ogg\",\"loop.ogg\"\nloopbgmstop");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(g.audio.channels[kIntroChannel].path, "");
  EXPECT_EQ(g.audio.channels[kLoopChannel].path, "");
}

TEST(MusicDucking, LowersTheMusicByStepsOfTwoToHalfWhileAVoicePlays) {
  SoundGame g;
  RunResult r = g.Run("", "bgmdownmode 1\nbgm \"a.ogg\"\ndv0001\nwait 1000");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<int> want;
  for (int a = 0; a <= 50; a += 2) want.push_back(a);
  EXPECT_EQ(Attenuations(g.audio.music.levels), want);
}

TEST(MusicDucking, ClimbsBackWhenTheVoiceHasEnded) {
  SoundGame g;
  RunResult r = g.Run(
      "", "bgmdownmode 1\nbgmvol 80\nbgm \"a.ogg\"\ndv0001\nwait 1000\ndwavestop 0\nwait 1000");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<int> levels = Attenuations(g.audio.music.levels);
  ASSERT_FALSE(levels.empty());
  // Down to half of 80 (attenuation 60), then back to the base of 20.
  int lowest = 0;
  for (int a : levels) lowest = std::max(lowest, a);
  EXPECT_EQ(lowest, 60);
  EXPECT_EQ(levels.back(), 20);
}

TEST(CdAudio, PlaysTrackFilesOfTheDisc) {
  struct Case {
    const char* name;
    std::vector<const char*> disc;
    const char* body;
    const char* file;  // empty: nothing plays
  };
  const std::vector<Case> cases = {
      {"a track",
       {"cd/track01.ogg", "cd/track02.ogg", "cd/track03.ogg"},
       "play \"*2\"",
       "cd/track02.ogg"},
      {"past the last track: the last",
       {"cd/track01.ogg", "cd/track02.ogg", "cd/track05.wav"},
       "play \"*20\"",
       "cd/track05.wav"},
      {"a disc of one track holds data", {"cd/track01.ogg"}, "play \"*1\"", ""},
      {"no disc", {}, "play \"*2\"", ""},
      {"track 0 stops",
       {"cd/track01.ogg", "cd/track02.ogg"},
       "cdfadeout 0\nplay \"*2\"\nplay \"*0\"",
       ""},
      {"CD audio off", {"cd/track01.ogg", "cd/track02.ogg"}, "wait 100\nplay \"*2\"", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundGame g;
    for (const char* f : c.disc) g.game.WriteBytes(f, "OggS0000");
    RunResult r = g.Run("", c.body, std::string(c.name) == "CD audio off" ? "menu 40022\n" : "");
    ASSERT_EQ(r.status, 0) << r.err;
    if (std::string(c.file).empty()) {
      EXPECT_FALSE(g.audio.music.playing);
    } else {
      EXPECT_TRUE(SoundGame::Holds(g.audio.music.path, c.file)) << g.audio.music.path;
      EXPECT_TRUE(g.audio.music.loop);
    }
  }
}

TEST(CdAudio, TheTrackThatPlaysGoesOnAndVolumeIsLinear) {
  SoundGame g;
  g.game.WriteBytes("cd/track02.ogg", "OggS0000");
  RunResult r = g.Run("", "play \"*2\"\nplay \"*2\"\nsetcdvol 32768\ngetcdvol %0\n%0");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(g.audio.music.plays, 1);
  EXPECT_EQ(g.audio.music.level.linear, 32768);
  EXPECT_EQ(r.out, "３２７６８\n");
}

TEST(CdAudio, StopFadesOverTheFadeTimeAndASecondMore) {
  for (bool fade_off : {false, true}) {
    SCOPED_TRACE(fade_off ? "cdfadeoff" : "fade");
    SoundGame g;
    g.game.WriteBytes("cd/track02.ogg", "OggS0000");
    if (fade_off) g.game.WriteBytes("config.txt", "cdfadeoff\n");
    RunResult r = g.Run("", "play \"*2\"\nstop");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(g.audio.music.playing);
    if (fade_off) {
      EXPECT_LT(g.end_ticks, 100u);
    } else {
      EXPECT_GE(g.end_ticks, 1990u);  // 99 steps of 10 ms, then a second
      EXPECT_LT(g.end_ticks, 2200u);
      EXPECT_EQ(g.audio.music.levels.size(), 100u);  // the start and 99 steps
    }
  }
}

// The page "二" is where the save point is taken; the music changes after
// the save, and the load brings back what played then.
TEST(SoundSaves, ALoadRestartsTheMusicOfTheSavedPage) {
  struct Case {
    const char* name;
    const char* music;
    bool restarted;
  };
  const std::vector<Case> cases = {
      {"bgm resumes", "bgm \"a.ogg\"", true},
      {"bgmsave resumes", "bgmsave \"a.ogg\"", true},
      {"bgmonce does not", "bgmonce \"a.ogg\"", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SoundGame g;
    const std::string body =
        std::string(c.music) +
        "\n一\\\n二@\nif %300 == 1 goto *loaded\nsavegame 1\nbgm \"b.ogg\"\n三\\\n"
        "mov %300,1\nloadgame 1\nend\n*loaded\n";
    RunResult r = g.Run("", body);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "一\n二\n三\n二\n");
    EXPECT_EQ(g.audio.music.playing, c.restarted);
    if (c.restarted) {
      EXPECT_TRUE(SoundGame::Holds(g.audio.music.path, "a.ogg"));
    }
  }
}

TEST(SoundSaves, ALoadRestartsIntroLoopMusicAndALoopingWave) {
  SoundGame g;
  const std::string body =
      "loopbgm \"intro.ogg\",\"loop.ogg\"\nwaveloop \"se.wav\"\n一\\\n二@\nif %300 == 1 goto "
      "*loaded\n"
      "savegame 1\nloopbgmstop\nwavestop\n三\\\nmov %300,1\nloadgame 1\nend\n*loaded\n";
  RunResult r = g.Run("", body);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(SoundGame::Holds(g.audio.channels[kIntroChannel].path, "intro.ogg"));
  EXPECT_TRUE(SoundGame::Holds(g.audio.channels[kLoopChannel].path, "loop.ogg"));
  EXPECT_TRUE(g.audio.channels[kWaveChannel].playing);
  EXPECT_TRUE(g.audio.channels[kWaveChannel].loop);
}

TEST(SoundSettings, ThePlayersVolumesLastFromRunToRun) {
  SoundGame g;
  RunResult r = g.Run("", "voicevol 40\nsevol 55\nbgmvol 70\nbgmdownmode 1");
  ASSERT_EQ(r.status, 0) << r.err;
  r = g.Run("", "getvoicevol %0\ngetsevol %1\ngetbgmvol %2\n%0\n%1\n%2");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "４０\n５５\n７０\n");
}

}  // namespace
}  // namespace orivane::test
