// The demo game that the README's run command starts plays to its end.
#include <gtest/gtest.h>

#include "support/game_fixture.h"

namespace orivane::test {
namespace {

TEST(Demo, PlaysToTheEndHeadless) {
  RunResult r = RunProgram({"--headless", "--timeout", "60000", ORIVANE_SOURCE_DIR "/examples/demo"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("――おしまい。"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace orivane::test
