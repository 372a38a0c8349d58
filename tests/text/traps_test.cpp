// Traps in whole runs: a click trap or a timer trap makes the script jump to
// its label before the next statement; `stop` holds the jump back until
// `resume`; `off` disarms; only one trap is armed at a time. The transcript
// shows which way the script went, the stopwatch when it went.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/script_cases.h"
#include "text_window_run.h"

namespace orivane::test {
namespace {

struct TrapCase {
  const char* name;
  const char* body;   // the game, after `textspeed 0` and `resettimer`
  const char* input;  // the scripted player
  const char* out;    // the transcript
};

// The label every case traps to: it tells the stopwatch and ends.
constexpr const char* kTrapLabels =
    "\n通過\nend\n"
    "*t\ngettimer %0\n時刻%0\nend\n"
    "*other\n他\nend";

TEST(Traps, JumpToTheirLabelOnlyWhenArmedAndFired) {
  const std::vector<TrapCase> cases = {
      {"a click during a wait jumps before the next statement", "trap *t\nwait 100\nwait 100",
       "after 50 click 1 1\n", "時刻１００\n"},
      {"no click, no jump", "trap *t\nwait 100\nwait 100", "", "通過\n"},
      {"off disarms", "trap *t\ntrap off\nwait 100", "after 50 click 1 1\n", "通過\n"},
      {"a label given as a string", "trap \"*t\"\nwait 100", "after 50 click 1 1\n",
       "時刻１００\n"},
      {"a click before the trap was armed is not for it", "wait 100\ntrap *t\nwait 100",
       "after 50 click 1 1\n", "通過\n"},
      {"the trap is forgotten once it jumped",
       "trap *again\nwait 100\n*again\n跳\nwait 100\nwait 100",
       "after 50 click 1 1\nafter 100 click 1 1\n", "跳\n通過\n"},
      {"a right click does not fire trap", "trap *t\nwait 100", "after 50 rclick 1 1\n", "通過\n"},
      {"a right click fires lr_trap", "lr_trap *t\nwait 100", "after 50 rclick 1 1\n",
       "時刻１００\n"},
      {"a right click fires r_trap", "r_trap *t\nwait 100", "after 50 rclick 1 1\n",
       "時刻１００\n"},
      {"a left click fires r_trap too", "r_trap *t\nwait 100", "after 50 click 1 1\n",
       "時刻１００\n"},
      {"a right click fires lr_trap2", "lr_trap2 *t\nwait 100", "after 50 rclick 1 1\n",
       "時刻１００\n"},
      {"skip mode fires trap2", "trap2 *t\nwait 100", "after 50 key n\n", "時刻１００\n"},
      {"skip mode does not fire trap", "trap *t\nwait 100", "after 50 key n\n", "通過\n"},
      {"a text wait uses its click up", "trap *t\n一@\nwait 100", "after 50 click 1 1\n",
       "一\n通過\n"},
      {"the timer trap jumps at the first statement after its time",
       "timertrap *t,250\nwait 100\nwait 100\nwait 100\nwait 100", "", "時刻３００\n"},
      {"timertrap off disarms", "timertrap *t,50\ntimertrap off\nwait 100", "", "通過\n"},
      {"arming the timer trap disarms the click trap", "trap *other\ntimertrap *t,1000\nwait 100",
       "after 50 click 1 1\n", "通過\n"},
      {"arming the click trap disarms the timer trap",
       "timertrap *other,50\ntrap *t\nwait 100\nwait 100", "after 150 click 1 1\n", "時刻２００\n"},
  };
  for (const TrapCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt",
               SmallGame("", std::string("textspeed 0\nresettimer\n") + c.body + kTrapLabels));
    TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
}

// `stop` remembers a firing; `resume` jumps then, and only then.
TEST(Traps, StoppedTrapsJumpAtResume) {
  const std::vector<TrapCase> cases = {
      {"a click while stopped jumps at resume",
       "trap *t\ntrap stop\nwait 100\n保留\nwait 50\ntrap resume", "after 50 click 1 1\n",
       "保留\n時刻１５０\n"},
      {"resume without a click goes on", "trap *t\ntrap stop\nwait 100\ntrap resume", "", "通過\n"},
      {"resumed, the trap is armed again", "trap *t\ntrap stop\ntrap resume\nwait 100\nwait 100",
       "after 50 click 1 1\n", "時刻１００\n"},
      {"a timer that ran out while stopped jumps at resume",
       "timertrap *t,100\ntimertrap stop\nwait 300\n保留\ntimertrap resume", "",
       "保留\n時刻３００\n"},
      {"a timer still running at resume goes on",
       "timertrap *t,500\ntimertrap stop\nwait 100\ntimertrap resume\nwait 100", "", "通過\n"},
      {"a stopped timer still jumps after resume",
       "timertrap *t,150\ntimertrap stop,0\nwait 100\ntimertrap resume\nwait 100\nwait 100", "",
       "時刻２００\n"},
  };
  for (const TrapCase& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt",
               SmallGame("", std::string("textspeed 0\nresettimer\n") + c.body + kTrapLabels));
    TextRun r = RunTextGame(game, {}, {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, c.out);
  }
}

// Wrong words are reported with the engine's messages.
constexpr const char* kClickTrapWords = "trap命令のパラメータは、offもしくは*ラベル名もしくはstopもしくはresumeです。";
constexpr const char* kTimerTrapWords =
    "timertrap命令の第一パラメータは、offもしくは*ラベル名もしくはstopもしくはresumeです。";
INSTANTIATE_TEST_SUITE_P(TrapWords, ScriptErrors,
                         ::testing::Values(ErrorCase{"trap start", "エラー", kClickTrapWords},
                                           ErrorCase{"lr_trap 5", "エラー", kClickTrapWords},
                                           ErrorCase{"r_trap \"t\"", "エラー", kClickTrapWords},
                                           ErrorCase{"trap2", "エラー", kClickTrapWords},
                                           ErrorCase{"timertrap later,100", "エラー", kTimerTrapWords},
                                           ErrorCase{"timertrap \"t\",100", "エラー", kTimerTrapWords}));

}  // namespace
}  // namespace orivane::test
