// The waits built on message pumping: timed waits and what ends them, and
// the heartbeat that runs while the engine sleeps.
#include "shell/pump.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine.h"
#include "player_waits.h"
#include "platform/headless/headless_platform.h"

namespace orivane {
namespace {

class Waits : public ::testing::Test {
 protected:
  void Play(const char* input) {
    ScriptedPlayer player;
    std::string error;
    ASSERT_TRUE(player.Parse("in.txt", input, error)) << error;
    platform_.SetPlayer(std::move(player));
  }
  std::ostringstream out_, err_;
  HeadlessPlatform platform_{out_, err_};
  Engine engine_{platform_};
};

TEST_F(Waits, TimedWaitEndsEarlyOnlyForWhatItAccepts) {
  Play("after 100 click 1 1\nafter 100 keydown enter\nafter 100 keyup enter\n");
  // Not clickable: the click does not end it, Enter pressed and released does.
  EXPECT_TRUE(TimedWait(engine_, 1000, false));
  EXPECT_EQ(platform_.Ticks(), 300u);
}

TEST_F(Waits, ClickableTimedWaitEndsAtTheClick) {
  Play("after 100 click 1 1\n");
  EXPECT_TRUE(TimedWait(engine_, 1000, true));
  EXPECT_EQ(platform_.Ticks(), 100u);
  EXPECT_FALSE(TimedWait(engine_, 1000, true));
  EXPECT_EQ(platform_.Ticks(), 1100u);
}

TEST_F(Waits, SkipKeyAndSkipModeEndClickableWaitsAtOnce) {
  Play("keydown ctrl\n");
  EXPECT_TRUE(TimedWait(engine_, 1000, true));
  EXPECT_EQ(platform_.Ticks(), 0u);
  EXPECT_TRUE(SkipKeyHeld(engine_));
  engine_.shell.skip_key_needs_alt = true;  // `ctrlalt`
  EXPECT_FALSE(SkipKeyHeld(engine_));
  engine_.read_flags.skip_mode = true;
  EXPECT_TRUE(TimedWait(engine_, 1000, true));
  EXPECT_EQ(platform_.Ticks(), 0u);
}

TEST_F(Waits, ResetRequestEndsWaits) {
  Play("after 100 menu 40028\nanswer yes\n");
  EXPECT_TRUE(TimedWait(engine_, 1000, false));
  EXPECT_EQ(platform_.Ticks(), 100u);
}


TEST_F(Waits, HeartbeatTicksEveryThirtyMillisecondsWhileWaiting) {
  Play("");
  engine_.vars.SetNum(0, 0);
  engine_.shell.heartbeat.hooks.push_back([](Engine& e) { e.vars.SetNum(0, e.vars.Num(0) + 1); });
  engine_.shell.heartbeat.running = true;
  engine_.shell.heartbeat.next_tick = 30;
  EXPECT_FALSE(TimedWait(engine_, 300, false));
  EXPECT_EQ(engine_.vars.Num(0), 10);
  // A modal box pauses it.
  engine_.shell.heartbeat.running = false;
  EXPECT_FALSE(TimedWait(engine_, 300, false));
  EXPECT_EQ(engine_.vars.Num(0), 10);
}

}  // namespace
}  // namespace orivane
