// The player's input while the screen changes: events that fall due during
// a transition or a `spwait` are taken and the clock moves on (a click during
// a fade is an ordinary thing), and the held skip key shortens transitions
// as skip mode does.
#include <gtest/gtest.h>

#include "engine.h"
#include "platform/platform.h"
#include "support/graphics_run.h"
#include "support/scripted_run.h"

namespace orivane::test {
namespace {

struct Timed {
  RunResult run;
  uint32_t ticks = 0;  // engine clock at the end
};

Timed RunTimed(const GameDir& game, const std::string& input) {
  Timed t;
  t.run = RunScripted(game, input, [&](Engine& e) { t.ticks = e.platform.Ticks(); }, 20000);
  return t;
}

TEST(TransitionInput, EventsDuringAFadeAreTakenAndTheFadeKeepsItsTime) {
  GameDir game;
  game.WriteBytes("x.bmp", MakeBmp24(8, 8, [](int, int) { return 0x3366CCu; }));
  struct Case {
    const char* effect;
    uint32_t ticks;  // the fade's own time and the 30 ms pause after it
  } effects[] = {{"2,1000", 16 * (1000 / 16) + 30}, {"10,1024", 254 * 4 + 30}, {"18,1024,\"x.bmp\"", 511 * 2 + 30}};
  const char* inputs[] = {"move 5 5\n", "key a\n", "after 500 move 5 5\n", "click 100 100\n"};
  for (const Case& c : effects) {
    game.Write("0.txt", std::string("*define\ngame\n*start\nlsp 1,\"x.bmp\",0,0\nprint ") + c.effect + "\nend\n");
    for (const char* input : inputs) {
      Timed t = RunTimed(game, input);
      EXPECT_EQ(t.run.status, 0) << c.effect << " / " << input << t.run.err;
      EXPECT_EQ(t.ticks, c.ticks) << c.effect << " / " << input;
    }
  }
}

TEST(TransitionInput, SpwaitTakesTheEventsThatFallDuringIt) {
  GameDir game;
  game.WriteBytes("cells.bmp", MakeBmp24(30, 10, [](int x, int) { return x < 10 ? 0xFF0000u : 0x00FF00u; }));
  // Three cells of 100 ms that play once: the wait lasts until the last one
  // has shown its time.
  game.Write("0.txt", "*define\ngame\n*start\nlsp 1,\":c/3,100,1;cells.bmp\",0,0\nprint 1\nspwait 1\nend\n");
  for (const char* input : {"move 5 5\n", "after 150 key a\n", "after 50 click 3 3\n"}) {
    Timed t = RunTimed(game, input);
    EXPECT_EQ(t.run.status, 0) << input << t.run.err;
    EXPECT_GE(t.ticks, 300u) << input;
    EXPECT_LT(t.ticks, 400u) << input;
  }
}

TEST(TransitionInput, HeldSkipKeyShortensTransitionsLikeSkipMode) {
  GameDir game;
  game.WriteBytes("x.bmp", MakeBmp24(8, 8, [](int, int) { return 0x3366CCu; }));
  // Sixteen passes of a sixteenth of the time each, then the 30 ms pause.
  game.Write("0.txt", "*define\ngame\n*start\nlsp 1,\"x.bmp\",0,0\nprint 2,1000\nend\n");
  Timed held = RunTimed(game, "keydown ctrl\n");
  ASSERT_EQ(held.run.status, 0) << held.run.err;
  EXPECT_EQ(held.ticks, 16u * (1000 / 8 / 16) + 30);  // an eighth of the time
  Timed released = RunTimed(game, "keydown ctrl\nkeyup ctrl\n");
  EXPECT_EQ(released.ticks, 16u * (1000 / 16) + 30);

  // With `effectcut` the held key makes the change instant.
  game.Write("0.txt", "*define\neffectcut\ngame\n*start\nlsp 1,\"x.bmp\",0,0\nprint 2,1000\nend\n");
  Timed cut = RunTimed(game, "keydown ctrl\n");
  EXPECT_EQ(cut.ticks, 0u);
}

}  // namespace
}  // namespace orivane::test
