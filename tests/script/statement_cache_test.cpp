// The caches of statements read once stay within their budget on a script
// larger than they hold, and what the script computes does not change when
// they start afresh.
#include <gtest/gtest.h>

#include <string>

#include "engine.h"
#include "support/game_fixture.h"
#include "support/scripted_run.h"

namespace orivane::test {
namespace {

TEST(StatementCache, StaysWithinItsBudgetOnALargeScript) {
  const size_t statements = InterpreterState::kMaxCachedCommands + 5000;
  const size_t expressions = ExpressionCache::kMaxPrograms + 5000;
  std::string body;
  body.reserve(statements * 16);
  for (size_t i = 0; i < statements; ++i) body += "add %1,1\n";
  for (size_t i = 0; i < expressions; ++i) body += "mov %2,%2+1\n";
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\nmov %1,0\nmov %2,0\n" + body + "end\n");
  size_t commands = 0, programs = 0, ops = 0;
  int32_t added = 0, moved = 0;
  RunResult r = RunScripted(game, "", [&](Engine& e) {
    commands = e.interp.command_cache.size();
    programs = e.interp.expr_cache.by_position.size();
    ops = e.interp.expr_cache.ops.size();
    added = e.vars.Num(1);
    moved = e.vars.Num(2);
  });
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(added, static_cast<int32_t>(statements));
  EXPECT_EQ(moved, static_cast<int32_t>(expressions));
  // Full, each cache started afresh (a cache that merely stopped growing
  // would stand at its limit) and holds what ran since.
  EXPECT_GT(commands, 0u);
  EXPECT_LT(commands, InterpreterState::kMaxCachedCommands);
  EXPECT_GT(programs, 0u);
  EXPECT_LT(programs, ExpressionCache::kMaxPrograms);
  EXPECT_LE(ops, ExpressionCache::kMaxOps);
}

TEST(StatementCache, CompiledExpressionsStayWithinTheirBudget) {
  // Each statement keeps a program of 79 operations; together they pass the
  // budget, so the statement cache must start afresh on the way.
  const size_t statements = InterpreterState::kMaxCompiledOps / 79 + 1000;
  std::string value = "1";
  for (int i = 0; i < 39; ++i) value += "+0";
  std::string body;
  for (size_t i = 0; i < statements; ++i) body += "add %1," + value + "\n";
  GameDir game;
  game.Write("0.txt", "*define\ngame\n*start\nfor %5 = 1 to 2\n" + body + "next\nend\n");
  size_t compiled_ops = 0;
  int32_t added = 0;
  RunResult r = RunScripted(game, "", [&](Engine& e) {
    compiled_ops = e.interp.compiled_ops.size();
    added = e.vars.Num(1);
  });
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(added, static_cast<int32_t>(2 * statements));
  EXPECT_GT(compiled_ops, 0u);
  EXPECT_LE(compiled_ops, InterpreterState::kMaxCompiledOps);
}

}  // namespace
}  // namespace orivane::test
