#include "support/script_cases.h"

#include "script/general_test_support.h"

namespace orivane::test {

TEST_P(ScriptPrints, PrintsExpectedValues) {
  RunResult r = RunBody(GetParam().body);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, GetParam().out);
}

TEST_P(DefineErrors, ReportExactText) {
  GameDir game;
  game.Write("0.txt", "*define\n" + std::string(GetParam().body) + "\ngame\n*start\nend\n");
  RunResult r = game.Run();
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, IsErrorReport(GetParam().title, GetParam().message));
}

TEST_P(ScriptErrors, ReportExactText) {
  RunResult r = RunBody(GetParam().body);
  EXPECT_EQ(r.status, 1);
  EXPECT_THAT(r.err, IsErrorReport(GetParam().title, GetParam().message));
}

}  // namespace orivane::test
