// Headless runs with a scripted player: the close question, click waits,
// timing with `after`, the end of input, and the menu commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "engine.h"
#include "shell/menu_bar.h"
#include "support/game_fixture.h"
#include "support/scripted_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

constexpr const char* kThreePages = "*define\ngame\n*start\n一頁目@\n二頁目\\\n三頁目@\nend\n";

bool Checked(const std::vector<MenuItem>& items, int32_t command, bool& found) {
  for (const MenuItem& m : items) {
    if (m.command == command) {
      found = true;
      return m.checked;
    }
    bool sub = Checked(m.children, command, found);
    if (found) return sub;
  }
  return false;
}

bool IsChecked(const Engine& e, int32_t command) {
  bool found = false;
  bool checked = Checked(e.shell.bar.items, command, found);
  EXPECT_TRUE(found) << command;
  return checked;
}

TEST(ScriptedPlay, CloseQuestionAnsweredNoCarriesOnAndYesEnds) {
  GameDir game;
  game.Write("0.txt", kThreePages);
  RunResult no = RunScripted(game, "close\nanswer no\nafter 1000 click 1 1\nclose\nanswer yes\n");
  EXPECT_EQ(no.status, 0) << no.err;
  EXPECT_EQ(no.out, "一頁目\n二頁目\n");
  EXPECT_NE(no.err.find("[終了確認] 終了しますか？ -> no"), std::string::npos) << no.err;
  EXPECT_NE(no.err.find("[終了確認] 終了しますか？ -> yes"), std::string::npos) << no.err;
}

TEST(ScriptedPlay, EndOfInputClicksThroughTextButEndsAtOtherWaits) {
  GameDir game;
  game.Write("0.txt", kThreePages);
  RunResult through = RunScripted(game, "move 3 3\n");
  EXPECT_EQ(through.status, 0) << through.err;
  EXPECT_EQ(through.out, "一頁目\n二頁目\n三頁目\n");

  RunResult at_box = RunScripted(game, "close\n");
  EXPECT_EQ(at_box.status, 0);
  EXPECT_EQ(at_box.out, "一頁目\n");
  EXPECT_NE(at_box.err.find("input.txt"), std::string::npos) << at_box.err;
  EXPECT_NE(at_box.err.find("line 1"), std::string::npos) << at_box.err;
  EXPECT_NE(at_box.err.find("0.txt line 4"), std::string::npos) << at_box.err;
}

TEST(ScriptedPlay, InputThatDoesNotFitTheWaitEndsWithStatusTwo) {
  GameDir game;
  game.Write("0.txt", kThreePages);
  RunResult answer_without_box = RunScripted(game, "answer yes\n");
  EXPECT_EQ(answer_without_box.status, 2);
  EXPECT_NE(answer_without_box.err.find("input.txt:1"), std::string::npos) << answer_without_box.err;
  RunResult click_at_box = RunScripted(game, "close\nclick 1 1\n");
  EXPECT_EQ(click_at_box.status, 2);
  EXPECT_NE(click_at_box.err.find("input.txt:2"), std::string::npos) << click_at_box.err;
}

// Each input is given after the typing of the first page (a click during
// typing only shows the rest at once).
TEST(ScriptedPlay, WhatEndsAClickWait) {
  struct Case {
    const char* input;
    const char* out;
  } cases[] = {
      {"after 1000 click 5 5\nclose\nanswer yes\n", "一頁目\n二頁目\n"},
      {"after 1000 key space\nclose\nanswer yes\n", "一頁目\n二頁目\n"},
      {"after 1000 key enter\nclose\nanswer yes\n", "一頁目\n二頁目\n"},
      {"after 1000 key x\nmove 1 1\nwheel 1\nclose\nanswer yes\n", "一頁目\n"},
      // "n" skips: the waits no longer stop, the close is never read.
      {"after 1000 key n\nclose\nanswer yes\n", "一頁目\n二頁目\n三頁目\n"},
      {"after 1000 menu 40006\nclose\nanswer yes\n", "一頁目\n二頁目\n三頁目\n"},
  };
  GameDir game;
  game.Write("0.txt", kThreePages);
  for (const Case& c : cases) {
    RunResult r = RunScripted(game, c.input);
    EXPECT_EQ(r.status, 0) << c.input << r.err;
    EXPECT_EQ(r.out, c.out) << c.input;
  }
}

