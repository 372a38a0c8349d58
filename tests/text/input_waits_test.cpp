// The plain waits for the player and the clock in whole runs: how long each
// wait lasts on the headless clock and what ends it, what the click waits
// hand back, the pointer and the left button, and the errors of their
// arguments.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "script/execute.h"
#include "shell/window_events.h"
#include "support/engine_fixture.h"
#include "support/script_cases.h"
#include "text_window_run.h"
#include "util/sjis.h"

namespace orivane::test {
namespace {

struct TimingCase {
  const char* name;
  const char* body;   // runs between `resettimer` and `gettimer %0`
  const char* input;  // the scripted player
  int32_t elapsed;    // %0: milliseconds the body took
};

TEST(InputWaits, EachWaitTakesExactlyItsTimeOnTheEngineClock) {
  const std::vector<TimingCase> cases = {
      {"wait runs its time", "wait 500", "", 500},
      {"a click does not end wait", "wait 500", "after 100 click 1 1\n", 500},
      {"a negative wait takes no time", "wait -5", "", 0},
      {"delay runs to its end without a player", "delay 1000", "", 1000},
      {"a click ends delay", "delay 1000", "after 200 click 1 1\n", 200},
      {"Enter pressed and released ends delay", "delay 1000", "after 300 key enter\n", 300},
      {"the skip key ends delay", "delay 1000", "after 150 keydown ctrl\n", 150},
      {"a right click does not end delay", "delay 1000", "after 100 rclick 1 1\n", 1000},
      {"waittimer waits until the stopwatch reaches its time", "wait 200\nwaittimer 700", "", 700},
      {"waittimer past its time does not wait", "wait 900\nwaittimer 700", "", 900},
      {"click ends at the click", "click", "after 250 click 1 1\n", 250},
      {"a right click does not end click", "click", "after 100 rclick 1 1\nafter 100 click 1 1\n",
       200},
      {"Space ends click", "click", "after 40 key space\n", 40},
      {"click without a player clicks at once", "wait 30\nclick", "", 30},
      {"the input ended: click at once", "click", "after 60 move 1 1\n", 60},
      {"lrclick ends at a right click", "lrclick", "after 80 rclick 1 1\n", 80},
  };
  for (const TimingCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame("", std::string("resettimer\n") + c.body + "\ngettimer %0"));
    int32_t elapsed = -1;
    TextRun r = RunTextGame(
        game, [&](Engine& e) { elapsed = e.vars.Num(0); }, {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(elapsed, c.elapsed);
  }
}

// gettimer counts from resettimer, not from the start of the run.
TEST(InputWaits, TheStopwatchCountsFromResettimer) {
  GameDir game;
  game.Write("0.txt",
             SmallGame("", "wait 300\nresettimer\nwait 120\ngettimer %0\nwait 5\ngettimer %1"));
  std::vector<int32_t> seen;
  TextRun r = RunTextGame(game, [&](Engine& e) { seen = {e.vars.Num(0), e.vars.Num(1)}; });
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(seen, (std::vector<int32_t>{120, 125}));
}

struct ClickResultCase {
  const char* name;
  const char* body;
  const char* input;
  std::vector<int32_t> vars;  // %0, %1
};

TEST(InputWaits, ClickWaitsHandBackWhichButtonAndWhere) {
  const std::vector<ClickResultCase> cases = {
      {"lrclick: 1 for a left click",
       "mov %0,7\nlrclick\ngetret %0",
       "after 10 click 1 1\n",
       {1, 0}},
      {"lrclick: 0 for a right click",
       "mov %0,7\nlrclick\ngetret %0",
       "after 10 rclick 1 1\n",
       {0, 0}},
      {"lrclick: the ended input clicks left", "mov %0,7\nlrclick\ngetret %0", "", {1, 0}},
      {"clickpos: where the click was",
       "clickpos %0,%1",
       "after 10 move 3 4\nafter 10 click 12 34\n",
       {12, 34}},
      {"clickpos: the ended input clicks at the pointer",
       "clickpos %0,%1",
       "move 56 78\n",
       {56, 78}},
      {"getmousepos: the pointer now", "wait 20\ngetmousepos %0,%1", "after 10 move 7 8\n", {7, 8}},
      {"getmousepos: a click moves the pointer too",
       "wait 20\ngetmousepos %0,%1",
       "after 10 click 9 11\n",
       {9, 11}},
      {"getmousepos takes what came since the last wait",
       "getmousepos %0,%1",
       "move 21 22\n",
       {21, 22}},
  };
  for (const ClickResultCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame("", c.body));
    std::vector<int32_t> vars;
    TextRun r = RunTextGame(
        game,
        [&](Engine& e) {
          vars = {e.vars.Num(0), e.vars.Num(1)};
        },
        {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(vars, c.vars);
  }
}

// The click a click wait ends on is used up: a trap armed before it does not
// see it afterwards.
TEST(InputWaits, ClickUsesUpItsClick) {
  GameDir game;
  game.Write("0.txt", SmallGame("", "trap *t\nclick\nmov %0,1\nend\n*t\nmov %0,2"));
  int32_t path = 0;
  TextRun r = RunTextGame(
      game, [&](Engine& e) { path = e.vars.Num(0); }, {}, RunWith(nullptr, "after 10 click 1 1\n"));
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(path, 1);
}

// `isdown` reads the left button as it is: held between its press and its
// release. The scripted player always releases at once, so the events are
// handed to the window procedure directly.
TEST(InputWaits, IsdownIsOneWhileTheLeftButtonIsHeld) {
  std::ostringstream out, err;
  HeadlessPlatform platform(out, err);
  Engine engine(platform);
  GameDir game;
  ScopedCurrentDir in_game(game.path());
  auto run = [&](const char* statement) {
    const std::string sjis = Utf8ToSjis(std::string(statement) + "\nend\n");
    engine.script.Assign(std::vector<uint8_t>(sjis.begin(), sjis.end()));
    engine.interp.ForgetCompiledScript();  // statements read from the script before
    try {
      ExecuteScript(engine, RunMode::kGame);
    } catch (const EngineExit&) {
    }
    return engine.vars.Num(0);
  };
  PlayerEvent press;
  press.kind = PlayerEvent::Kind::kButtonDown;
  PlayerEvent right = press;
  right.button = PointerButton::kRight;
  PlayerEvent release = press;
  release.kind = PlayerEvent::Kind::kButtonUp;

  EXPECT_EQ(run("mov %0,7\nisdown %0"), 0);
  HandlePlayerEvent(engine, press);
  EXPECT_EQ(run("isdown %0"), 1);
  HandlePlayerEvent(engine, right);  // another button changes nothing
  EXPECT_EQ(run("isdown %0"), 1);
  HandlePlayerEvent(engine, release);
  EXPECT_EQ(run("mov %0,7\nisdown %0"), 0);
}

// `clickvoice` (define block) keeps the two sounds for the sound subsystem.
TEST(InputWaits, ClickvoiceKeepsTheClickAndPageSounds) {
  GameDir game;
  game.Write("0.txt", SmallGame("clickvoice \"click.wav\",\"page.wav\"\n", ""));
  std::vector<std::string> voices;
  TextRun r = RunTextGame(game, [&](Engine& e) {
    voices = {e.text_out.click_voice, e.text_out.page_voice};
  });
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(voices, (std::vector<std::string>{"click.wav", "page.wav"}));
}

// Arguments that are no numeric variables are reported.
INSTANTIATE_TEST_SUITE_P(
    InputWaitArguments, ScriptErrors,
    ::testing::Values(ErrorCase{"clickpos %0,$1", "構文エラー", "clickposの第１，２引数は数字変数です。"},
                      ErrorCase{"getmousepos 1,%1", "構文エラー", "getmouseposの第１，２引数は数字変数です。"},
                      ErrorCase{"gettimer $0", "構文エラー", "gettimerの引数は数字変数です。"},
                      ErrorCase{"isdown 0", "構文エラー", "isdownの引数は数字変数です。"}));

}  // namespace
}  // namespace orivane::test
