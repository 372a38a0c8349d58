// Loading the script from numbered or packed files, the header comments, and
// the label table.
#include <gtest/gtest.h>

#include "support/game_fixture.h"

namespace orivane::test {
namespace {

TEST(ScriptLoading, PlaysStoryTextFromNumberedFile) {
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\nこんにちは\nend\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "こんにちは\n");
}

}  // namespace
}  // namespace orivane::test
