// The demo game that the README's run command starts plays to its end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/audio_capture.h"
#include "support/game_fixture.h"

namespace orivane::test {
namespace {

// Each test runs its own copy of the demo: two runs on one game directory
// would meet the engine's single-instance lock.
void CopyDemo(const GameDir& game) {
  std::filesystem::copy(ORIVANE_SOURCE_DIR "/examples/demo", game.path(), std::filesystem::copy_options::recursive);
}

// The player's decisions only: the text waits before them are clicked
// through. The first round takes the lamp room and the menu's "again", the
// second the harbour and "go on".
TEST(Demo, PlaysToTheEndHeadlessThroughBothBranches) {
  GameDir game;
  CopyDemo(game);
  game.WriteBytes("input.txt", "choose 1\nbutton 1\nchoose 2\nbutton 2\n");
  RunResult r = RunProgram({"--headless", "--timeout", "60000", "--input", game.path() + "/input.txt", game.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  const size_t lamp = r.out.find("灯りの下から、夜の港が見渡せた。");
  const size_t harbour = r.out.find("港では、船が静かに揺れていた。");
  ASSERT_NE(lamp, std::string::npos) << r.out;
  ASSERT_NE(harbour, std::string::npos) << r.out;
  EXPECT_LT(lamp, harbour);
  EXPECT_NE(r.out.find("――おしまい。"), std::string::npos) << r.out;
}

// Without input the run ends at the first choice (status 0, as at every
// wait for the player when the input has ended).
TEST(Demo, EndsAtTheChoiceWithoutInput) {
  GameDir game;
  CopyDemo(game);
  RunResult r = RunProgram({"--headless", "--timeout", "60000", game.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("どこへ向かいますか。"), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("――おしまい。"), std::string::npos) << r.out;
}

// A player who clicks at once, while the first transition still runs: the
// click is taken during the fade and the story goes on to its end.
TEST(Demo, PlaysToTheEndWithAClickDuringTheFirstFade) {
  GameDir game;
  CopyDemo(game);
  game.WriteBytes("input.txt", "click 100 100\nchoose 2\nbutton 2\n");
  RunResult r = RunProgram({"--headless", "--timeout", "60000", "--input", game.path() + "/input.txt", game.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("――おしまい。"), std::string::npos) << r.out;
}


// Stopped at its first click wait, the demo shows its first line typed in the
// window at the bottom of the screen: white ink on the window's darker tint.
TEST(Demo, ShowsItsStoryInTheWindow) {
  GameDir game;
  CopyDemo(game);
  game.WriteBytes("input.txt", "after 100000 click 1 1\n");
  RunResult r = RunProgram({"--headless", "--timeout", "5000", "--input", game.path() + "/input.txt",
                            "--screenshot", game.path() + "/shot.bmp", game.path()});
  ASSERT_EQ(r.status, 3) << r.err;
  const Screenshot shot(game.ReadBytes("shot.bmp"), 640, 480);
  ASSERT_TRUE(shot.Complete());
  auto pixel = [&](int x, int y) { return shot.Pixel(x, y); };
  int white = 0;
  for (int y = 358; y < 380; ++y)
    for (int x = 44; x < 340; ++x) white += pixel(x, y) == 0xFFFFFF;
  EXPECT_GT(white, 100);
  // The frame starts at y 340: inside it every channel is darker.
  const uint32_t outside = pixel(600, 335), inside = pixel(600, 345);
  for (int shift : {0, 8, 16}) EXPECT_LT((inside >> shift) & 0xFF, (outside >> shift) & 0xFF) << shift;
}

// Past the shake, the gauge has filled: its bar across the width it was
// given, its number beside it in white, the sky around them untouched.
TEST(Demo, ShowsItsGaugeFilled) {
  GameDir game;
  CopyDemo(game);
  RunResult r = RunProgram({"--headless", "--timeout", "23000", "--screenshot", game.path() + "/shot.bmp", game.path()});
  ASSERT_EQ(r.status, 3) << r.err;
  ASSERT_NE(r.out.find("灯りの強さがゲージと数字で表示されています。"), std::string::npos) << r.out;
  const Screenshot shot(game.ReadBytes("shot.bmp"), 640, 480);
  ASSERT_TRUE(shot.Complete());
  for (int x : {40, 200, 339}) EXPECT_EQ(shot.Pixel(x, 306), 0xFFD080u) << x;
  EXPECT_NE(shot.Pixel(340, 306), 0xFFD080u);
  // The sky there has little blue; the number's white ink (smoothed at its
  // edges) has much.
  int ink = 0;
  for (int y = 296; y < 312; ++y)
    for (int x = 350; x < 374; ++x) ink += (shot.Pixel(x, y) & 0xFF) > 0xC0;
  EXPECT_GT(ink, 20);
  EXPECT_LT(shot.Pixel(390, 304) & 0xFF, 0xC0u);
}

// The ending movie plays over the last page: stopped twice during it, the
// screen shows its sky brightening as the sun rises, and the movie was
// played, not refused.
TEST(Demo, EndsWithItsMovie) {
  uint32_t sky[2] = {};
  for (int i = 0; i < 2; ++i) {
    GameDir game;
    CopyDemo(game);
    game.WriteBytes("input.txt", "choose 1\nbutton 1\nchoose 2\nbutton 2\n");
    // The last page's voice is heard (through the silent driver), so the
    // page lasts as long as it does for a player.
    const char* moment = i == 0 ? "28200" : "29700";
    RunResult r = RunProgram({"--headless", "--timeout", moment, "--input", game.path() + "/input.txt",
                              "--screenshot", game.path() + "/shot.bmp", game.path()},
                             {"SDL_AUDIODRIVER=dummy"});
    ASSERT_EQ(r.status, 3) << r.err;
    EXPECT_EQ(r.err.find("cannot play the movie"), std::string::npos) << r.err;
    ASSERT_NE(r.out.find("デモはここまでです。"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("――おしまい。"), std::string::npos) << r.out;
    const Screenshot shot(game.ReadBytes("shot.bmp"), 640, 480);
    ASSERT_TRUE(shot.Complete());
    sky[i] = shot.Pixel(320, 50);
  }
  EXPECT_GT(static_cast<int>(sky[1] >> 16), static_cast<int>(sky[0] >> 16) + 60)
      << std::hex << sky[0] << " " << sky[1];
}

// The screen painted with the draw commands lasts its one page: the menu of
// two text sprites that comes later, and the ending around its movie, show
// the scene whole. Where the menu's sprites stand, the picture at the last
// page is the one the player saw there at the first choice, before they came.
TEST(Demo, ItsMenuLeavesNoHoleInThePicture) {
  struct Stop {
    const char* input;  // the player's decisions ("": none; the run ends at the first choice)
    const char* page;   // the text on the screen then
  };
  const Stop stops[2] = {{"", "どこへ向かいますか。"}, {"choose 1\nbutton 1\nchoose 2\nbutton 2\n", "――おしまい。"}};
  std::vector<Screenshot> shots;
  for (const Stop& stop : stops) {
    GameDir game;
    CopyDemo(game);
    std::vector<std::string> args = {"--headless", "--timeout", "60000", "--screenshot", game.path() + "/shot.bmp"};
    if (*stop.input) {
      game.WriteBytes("input.txt", stop.input);
      args.insert(args.end(), {"--input", game.path() + "/input.txt"});
    }
    args.push_back(game.path());
    RunResult r = RunProgram(args);
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_NE(r.out.find(stop.page), std::string::npos) << r.out;
    shots.emplace_back(game.ReadBytes("shot.bmp"), 640, 480);
    ASSERT_TRUE(shots.back().Complete());
  }
  // "もう一度選ぶ" and "先へ進む": 24-pixel characters at (220, 160) and (220, 210).
  struct Area {
    int left, top, right, bottom;
  };
  int differing = 0;
  for (const Area& a : {Area{220, 160, 364, 184}, Area{220, 210, 316, 234}})
    for (int y = a.top; y < a.bottom; ++y)
      for (int x = a.left; x < a.right; ++x) differing += shots[0].Pixel(x, y) != shots[1].Pixel(x, y);
  EXPECT_EQ(differing, 0);
}

// Read text is remembered: after a first run up to the choice, the menu's
// skip passes all of it at once and stops at the choice, long before the
// time limit; in a game directory that has not been read, it does not start.
TEST(Demo, SkipsWhatWasReadOnItsSecondRun) {
  GameDir read_before, never_read;
  CopyDemo(read_before);
  CopyDemo(never_read);
  ASSERT_EQ(RunProgram({"--headless", "--timeout", "60000", read_before.path()}).status, 0);
  ASSERT_FALSE(read_before.ReadBytes("kidoku.dat").empty());
  for (const GameDir* game : {&read_before, &never_read}) {
    game->WriteBytes("input.txt", "menu 40006\n");
    // Unread, the story takes about 24 s of the engine clock to the choice;
    // skipped, a moment. The limit is wall time as well, so it leaves room
    // for a slow machine.
    RunResult r =
        RunProgram({"--headless", "--timeout", "15000", "--input", game->path() + "/input.txt", game->path()});
    if (game == &read_before) {
      EXPECT_EQ(r.status, 0) << r.err;
      EXPECT_NE(r.out.find("どこへ向かいますか。"), std::string::npos) << r.out;
    } else {
      EXPECT_EQ(r.status, 3) << r.err;
    }
  }
}

// The system menu saves at the second page in a first run; in a second run
// its load menu brings that page back right after the first line.
TEST(Demo, SavesAndLoadsThroughTheSystemMenu) {
  GameDir game;
  CopyDemo(game);
  // Menu entry 1 (セーブ), the first slot, はい.
  game.WriteBytes("save.txt", "after 5000 click 1 1\nafter 5000 click 1 1\nafter 5000 rclick 1 1\n"
                              "choose 1\nchoose 1\nchoose 1\n");
  RunResult first =
      RunProgram({"--headless", "--timeout", "60000", "--input", game.path() + "/save.txt", game.path()});
  ASSERT_EQ(first.status, 0) << first.err;
  ASSERT_FALSE(game.ReadBytes("save1.dat").empty());
  // Menu entry 2 (ロード), the first slot that has a file, はい.
  game.WriteBytes("load.txt", "after 5000 rclick 1 1\nchoose 2\nchoose 1\nchoose 1\n");
  RunResult second =
      RunProgram({"--headless", "--timeout", "60000", "--input", game.path() + "/load.txt", game.path()});
  ASSERT_EQ(second.status, 0) << second.err;
  EXPECT_EQ(second.out.rfind("これはOrivaneのデモです。\nメニューの「画面」から全画面に切り替えられます。\n", 0), 0u)
      << second.out;
}

// Two clicks pass the first page; the wheel turned up at the next wait
// shows that page again in the back-log's yellow, and the run ends there,
// in the viewer.
TEST(Demo, ShowsTheFirstPageInTheBackLog) {
  GameDir game;
  CopyDemo(game);
  game.WriteBytes("input.txt", "after 5000 click 1 1\nafter 5000 click 1 1\nafter 5000 wheel 1\n");
  RunResult r = RunProgram({"--headless", "--timeout", "60000", "--input", game.path() + "/input.txt",
                            "--screenshot", game.path() + "/shot.bmp", game.path()});
  ASSERT_EQ(r.status, 0) << r.err;
  const Screenshot shot(game.ReadBytes("shot.bmp"), 640, 480);
  ASSERT_TRUE(shot.Complete());
  int yellow = 0;
  for (int y = 350; y < 460; ++y)
    for (int x = 44; x < 600; ++x) {
      yellow += shot.Pixel(x, y) == 0xFFFF40;
    }
  EXPECT_GT(yellow, 100);
  // The viewer's page is not story text: the transcript ends with the third line.
  EXPECT_EQ(r.out.find("「Alt+Enter」"), std::string::npos) << r.out;
}

// The demo's music starts on its first page: a run heard through the disk
// driver is not silent, and nothing about sound goes to standard error.
TEST(Demo, PlaysItsMusic) {
  GameDir game;
  CopyDemo(game);
  const std::string out = game.path() + "/out.raw";
  RunResult r = RunProgram({"--headless", "--realtime", "--timeout", "4000", game.path()},
                           {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + out});
  EXPECT_EQ(r.status, 3) << r.err;  // stopped by the time-out on the first pages
  EXPECT_EQ(r.err.find("sound"), std::string::npos) << r.err;
  const auto [first, last] = SoundingFrames(ReadDiskAudio(out));
  EXPECT_GT(last - first, static_cast<size_t>(kCaptureRate));
}

}  // namespace
}  // namespace orivane::test
