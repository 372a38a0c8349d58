// Statements that run from their compiled form (mov, add, if, notif read
// once, then run without reading the text) compute and print what reading the
// text gives, pass after pass, and report errors at the same place.
#include <gtest/gtest.h>

#include <string>

#include "engine.h"
#include "support/game_fixture.h"
#include "support/scripted_run.h"

namespace orivane::test {
namespace {

const char kDefine[] = "*define\nnumalias acc, 9\nintlimit 20, 0, 10\ngame\n*start\n";

RunResult RunBody(const std::string& body) {
  GameDir game;
  game.Write("0.txt", kDefine + body);
  return game.Run();
}

TEST(CompiledStatements, LoopsComputeWhatTheTextSays) {
  struct Case {
    const char* name;
    const char* body;
    const char* out;
  } cases[] = {
      {"mov and add of expressions read fresh variables each pass",
       "for %1 = 1 to 3\nadd %2, %1 * 2\nmov %3, (%2 + %1) mod 4\n%2\n%3\nnext\nend\n",
       "２\n３\n６\n０\n１２\n３\n"},
      {"a true if runs the rest of its line, a false one skips it",
       "for %1 = 1 to 4\nif %1 >= 3 mov %5, %5 + 10 : add %6, 1\nadd %7, "
       "1\nnext\n%5\n%6\n%7\nend\n",
       "２０\n２\n４\n"},
      {"notif runs the line when the comparison fails",
       "for %1 = 1 to 4\nnotif %1 == 2 add %5, %1\nnext\n%5\nend\n", "８\n"},
      {"each comparison sign",
       "for %1 = 1 to 3\nif %1 = 2 add %2, 1\nif %1 != 2 add %3, 1\nif %1 < 2 add %4, 1\n"
       "if %1 <= 2 add %5, 1\nif %1 > 2 add %6, 1\nif %1 >= 2 add %7, 1\nnext\n%2%3%4%5%6%7\nend\n",
       "１２１２１２\n"},
      {"an alias names the target; %% targets and values are read each pass",
       "for %1 = 1 to 3\nmov %4, %1 + 10\nmov %%4, %1 * 100\nadd %acc, "
       "%%4\nnext\n%11\n%12\n%13\n%9\nend\n",
       "１００\n２００\n３００\n６００\n"},
      {"conditions joined with && are read each pass",
       "for %1 = 1 to 4\nif %1 > 1 && %1 < 4 add %5, %1\nnext\n%5\nend\n", "５\n"},
      {"intlimit clamps after a compiled add", "for %1 = 1 to 4\nadd %20, 4\n%20\nnext\nend\n",
       "４\n８\n１０\n１０\n"},
      {"add wraps at 32 bits", "mov %5, 2147483647\nfor %1 = 1 to 2\nadd %5, 1\n%5\nnext\nend\n",
       "－２１４７４８３６４８\n－２１４７４８３６４７\n"},
      {"variables past 4095 stay 0",
       "for %1 = 1 to 2\nmov %5000, 3\nadd %5000, 1\n%5000\nnext\nend\n", "０\n０\n"},
  };
  for (const Case& c : cases) {
    RunResult r = RunBody(c.body);
    EXPECT_EQ(r.status, 0) << c.name << "\n" << r.err;
    EXPECT_EQ(r.out, c.out) << c.name;
  }
}

TEST(CompiledStatements, DivisionByZeroOnALaterPassIsReportedAtItsLine) {
  const std::string loop = ";\nfor %1 = %9 to 0 step -1\nmov %2, 10 / %1\nnext\nend\n";
  RunResult late = RunBody("mov %9, 2\n" + loop);
  EXPECT_EQ(late.status, 1);
  EXPECT_NE(late.err.find("０除算エラー\n０で除算しました。\n"), std::string::npos) << late.err;
  EXPECT_NE(late.err.find("0.txt line:9\n"), std::string::npos) << late.err;
  EXPECT_NE(late.err.find(">mov %2, 10 / %1\n"), std::string::npos) << late.err;
  // The same report as when the text itself is read on the failing pass.
  RunResult first = RunBody("mov %9, 0\n" + loop);
  EXPECT_EQ(first.err, late.err);
}

TEST(CompiledStatements, TheLoopsStatementsAreKeptCompiled) {
  GameDir game;
  const std::string body =
      "mov %4, 30\nfor %1 = 1 to 3\nadd %2, 1\nif %2 > 1 mov %3, %2 * 2\nmov %%4, 1\nnext\nend\n";
  game.Write("0.txt", kDefine + body);
  CompiledStatement::Kind add{}, cond{}, mov{}, indirect{};
  int32_t doubled = 0;
  RunResult r = RunScripted(game, "", [&](Engine& e) {
    const std::string text(e.script.bytes.begin(), e.script.bytes.end());
    auto kind = [&](const char* statement) {
      const ResolvedCommand* c =
          e.interp.command_cache.Find(static_cast<int32_t>(text.find(statement)));
      return c ? c->compiled.kind : CompiledStatement::Kind::kUntried;
    };
    add = kind("add %2");
    cond = kind("if %2");
    mov = kind("mov %3");
    indirect = kind("mov %%4");
    doubled = e.vars.Num(3);
  });
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(doubled, 6);
  EXPECT_EQ(add, CompiledStatement::Kind::kAddNum);
  EXPECT_EQ(cond, CompiledStatement::Kind::kCondition);
  EXPECT_EQ(mov, CompiledStatement::Kind::kMovNum);
  EXPECT_EQ(indirect, CompiledStatement::Kind::kPlain);  // its target changes from pass to pass
}

}  // namespace
}  // namespace orivane::test
