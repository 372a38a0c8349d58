#include "script/compiled_statement.h"

#include "engine.h"
#include "script/expression.h"

namespace orivane {
namespace {

using Kind = CompiledStatement::Kind;

// Moves a noted expression's operations from the recording into the cache's
// operations.
void Keep(InterpreterState& st, CompiledExpression& e) {
  const uint32_t first = static_cast<uint32_t>(st.compiled_ops.size());
  st.compiled_ops.insert(st.compiled_ops.end(), st.recorded_ops.begin() + e.first,
                         st.recorded_ops.begin() + e.first + e.count);
  e.first = first;
}

}  // namespace

void StartRecording(InterpreterState& st) {
  st.recording = true;
  st.recorded = CompiledStatement{};
  st.recorded.kind = Kind::kPlain;
  st.recorded_ops.clear();
}

void FinishRecording(Engine& engine, int32_t start) {
  InterpreterState& st = engine.interp;
  if (!st.recording) return;  // another statement ran meanwhile: try again next time
  st.recording = false;
  ResolvedCommand* entry = st.command_cache.Find(start);
  if (!entry || entry->compiled.kind != Kind::kUntried) return;
  CompiledStatement compiled = st.recorded;
  if (st.recorded_ops.size() > 0) {
    // Bounded like the other caches: full, the statement cache starts afresh
    // and what runs now fills it again.
    if (st.compiled_ops.size() + st.recorded_ops.size() > InterpreterState::kMaxCompiledOps) {
      st.ForgetCommands();
      return;
    }
    Keep(st, compiled.value);
    if (compiled.kind == Kind::kCondition) Keep(st, compiled.right);
  }
  entry->compiled = compiled;
}

bool NoteExpression(Engine& engine, int32_t start, int32_t end, CompiledExpression& out) {
  InterpreterState& st = engine.interp;
  const ExpressionCache::Program* program = st.expr_cache.by_position.Find(start);
  if (!program || program->end_pos != end) return false;
  out.first = static_cast<uint32_t>(st.recorded_ops.size());
  out.count = program->count;
  out.end_pos = end;
  const ExprToken* ops = st.expr_cache.ops.data() + program->first;
  st.recorded_ops.insert(st.recorded_ops.end(), ops, ops + program->count);
  return true;
}

void NoteStatement(Engine& engine, const CompiledStatement& statement) {
  InterpreterState& st = engine.interp;
  if (st.recording) st.recorded = statement;
}

void RunCompiled(Engine& engine, const CompiledStatement& c) {
  ScriptBuffer& s = engine.script;
  InterpreterState& st = engine.interp;
  // `c` lives in the statement cache, which nothing below changes. Each
  // expression is computed with the position where its text ends, as when it
  // is read, so that a division by zero is reported at the same place.
  const ExprToken* ops = st.compiled_ops.data();
  switch (c.kind) {
    case Kind::kMovNum: {
      s.pos = c.value.end_pos;
      engine.vars.SetNum(c.target, EvaluateProgram(engine, ops + c.value.first, c.value.count));
      engine.vars.ApplyIntLimits();
      return;
    }
    case Kind::kAddNum: {
      s.pos = c.value.end_pos;
      const int32_t v = EvaluateProgram(engine, ops + c.value.first, c.value.count);
      engine.vars.SetNum(c.target,
                         static_cast<int32_t>(static_cast<uint32_t>(engine.vars.Num(c.target)) +
                                              static_cast<uint32_t>(v)));
      engine.vars.ApplyIntLimits();
      return;
    }
    case Kind::kCondition: {
      s.pos = c.value.end_pos;
      const int32_t left = EvaluateProgram(engine, ops + c.value.first, c.value.count);
      s.pos = c.right.end_pos;
      const int32_t right = EvaluateProgram(engine, ops + c.right.first, c.right.count);
      const bool holds = CompareHolds(static_cast<Compare>(c.compare), left, right);
      s.pos = holds == c.negate ? c.else_pos : c.then_pos;
      return;
    }
    default:
      return;
  }
}

}  // namespace orivane
