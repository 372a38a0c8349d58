// The settings dialogs of the menu, answered by a scripted player: the
// volumes (and `delbgmvol`), the text and auto-mode speeds within their
// ranges, and the CD drive among the folders under cd/.
#include "shell/settings_dialogs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/scripted_run.h"

namespace orivane::test {
namespace {

// The menu command is taken at the wait; the values are printed after it.
constexpr const char* kPrintVolumes =
    "wait 100\ngetvoicevol %1\ngetsevol %2\ngetbgmvol %3\nitoa $1,%1\nitoa $2,%2\nitoa $3,%3\n$1\n$2\n$3\n";

TEST(SettingsDialogs, TheVolumeDialogSetsTheThreeLevels) {
  struct Case {
    const char* name;
    const char* define;
    const char* input;
    const char* out;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {"three levels", "", "menu 40024\ntext 10 20 30\n", "90\n80\n70\n", "[ボリュームの設定] -> 10 20 30"},
      {"kept within 0 … 100", "", "menu 40024\ntext -5 200 0\n", "100\n0\n100\n", "-> 0 100 0"},
      {"closed as they stand", "", "menu 40024\nanswer ok\n", "100\n100\n100\n", "-> 0 0 0"},
      {"delbgmvol leaves the music", "delbgmvol\n", "menu 40024\ntext 10 20 30\n", "90\n80\n100\n", "-> 10 20 30"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", std::string("*define\n") + c.define + "game\n*start\n" + kPrintVolumes + "end\n");
    RunResult r = RunScripted(game, c.input);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
    EXPECT_NE(r.err.find(c.shown), std::string::npos) << r.err;
  }
}

// A dialog chosen from the menu while a transition runs opens in the
// middle of it, takes its answer, and the transition then finishes.
TEST(SettingsDialogs, ADialogOpensDuringATransition) {
  GameDir game;
  game.Write("0.txt",
             "*define\ngame\n*start\nbg white,10,2000\ngetvoicevol %1\nitoa $1,%1\n$1\nend\n");
  RunResult r = RunScripted(game, "after 500 menu 40024\ntext 10 20 30\n");
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "90\n");
  EXPECT_NE(r.err.find("[ボリュームの設定] -> 10 20 30"), std::string::npos) << r.err;
}

TEST(SettingsDialogs, SpeedDialogsStayWithinTheirRanges) {
  struct Case {
    const char* name;
    const char* define;
    const char* input;
    int32_t text_speed;
    int32_t auto_ms;
  };
  const std::vector<Case> cases = {
      {"text speed", "settextspeed 10,50\n", "menu 40030\ntext 30\n", 30, 1000},
      {"text speed past the range", "settextspeed 10,50\n", "menu 40030\ntext 99\n", 50, 1000},
      {"text speed cancelled", "settextspeed 10,50\n", "menu 40030\nanswer cancel\n", 20, 1000},
      {"auto speed", "automode_time2 500,1000,3000\n", "menu 40031\ntext 2500\n", 20, 2500},
      {"auto speed below its range", "automode_time2 500,1000,3000\n", "menu 40031\ntext 0\n", 20, 500},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", std::string("*define\n") + c.define + "game\n*start\nwait 100\nend\n");
    int32_t text_speed = -1, auto_ms = -1;
    RunResult r = RunScripted(game, c.input, [&](Engine& e) {
      text_speed = e.text.speed;
      auto_ms = e.text_out.auto_mode_ms;
    });
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(text_speed, c.text_speed);
    EXPECT_EQ(auto_ms, c.auto_ms);
  }
}

TEST(SettingsDialogs, TheCdDriveDialogOffersTheTrackFolders) {
  GameDir game;
  for (const char* dir : {"cd/disc2", "cd/empty", "cd/b-side"}) std::filesystem::create_directories(game.path() + "/" + dir);
  game.WriteBytes("cd/disc2/track01.wav", "x");
  game.WriteBytes("cd/b-side/track02.ogg", "x");
  game.Write("0.txt", "*define\ngame\n*start\nwait 100\nwait 100\nend\n");
  std::string drive = "?";
  RunResult r = RunScripted(game, "menu 40020\ntext disc2\n", [&](Engine& e) { drive = e.sound.cd.drive; });
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(drive, "disc2");
  // Chosen again, the drive of before is the one selected; デフォルト goes back to cd/.
  RunResult back = RunScripted(game, "menu 40020\nanswer ok\nmenu 40020\ntext デフォルト\n",
                               [&](Engine& e) { drive = e.sound.cd.drive; });
  ASSERT_EQ(back.status, 0) << back.err;
  EXPECT_NE(back.err.find("[ＣＤドライブ選択] -> disc2"), std::string::npos) << back.err;
  EXPECT_EQ(drive, "");
  // A folder without tracks is not offered.
  RunResult none = RunScripted(game, "menu 40020\ntext empty\n");
  EXPECT_EQ(none.status, 2) << none.err;
}

}  // namespace
}  // namespace orivane::test
