// Movies on the headless engine with the FFmpeg player: frames at their
// moments on the virtual clock and at their rectangle, clicks, loops, async
// movies, archived files and files that are no movies.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "archive/archive_writer.h"
#include "engine.h"
#include "support/audio_capture.h"
#include "support/game_fixture.h"
#include "support/graphics_run.h"
#include "support/movie_files.h"
#include "support/movie_run.h"
#include "support/script_cases.h"
#include "support/signalled_run.h"

namespace orivane::test {
namespace {

#ifdef ORIVANE_TESTS_HAVE_FFMPEG

constexpr uint32_t kGameColour = 0x203040;

// A game whose screen is kGameColour, running `body` and then ending.
void WriteGame(const GameDir& game, const std::string& body, const std::string& define = "") {
  game.Write("0.txt", "*define\n" + define + "\ngame\n*start\nbg #203040,1\n" + body + "\nend\n");
}

// The frames of the movie among those shown: pictures whose pixel at (x, y)
// is one of the solid movie's colours.
struct MovieFrame {
  uint32_t ticks;
  int index;  // which frame of the movie
};
std::vector<MovieFrame> MovieFrames(const MovieRun& r, int x = 320, int y = 240, int frames = 5) {
  std::vector<MovieFrame> out;
  for (const ShownFrame& f : r.frames) {
    const uint32_t c = PixelAt(f.picture, x, y);
    for (int i = 0; i < frames; ++i)
      if (c == SolidFrameColour(i)) out.push_back({f.ticks, i});
  }
  return out;
}

// Every frame is shown at its moment of the movie (10 per second) and then
// the game screen comes back.
TEST(Movies, FramesAppearAtTheirMomentsThenTheGameScreenReturns) {
  for (const char* command : {"mpegplay \"m.avi\",0", "movie \"m.avi\"", "avi \"m.avi\",0"}) {
    SCOPED_TRACE(command);
    GameDir game;
    game.WriteBytes("m.avi", MakeAvi({}));
    WriteGame(game, command);
    MovieRun r = RunMovies(game);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<MovieFrame> frames = MovieFrames(r);
    ASSERT_EQ(frames.size(), 5u);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(frames[i].index, i);
      EXPECT_EQ(frames[i].ticks - frames[0].ticks, static_cast<uint32_t>(i * 100));
    }
    EXPECT_EQ(PixelAt(r.window, 320, 240), kGameColour);
    ASSERT_FALSE(r.frames.empty());
    EXPECT_GE(r.frames.back().ticks, frames.back().ticks);
  }
}

// `movie` with pos draws the frames at its rectangle, the game screen around it.
TEST(Movies, PosPlacesTheFramesAtTheRectangle) {
  GameDir game;
  game.WriteBytes("m.avi", MakeAvi({}));
  WriteGame(game, "movie \"m.avi\",pos,100,50,64,48");
  MovieRun r = RunMovies(game);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<MovieFrame> frames = MovieFrames(r, 100, 50);
  ASSERT_EQ(frames.size(), 5u);
  for (const ShownFrame& f : r.frames) {
    if (PixelAt(f.picture, 100, 50) != SolidFrameColour(2)) continue;
    EXPECT_EQ(PixelAt(f.picture, 163, 97), SolidFrameColour(2));
    for (auto [x, y] : {std::pair{99, 50}, {164, 50}, {100, 49}, {100, 98}, {320, 240}})
      EXPECT_EQ(PixelAt(f.picture, x, y), kGameColour) << x << "," << y;
  }
}

// A click ends a clickable movie, not one started with clickable 0.
TEST(Movies, AClickSkipsOnlyAClickableMovie) {
  struct Case {
    const char* command;
    size_t frames;
  };
  const std::vector<Case> cases = {
      {"mpegplay \"m.avi\",1", 2}, {"mpegplay \"m.avi\",0", 5},     {"movie \"m.avi\",click", 2},
      {"movie \"m.avi\"", 5},      {"mpegplay2 %1,\"m.avi\",1", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    GameDir game;
    game.WriteBytes("m.avi", MakeAvi({}));
    WriteGame(game, c.command);
    MovieRun r = RunMovies(game, "after 150 click 10 10\n");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(MovieFrames(r).size(), c.frames);
    EXPECT_EQ(PixelAt(r.window, 320, 240), kGameColour);
  }
}

// A looping movie starts again at its end until the player clicks.
TEST(Movies, ALoopRepeatsUntilAClick) {
  GameDir game;
  game.WriteBytes("m.avi", MakeAvi({}));
  WriteGame(game, "movie \"m.avi\",loop,click");
  MovieRun r = RunMovies(game, "after 1250 click 10 10\n");
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<MovieFrame> frames = MovieFrames(r);
  ASSERT_GE(frames.size(), 12u);
  EXPECT_LE(frames.size(), 14u);
  for (size_t i = 0; i < frames.size(); ++i)
    EXPECT_EQ(frames[i].index, static_cast<int>(i % 5)) << i;
  EXPECT_EQ(PixelAt(r.window, 320, 240), kGameColour);
}

// An async movie plays while the script waits, until `movie stop`.
TEST(Movies, AnAsyncMovieRunsBetweenCommandsUntilStop) {
  GameDir game;
  game.WriteBytes("m.avi", MakeAvi({}));
  WriteGame(game, "movie \"m.avi\",async,loop\nwait 250\nmovie stop\nwait 500");
  MovieRun r = RunMovies(game);
  ASSERT_EQ(r.status, 0) << r.err;
  const std::vector<MovieFrame> frames = MovieFrames(r);
  ASSERT_EQ(frames.size(), 3u);  // moments 0, 100 and 200 fall in the wait
  EXPECT_EQ(frames[2].index, 2);
  EXPECT_EQ(PixelAt(r.window, 320, 240), kGameColour);
  EXPECT_GE(r.end_ticks, 750u);
}

// The game screen changing under an async movie never hides the movie's
// frame: every picture shown while it plays has the frame at its rectangle.
TEST(Movies, TheGameScreenChangesAroundAnAsyncMovie) {
  GameDir game;
  game.WriteBytes("m.avi", MakeAvi({}));
  WriteGame(game, "movie \"m.avi\",async,loop,pos,100,50,64,48\nwait 150\nbg #ff0000,1\n"
                  "wait 150\nmovie stop");
  MovieRun r = RunMovies(game);
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<const ShownFrame*> red;
  for (const ShownFrame& f : r.frames)
    if (PixelAt(f.picture, 320, 240) == 0xFF0000u) red.push_back(&f);
  ASSERT_GE(red.size(), 3u);  // the new background, a frame or two, the stop
  for (size_t i = 0; i + 1 < red.size(); ++i) {
    const uint32_t c = PixelAt(red[i]->picture, 100, 50);
    EXPECT_TRUE(c == SolidFrameColour(1) || c == SolidFrameColour(2) || c == SolidFrameColour(3))
        << "picture " << i << " at " << red[i]->ticks << " shows " << std::hex << c;
  }
  EXPECT_EQ(PixelAt(red.back()->picture, 100, 50), 0xFF0000u);
}

// `mpegplay2` stores 1 after a movie was shown, 0 when there was none.
TEST(Movies, Mpegplay2StoresWhetherTheMovieWasShown) {
  struct Case {
    const char* file;
    uint32_t screen;
  };
  for (const Case& c : {Case{"m.avi", 0xFF0000}, Case{"bad.avi", 0x00FF00}}) {
    SCOPED_TRACE(c.file);
    GameDir game;
    game.WriteBytes("m.avi", MakeAvi({}));
    game.WriteBytes("bad.avi", "RIFF....AVI junk");
    WriteGame(game, std::string("mov %3,7\nmpegplay2 %3,\"") + c.file +
                        "\",0\nif %3==1 bg #ff0000,1\nif %3==0 bg #00ff00,1");
    MovieRun r = RunMovies(game);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(PixelAt(r.window, 320, 240), c.screen);
  }
}

// An archived movie is written out for the player and deleted afterwards.
TEST(Movies, AnArchivedMoviePlaysAndItsCopyGoes) {
  GameDir game;
  const std::string avi = MakeAvi({});
  std::vector<uint8_t> arc;
  std::string error;
  ASSERT_TRUE(BuildArchive(
      {PackEntryAs("mov\\m.avi", std::vector<uint8_t>(avi.begin(), avi.end()), 0)}, 0, arc, error))
      << error;
  game.WriteBytes("arc.ora", std::string(arc.begin(), arc.end()));
  WriteGame(game, "mpegplay \"mov\\m.avi\",0", "ora");
  MovieRun r = RunMovies(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(MovieFrames(r).size(), 5u);
  // The copy is there while the frames are shown and gone when the game
  // screen comes back.
  for (const ShownFrame& f : r.frames)
    if (PixelAt(f.picture, 320, 240) == SolidFrameColour(1)) {
      EXPECT_EQ(f.temp_files, 1);
    }
  ASSERT_FALSE(r.frames.empty());
  EXPECT_EQ(PixelAt(r.frames.back().picture, 320, 240), kGameColour);
  EXPECT_EQ(r.frames.back().temp_files, 0);
}

// A file that is no movie (or a broken one) gives a note and the script
// goes on; `avi` reports it as its first error.
TEST(Movies, BadFilesGiveANoteAndTheScriptGoesOn) {
  const std::string avi = MakeAvi({});
  struct Case {
    const char* name;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"empty", ""},
      {"text", "this is no movie at all\n"},
      {"flash", "FWS\x0a\x10\x00\x00\x00" + std::string(64, '\x01')},
      {"header only", avi.substr(0, 200)},
      {"garbage after the magic",
       "RIFF\xff\xff\xff\x7f"
       "AVI LIST" +
           std::string(300, '\x7f')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.WriteBytes("x.avi", c.bytes);
    WriteGame(game, "mpegplay \"x.avi\",1\nmovie \"x.avi\",async\nswf\nbg #ff0000,1");
    MovieRun r = RunMovies(game);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("cannot play the movie x.avi"), std::string::npos) << r.err;
    EXPECT_EQ(PixelAt(r.window, 320, 240), 0xFF0000u);
  }
}

// A movie cut short in its middle plays the frames it has and ends there.
TEST(Movies, ATruncatedMovieShowsTheFramesItHas) {
  GameDir game;
  const std::string avi = MakeAvi({});
  game.WriteBytes("m.avi", avi.substr(0, avi.size() * 3 / 5));
  WriteGame(game, "mpegplay \"m.avi\",0\nbg #ff0000,1");
  MovieRun r = RunMovies(game);
  ASSERT_EQ(r.status, 0) << r.err;
  const size_t shown = MovieFrames(r).size();
  EXPECT_GE(shown, 1u);
  EXPECT_LT(shown, 5u);
  EXPECT_EQ(PixelAt(r.window, 320, 240), 0xFF0000u);
}

TEST(Movies, AviReportsAFileItCannotPlay) {
  GameDir game;
  game.WriteBytes("x.avi", "no movie");
  WriteGame(game, "avi \"x.avi\",0");
  MovieRun r = RunMovies(game);
  EXPECT_NE(r.status, 0);
  EXPECT_NE(r.err.find("AVI Error 1"), std::string::npos) << r.err;
}

// A word other than stop while a movie plays is refused.
TEST(Movies, OnlyStopEndsAnAsyncMovie) {
  GameDir game;
  game.WriteBytes("m.avi", MakeAvi({}));
  WriteGame(game, "movie \"m.avi\",async\nmovie start");
  MovieRun r = RunMovies(game);
  EXPECT_NE(r.err.find("movie命令への指定が間違っています。"), std::string::npos) << r.err;
}

// A reset stops a movie that plays.
TEST(Movies, AResetStopsTheMovie) {
  GameDir game;
  game.WriteBytes("m.avi", MakeAvi({}));
  game.Write("0.txt",
             "*define\ngame\n*start\nbg #203040,1\nmov %250,%250+1\nif %250>1 end\nmovie "
             "\"m.avi\",async,loop\n"
             "wait 150\nreset\n");
  MovieRun r = RunMovies(game);
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(MovieFrames(r).size(), 2u);
}

// The program stopped by --timeout in the middle of a movie shows the frame
// of that moment in its screenshot.
TEST(Movies, ATimeoutInTheMiddleShowsThatFrame) {
  GameDir game;
  game.WriteBytes("m.avi", MakeAvi({}));
  WriteGame(game, "mpegplay \"m.avi\",0");
  const std::string shot = game.path() + "/shot.bmp";
  RunResult r = RunProgram({"--headless", "--timeout", "250", "--screenshot", shot, game.path()});
  EXPECT_EQ(r.status, 3) << r.err;
  Screenshot s(game.ReadBytes("shot.bmp"), 640, 480);
  ASSERT_TRUE(s.Complete());
  EXPECT_EQ(s.Pixel(320, 240), SolidFrameColour(2));
}

// The movie's sound is heard through the sound output (the disk driver, in
// real time): its tone stands out over another frequency.
TEST(Movies, TheMoviesSoundIsHeard) {
  GameDir game;
  AviSpec spec;
  spec.frames = 10;
  spec.tone_hz = 440;
  game.WriteBytes("m.avi", MakeAvi(spec));
  WriteGame(game, "mpegplay \"m.avi\",0");
  const std::string out = game.path() + "/out.raw";
  RunResult r = RunProgram({"--headless", "--realtime", game.path()},
                           {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + out});
  ASSERT_EQ(r.status, 0) << r.err;
  const CapturedAudio audio = ReadDiskAudio(out);
  const auto [first, last] = SoundingFrames(audio);
  ASSERT_GT(last - first, static_cast<size_t>(kCaptureRate / 2));
  const double tone = ToneLevel(audio, 440, first, last - first);
  EXPECT_GT(tone, 0.05);
  EXPECT_GT(tone, 10 * ToneLevel(audio, 1000, first, last - first));
}

// A sound stream whose header claims a shape out of bounds is left out
// before it reaches a decoder or the resampler: the movie's pictures play at
// their moments, in silence.
TEST(Movies, ASoundStreamOutOfBoundsIsLeftOut) {
  struct Case {
    uint32_t rate;
    uint16_t channels;
  };
  for (const Case c : {Case{570434048, 2}, Case{385000, 2}, Case{999, 2}, Case{44100, 9}}) {
    SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " channels");
    GameDir game;
    AviSpec spec;
    spec.tone_hz = 440;
    std::string avi = MakeAvi(spec);
    ASSERT_TRUE(SetAviSoundShape(avi, c.rate, c.channels));
    game.WriteBytes("m.avi", avi);
    WriteGame(game, "mpegplay \"m.avi\",0");
    MovieRun r = RunMovies(game);
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<MovieFrame> frames = MovieFrames(r);
    ASSERT_EQ(frames.size(), 5u) << r.err;
    EXPECT_EQ(frames.back().ticks - frames.front().ticks, 400u);
  }
}

// A movie whose sound claims 570 million samples a second, made from a clean
// one, does not hold the run: the program given three seconds ends within
// twice that (a bound for a hang, not a measure of speed) and a stop signal
// in the middle of the movie playing in a loop ends it within two.
TEST(Movies, AnAbsurdSoundRateDoesNotHoldTheRun) {
  AviSpec spec;
  spec.frames = 2;
  spec.tone_hz = 440;
  std::string avi = MakeAvi(spec);
  ASSERT_TRUE(SetAviSoundShape(avi, 570434048, 2));
  {
    GameDir game;
    game.WriteBytes("m.avi", avi);
    WriteGame(game, "avi \"m.avi\",0");
    const auto start = std::chrono::steady_clock::now();
    RunResult r = RunProgram({"--headless", "--timeout", "3000", game.path()});
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(r.status == 0 || r.status == 3) << r.status << "\n" << r.err;
    EXPECT_LT(took, std::chrono::seconds(6));
  }
  {
    GameDir game;
    game.WriteBytes("m.avi", avi);
    WriteGame(game, "puttext \"playing\"\nmovie \"m.avi\",loop");
    const SignalledRun r = StopWithSignal(game, {ORIVANE_BINARY, "--headless", "--realtime", game.path()},
                                          {}, "playing", SIGTERM);
    EXPECT_EQ(r.status, 128 + SIGTERM) << r.err;
    EXPECT_LT(r.after_signal, std::chrono::seconds(2)) << r.err;
  }
}

// With noloaderror a missing movie plays nothing and says nothing.
TEST(Movies, NoloaderrorSkipsAMissingMovie) {
  for (const char* command :
       {"mpegplay \"gone.avi\",0", "avi \"gone.avi\",0", "movie \"gone.avi\",click"}) {
    SCOPED_TRACE(command);
    GameDir game;
    WriteGame(game, std::string(command) + "\nbg #ff0000,1", "noloaderror");
    MovieRun r = RunMovies(game);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(PixelAt(r.window, 320, 240), 0xFF0000u);
  }
}
#endif  // ORIVANE_TESTS_HAVE_FFMPEG

INSTANTIATE_TEST_SUITE_P(MovieArguments, ScriptErrors,
                         ::testing::Values(ErrorCase{"mpegplay2 $0,\"m.avi\",0", "構文エラー",
                                                     "mpegplay2の第一引数は数字変数です。"},
                                           ErrorCase{
                                               "movie \"m.avi\",bounce", "エラー",
                                               "movie命令に与えるパラメータが間違っています。"},
                                           ErrorCase{"mpegplay \"missing.avi\",0", "ロードエラー",
                                                     "ファイルmissing.aviを開けません。"},
                                           ErrorCase{"avi \"missing.avi\",0", "ロードエラー",
                                                     "ファイルmissing.aviを開けません。"},
                                           ErrorCase{"movie \"missing.mpg\",click", "ロードエラー",
                                                     "ファイルmissing.mpgを開けません。"}));

}  // namespace
}  // namespace orivane::test
