// Assignment, integer arithmetic, random numbers and fixed-point trigonometry.
// Every numeric store here is followed by ApplyIntLimits, so a variable with
// an `intlimit` is clamped right after these commands.
#include "platform/platform.h"
#include "script/arithmetic_commands.h"

#include <cmath>

#include "engine.h"
#include "script/command_table.h"
#include "script/compiled_statement.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/general_commands.h"
#include "script/readers.h"
#include "script/variable_targets.h"

namespace orivane {
namespace {

void StoreNum(Engine& engine, int32_t n, int32_t value) {
  engine.vars.SetNum(n, value);
  engine.vars.ApplyIntLimits();
}

int32_t Wrap(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// A numeric store whose variable number is constant and whose value the
// expression cache kept is compiled (script/compiled_statement.h).
void NoteNumericStore(Engine& engine, CompiledStatement::Kind kind, const StoreTarget& t, int32_t value_start) {
  CompiledStatement statement;
  statement.kind = kind;
  statement.target = t.number;
  if (t.constant && NoteExpression(engine, value_start, engine.script.pos, statement.value))
    NoteStatement(engine, statement);
}

void CmdMov(Engine& engine) {
  StoreTarget t = ReadStoreTarget(engine, true);
  if (t.kind == TargetKind::kNone)
    ReportError(engine, "movの第一引数は数字／文字変数／配列です。", "構文エラー");
  ExpectComma(engine);
  if (t.kind == TargetKind::kNum) {
    const int32_t value_start = engine.script.pos;
    StoreNum(engine, t.number, ReadNumber(engine));
    if (engine.interp.recording) NoteNumericStore(engine, CompiledStatement::Kind::kMovNum, t, value_start);
  } else if (t.kind == TargetKind::kStr) {
    engine.vars.SetStr(t.number, ReadString(engine));
  } else {
    SetArrayElement(engine, t.element, ReadNumber(engine));
  }
}

// mov3 .. mov10: N values into N consecutive variables, each stored as it is read.
template <int N>
void CmdMovN(Engine& engine) {
  int32_t n = 0;
  if (!ReadVariableNumber(engine, '%', n))
    ReportError(engine, "mov%dの第一引数は数字変数です。", "構文エラー", {int64_t{N}});
  for (int i = 0; i < N; ++i) {
    ExpectComma(engine);
    engine.vars.SetNum(int64_t{n} + i, ReadNumber(engine));
  }
  engine.vars.ApplyIntLimits();
}

void CmdAdd(Engine& engine) {
  StoreTarget t = ReadStoreTarget(engine, false);
  if (t.kind == TargetKind::kNone) ReportError(engine, "addの第一引数は数字／文字変数です。", "構文エラー");
  ExpectComma(engine);
  if (t.kind == TargetKind::kNum) {
    const int32_t value_start = engine.script.pos;
    int32_t v = ReadNumber(engine);
    StoreNum(engine, t.number, Wrap(int64_t{engine.vars.Num(t.number)} + v));
    if (engine.interp.recording) NoteNumericStore(engine, CompiledStatement::Kind::kAddNum, t, value_start);
  } else {
    std::string more = ReadString(engine);
    std::string joined = engine.vars.Str(t.number);
    joined += more;
    engine.vars.SetStr(t.number, std::move(joined));
  }
}

// sub, mul, div, mod: %var, number.
enum class Op { kSub, kMul, kDiv, kMod };

template <Op op>
void CmdArith(Engine& engine) {
  static constexpr const char* kMessages[] = {
      "subの第一引数は数字変数です。", "mulの第一引数は数字変数です。",
      "divの第一引数は数字変数です。", "modの第一引数は数字変数です。"};
  int32_t n = ExpectNumVar(engine, kMessages[static_cast<int>(op)]);
  ExpectComma(engine);
  int32_t right = ReadNumber(engine);
  int64_t left = engine.vars.Num(n);
  int32_t result;
  if constexpr (op == Op::kSub) {
    result = Wrap(left - right);
  } else if constexpr (op == Op::kMul) {
    result = Wrap(left * right);
  } else if constexpr (op == Op::kDiv) {
    if (right == 0) ReportError(engine, "０で除算しました。", "０除算エラー");
    result = Wrap(left / right);  // in 64 bits, so INT32_MIN / -1 wraps instead of trapping
  } else {
    if (right == 0) ReportError(engine, "０で剰余演算しました。", "０除算エラー");
    result = Wrap(left % right);
  }
  StoreNum(engine, n, result);
}

template <int step>
void CmdStep(Engine& engine) {
  int32_t n = ExpectNumVar(engine, step > 0 ? "incの引数は数字変数です。" : "decの引数は数字変数です。");
  StoreNum(engine, n, Wrap(int64_t{engine.vars.Num(n)} + step));
}

int32_t NextRandom(Engine& engine) {
  return engine.general.random.NextSeededAt(engine.platform.Ticks());
}

// rnd with n <= 0 has no value range; it stores 0.
void CmdRnd(Engine& engine) {
  int32_t n = ExpectNumVar(engine, "rndの第一引数は数字変数です。");
  ExpectComma(engine);
  int32_t range = ReadNumber(engine);
  int32_t r = NextRandom(engine);
  StoreNum(engine, n, range > 0 ? r % range : 0);
}

// rnd2 with b < a has an empty range; it stores a.
void CmdRnd2(Engine& engine) {
  int32_t n = ExpectNumVar(engine, "rnd2の第一引数は数字変数です。");
  ExpectComma(engine);
  int32_t low = ReadNumber(engine);
  ExpectComma(engine);
  int32_t high = ReadNumber(engine);
  int64_t span = int64_t{high} - low + 1;
  int32_t r = NextRandom(engine);
  StoreNum(engine, n, span > 0 ? Wrap(low + r % span) : low);
}

template <TrigFunction f>
void CmdTrig(Engine& engine) {
  static constexpr const char* kMessages[] = {"sinの第一引数は数字変数です。", "cosの第一引数は数字変数です。",
                                              "tanの第一引数は数字変数です。"};
  int32_t n = ExpectNumVar(engine, kMessages[static_cast<int>(f)]);
  ExpectComma(engine);
  StoreNum(engine, n, FixedPointTrig(f, ReadNumber(engine)));
}

}  // namespace

int32_t FixedPointTrig(TrigFunction f, int32_t degrees) {
  double x = degrees * 0.01745329277777778;  // 3.1415927 / 180, as the games were written against
  double y = (f == TrigFunction::kSin ? std::sin(x) : f == TrigFunction::kCos ? std::cos(x) : std::tan(x)) * 1000.0;
  double r = std::trunc(y >= 0 ? y + 0.5 : y - 0.5);
  if (!(r >= INT32_MIN)) return INT32_MIN;  // also NaN
  if (r > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(r);
}

void RegisterArithmeticCommands(CommandTable& table) {
  table.Register("mov", CmdMov);
  table.Register("mov3", CmdMovN<3>);
  table.Register("mov4", CmdMovN<4>);
  table.Register("mov5", CmdMovN<5>);
  table.Register("mov6", CmdMovN<6>);
  table.Register("mov7", CmdMovN<7>);
  table.Register("mov8", CmdMovN<8>);
  table.Register("mov9", CmdMovN<9>);
  table.Register("mov10", CmdMovN<10>);
  table.Register("add", CmdAdd);
  table.Register("sub", CmdArith<Op::kSub>);
  table.Register("mul", CmdArith<Op::kMul>);
  table.Register("div", CmdArith<Op::kDiv>);
  table.Register("mod", CmdArith<Op::kMod>);
  table.Register("inc", CmdStep<1>);
  table.Register("dec", CmdStep<-1>);
  table.Register("rnd", CmdRnd);
  table.Register("rnd2", CmdRnd2);
  table.Register("sin", CmdTrig<TrigFunction::kSin>);
  table.Register("cos", CmdTrig<TrigFunction::kCos>);
  table.Register("tan", CmdTrig<TrigFunction::kTan>);
}

}  // namespace orivane