TEST(ScriptedPlay, AfterWaitsOnTheEngineClock) {
  GameDir game;
  game.Write("0.txt", kThreePages);
  // The click comes 5 s into the click wait; the virtual clock gets there at once.
  RunResult late = RunScripted(game, "after 5000 click 1 1\nclose\nanswer yes\n");
  EXPECT_EQ(late.status, 0) << late.err;
  EXPECT_EQ(late.out, "一頁目\n二頁目\n");
  // With a 3 s timeout the click never comes.
  RunResult timed_out = RunScripted(game, "after 5000 click 1 1\nclose\nanswer yes\n", {}, 3000);
  EXPECT_EQ(timed_out.status, 3) << timed_out.err;
  EXPECT_EQ(timed_out.out, "一頁目\n");
}

TEST(ScriptedPlay, ResetQuestionRestartsTheGame) {
  GameDir game;
  game.Write("0.txt", kThreePages);
  RunResult r = RunScripted(game, "menu 40028\nanswer yes\nclose\nanswer yes\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "一頁目\n一頁目\n");
  RunResult no = RunScripted(game, "menu 40028\nanswer no\nclose\nanswer yes\n");
  EXPECT_EQ(no.out, "一頁目\n");
}

TEST(ScriptedPlay, MenuCommandsChangeSettingsAndMoveTheirCheckMarks) {
  using namespace menu_id;
  struct Case {
    int32_t command;
    std::function<bool(const Engine&)> setting;
    std::vector<int32_t> checked, unchecked;
  } cases[] = {
      {kTextSlow, [](const Engine& e) { return e.shell.settings.text_speed == 0; }, {kTextSlow}, {kTextNormal, kTextFast}},
      {kTextFast, [](const Engine& e) { return e.shell.settings.text_speed == 2; }, {kTextFast}, {kTextSlow, kTextNormal}},
      {kClickPage, [](const Engine& e) { return e.shell.settings.page_mode; }, {kClickPage}, {kClickDefault}},
      {kSoundOff, [](const Engine& e) { return !e.shell.settings.sound_on; }, {kSoundOff}, {kSoundOn}},
      {kCdOff, [](const Engine& e) { return !e.shell.settings.cd_on; }, {kCdOff}, {kCdOn}},
      {kFullScreen, [](const Engine& e) { return e.shell.full_screen; }, {kFullScreen}, {kWindow}},
      {kAuto, [](const Engine& e) { return e.shell.settings.auto_mode; }, {}, {}},
      {kReadSkipOn, [](const Engine& e) { return e.read_flags.read_only_skip; }, {}, {}},
      {40009, [](const Engine& e) { return e.shell.checked_font_item == kDefaultFont; }, {kDefaultFont}, {}},
  };
  GameDir game;
  game.Write("0.txt", kThreePages);
  for (const Case& c : cases) {
    // The input ends: the text is clicked through to `end`.
    std::string input = "menu " + std::to_string(c.command) + "\n";
    RunResult r = RunScripted(game, input, [&](Engine& e) {
      EXPECT_TRUE(c.setting(e)) << c.command;
      for (int32_t id : c.checked) EXPECT_TRUE(IsChecked(e, id)) << c.command << " " << id;
      for (int32_t id : c.unchecked) EXPECT_FALSE(IsChecked(e, id)) << c.command << " " << id;
    });
    EXPECT_EQ(r.status, 0) << c.command << r.err;
  }
}

TEST(ScriptedPlay, FontItemsChooseTheirFaceAndTheDefaultComesBack) {
  GameDir game;
  game.Write("0.txt", kThreePages);
  int32_t first_font = -1;
  RunScripted(game, "close\nanswer yes\n", [&](Engine& e) {
    for (int i = 0; i < kFontMenuCapacity && first_font < 0; ++i)
      if (!e.shell.font_table[i].empty()) first_font = i;
  });
  if (first_font < 0) GTEST_SKIP() << "no fixed-pitch Japanese font installed";
  std::string pick = "menu " + std::to_string(first_font) + "\n";
  RunScripted(game, pick + "close\nanswer yes\n", [&](Engine& e) {
    EXPECT_EQ(e.shell.checked_font_item, first_font);
    EXPECT_TRUE(IsChecked(e, first_font));
    EXPECT_FALSE(IsChecked(e, menu_id::kDefaultFont));
    EXPECT_EQ(e.shell.current_font, Utf8ToSjis(e.shell.font_table[first_font]));
  });
  RunScripted(game, pick + "menu 40004\nclose\nanswer yes\n", [&](Engine& e) {
    EXPECT_TRUE(IsChecked(e, menu_id::kDefaultFont));
    EXPECT_FALSE(IsChecked(e, first_font));
    EXPECT_EQ(e.shell.current_font, Utf8ToSjis("ＭＳ ゴシック"));
  });
}

TEST(ScriptedPlay, AltEnterTogglesTheScreenUnlessTheCaptionSaysKvr7) {
  GameDir game;
  // Every run starts in a window: the screen mode a run leaves in "envdata"
  // for the next one is taken away before it.
  auto run = [&game](const char* input, const std::function<void(Engine&)>& inspect) {
    std::filesystem::remove(game.path() + "/envdata");
    return RunScripted(game, input, inspect);
  };
  game.Write("0.txt", "*define\ncaption \"My game\"\ngame\n*start\n頁@\nend\n");
  run("menu 40029\n", [](Engine& e) { EXPECT_TRUE(e.shell.full_screen); });
  run("menu 40029\nmenu 40029\nclose\nanswer yes\n", [](Engine& e) { EXPECT_FALSE(e.shell.full_screen); });
  // As keys: the Enter of Alt+Enter does not click through the text.
  RunResult keys = run("keydown alt\nkey enter\nkeyup alt\nclose\nanswer yes\n",
                       [](Engine& e) { EXPECT_TRUE(e.shell.full_screen); });
  EXPECT_NE(keys.err.find("終了しますか？ -> yes"), std::string::npos) << keys.err;
  game.Write("0.txt", "*define\ncaption \"KVR7 game\"\ngame\n*start\n頁@\nend\n");
  run("menu 40029\nclose\nanswer yes\n", [](Engine& e) { EXPECT_FALSE(e.shell.full_screen); });
}

TEST(ScriptedPlay, VersionBoxShowsTheVersionOrTheScriptsText) {
  GameDir game;
  game.Write("0.txt", kThreePages);
  RunResult plain = RunScripted(game, "menu 40005\nanswer ok\nclose\nanswer yes\n");
  EXPECT_NE(plain.err.find("[バージョン情報] Orivane Version 2.67\n"), std::string::npos) << plain.err;
  game.Write("0.txt", "*define\nversionstr \"私のゲーム 1.0\",\"作者\"\ngame\n*start\n頁@\nend\n");
  RunResult replaced = RunScripted(game, "menu 40005\nanswer ok\nclose\nanswer yes\n");
  EXPECT_NE(replaced.err.find("[バージョン情報] 私のゲーム 1.0\n作者 -> ok"), std::string::npos) << replaced.err;
}

TEST(ScriptedPlay, DebugModeVersionItemEditsAVariable) {
  GameDir game;
  game.Write("0.txt", kThreePages);
  game.WriteBytes("probe.527", "");
  RunResult r = RunScripted(game, "menu 40005\ntext 12\ntext x5\nanswer ok\ntext -345\nclose\nanswer yes\n",
                            [](Engine& e) { EXPECT_EQ(e.vars.Num(12), -345); });
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.err.find("[数値入力] 数値を入力してください。"), std::string::npos) << r.err;
}

// The menu offers its settings dialogs, and the volume item opens its dialog.
TEST(ScriptedPlay, TheMenuOffersItsSettingsDialogs) {
  GameDir game;
  game.Write("0.txt", kThreePages);
  int offered = 0;
  RunResult r = RunScripted(game, "menu 40024\nanswer ok\nclose\nanswer yes\n", [&](Engine& e) {
    std::function<void(const std::vector<MenuItem>&)> walk = [&](const std::vector<MenuItem>& items) {
      for (const MenuItem& m : items) {
        if (m.command == menu_id::kVolume || m.command == menu_id::kCdDrive) {
          EXPECT_TRUE(m.enabled) << m.label;
          ++offered;
        }
        walk(m.children);
      }
    };
    walk(e.shell.bar.items);
  });
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(offered, 2);
  EXPECT_NE(r.err.find("[ボリュームの設定] -> 0 0 0"), std::string::npos) << r.err;
}

}  // namespace
}  // namespace orivane::test
