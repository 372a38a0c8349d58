// Auto mode in whole runs: once the player turns it on (menu 40019), click
// and page waits end by themselves after the auto-mode delay, a fixed time
// or a time per character of the text just printed, counted on the engine
// clock from the start of each wait; a click only turns the mode off.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text_window_run.h"

namespace orivane::test {
namespace {

// Typed at once, so that every wait starts when its text was given.
constexpr const char* kInstantWindow = "automode\nsetwindow 10,10,10,4,10,10,0,2,0,0,0,#ffffff,0,0,319,239\n";

TEST(AutoMode, WaitsEndByThemselvesAtTheDelay) {
  struct Case {
    const char* name;
    const char* define;
    const char* body;
    const char* input;
    uint32_t end_ticks;
  };
  const std::vector<Case> cases = {
      {"the default delay is a second", "", "一@\n二", "menu 40019\n", 1000},
      {"a fixed delay", "automode_time 500\n", "一@\n二", "menu 40019\n", 500},
      {"a page wait too", "automode_time 500\n", "一\\\n二", "menu 40019\n", 500},
      {"each wait counts from its own start", "automode_time 200\n", "一@二@\n三", "menu 40019\n", 400},
      {"a delay per character of the text printed", "automode_time -100\n", "一二三@\n四", "menu 40019\n", 300},
      {"automode_time2 sets the delay as well", "automode_time2 100,700,2000\n", "一@\n二", "menu 40019\n",
       700},
      {"a click turns auto mode off and does not end the wait", "automode_time 500\n", "一@\n二",
       "menu 40019\nafter 100 click 1 1\nafter 1000 click 1 1\n", 1100},
      {"skipoff turns it off", "automode_time 500\n", "一@\nskipoff\n二@\n三",
       "menu 40019\nafter 2000 click 1 1\n", 2000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GameDir game;
    game.Write("0.txt", SmallGame(std::string(kInstantWindow) + c.define, c.body));
    uint32_t ticks = 0;
    TextRun r = RunTextGame(game, [&](Engine& e) { ticks = e.platform.Ticks(); }, {}, RunWith(nullptr, c.input));
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(ticks, c.end_ticks);
  }
}

}  // namespace
}  // namespace orivane::test
