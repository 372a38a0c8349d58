// The demo game that the README's run command starts plays to its end.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/game_fixture.h"

namespace orivane::test {
namespace {

TEST(Demo, PlaysToTheEndHeadless) {
  RunResult r = RunProgram({"--headless", "--timeout", "60000", ORIVANE_SOURCE_DIR "/examples/demo"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("――おしまい。"), std::string::npos) << r.out;
}

// A player who clicks at once, while the first transition still runs: the
// click is taken during the fade and the story goes on to its end.
TEST(Demo, PlaysToTheEndWithAClickDuringTheFirstFade) {
  GameDir game;
  std::filesystem::copy(ORIVANE_SOURCE_DIR "/examples/demo", game.path(), std::filesystem::copy_options::recursive);
  game.WriteBytes("input.txt", "click 100 100\n");
  RunResult r = RunProgram({"--headless", "--timeout", "60000", "--input", game.path() + "/input.txt", game.path()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("――おしまい。"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace orivane::test
