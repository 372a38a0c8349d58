#include "script/expression.h"

#include <cstring>

#include "engine.h"
#include "script/compiled_statement.h"
#include "script/error.h"
#include "script/readers.h"

namespace orivane {
namespace {

[[noreturn]] void BadExpression(Engine& engine) {
  ReportError(engine, "式が間違っています", "エラー");
}

// Appends the postfix form of tokens [begin, end) to `out`. A parenthesised
// group is converted recursively and emitted as a unit.
void ToPostfix(Engine& engine, const ExprToken* tokens, size_t begin, size_t end,
               std::vector<ExprToken>& out) {
  ReaderDepth depth(engine);
  char additive = 0;
  char multiplicative = 0;
  for (size_t i = begin; i < end; ++i) {
    const ExprToken& t = tokens[i];
    if (t.kind == ExprToken::kOperator) {
      if (t.op == '*' || t.op == '/' || t.op == '%') {
        multiplicative = t.op;
      } else {
        if (additive) out.push_back(ExprToken{ExprToken::kOperator, additive, 0});
        additive = t.op;
        multiplicative = 0;
      }
    } else if (t.kind == ExprToken::kOperand) {
      out.push_back(t);
      if (multiplicative) out.push_back(ExprToken{ExprToken::kOperator, multiplicative, 0});
    } else if (t.op == '(') {
      int level = 1;
      size_t close = i + 1;
      for (; close < end; ++close) {
        if (tokens[close].kind != ExprToken::kParen) continue;
        level += tokens[close].op == '(' ? 1 : -1;
        if (level == 0) break;
      }
      ToPostfix(engine, tokens, i + 1, close, out);
      if (multiplicative) out.push_back(ExprToken{ExprToken::kOperator, multiplicative, 0});
      i = close;  // a group left open by the end of the expression ends here too
    } else {
      BadExpression(engine);  // ')' without its '('
    }
  }
  if (additive) out.push_back(ExprToken{ExprToken::kOperator, additive, 0});
}

int32_t Apply(Engine& engine, char op, int32_t left, int32_t right) {
  uint32_t l = static_cast<uint32_t>(left), r = static_cast<uint32_t>(right);
  switch (op) {
    case '+': return static_cast<int32_t>(l + r);
    case '-': return static_cast<int32_t>(l - r);
    case '*': return static_cast<int32_t>(l * r);
    case '/':
      if (right == 0) ReportError(engine, "０で除算しました。", "０除算エラー");
      if (right == -1) return static_cast<int32_t>(0u - l);  // INT_MIN / -1 wraps
      return left / right;
    default:
      if (right == 0) ReportError(engine, "０で剰余演算しました。", "０除算エラー");
      if (right == -1) return 0;
      return left % right;
  }
}

// Runs a postfix program on the scratch stack above `stack_mark`.
int32_t Evaluate(Engine& engine, const ExprToken* ops, size_t count, std::vector<int32_t>& stack,
                 size_t stack_mark) {
  for (size_t i = 0; i < count; ++i) {
    const ExprToken& t = ops[i];
    if (t.kind == ExprToken::kOperand) {
      stack.push_back(t.var >= 0 ? engine.vars.Num(t.var) : t.value);
      continue;
    }
    if (stack.size() < stack_mark + 2) BadExpression(engine);
    int32_t right = stack.back();
    stack.pop_back();
    int32_t left = stack.back();
    stack.back() = Apply(engine, t.op, left, right);
  }
  if (stack.size() != stack_mark + 1) BadExpression(engine);
  int32_t result = stack.back();
  stack.resize(stack_mark);
  return result;
}

}  // namespace

int32_t EvaluateProgram(Engine& engine, const ExprToken* ops, size_t count) {
  if (count == 1) return ops[0].var >= 0 ? engine.vars.Num(ops[0].var) : ops[0].value;
  // A program never needs more stack than it has operations.
  constexpr size_t kLocalDepth = 32;
  if (count > kLocalDepth) {
    std::vector<int32_t>& stack = engine.interp.expr.stack;
    return Evaluate(engine, ops, count, stack, stack.size());
  }
  int32_t stack[kLocalDepth];
  size_t top = 0;
  for (size_t i = 0; i < count; ++i) {
    const ExprToken& t = ops[i];
    if (t.kind == ExprToken::kOperand) {
      stack[top++] = t.var >= 0 ? engine.vars.Num(t.var) : t.value;
      continue;
    }
    if (top < 2) BadExpression(engine);
    --top;
    stack[top - 1] = Apply(engine, t.op, stack[top - 1], stack[top]);
  }
  if (top != 1) BadExpression(engine);
  return stack[0];
}

int32_t ReadNumber(Engine& engine) {
  ScriptBuffer& s = engine.script;
  ExpressionScratch& scratch = engine.interp.expr;
  ExpressionCache& cache = engine.interp.expr_cache;
  if (const ExpressionCache::Program* program =
          engine.interp.variable_trace ? nullptr : cache.by_position.Find(s.pos)) {
    s.pos = program->end_pos;
    return Evaluate(engine, cache.ops.data() + program->first, program->count, scratch.stack,
                    scratch.stack.size());
  }
  ReaderDepth depth(engine);
  const int32_t start_pos = s.pos;
  bool cacheable = engine.interp.variable_trace == 0;
  // Nested expressions (inside array indices) share the scratch vectors: each
  // level works above the marks it found and truncates back to them.
  const size_t token_mark = scratch.tokens.size();
  const size_t postfix_mark = scratch.postfix.size();
  const size_t stack_mark = scratch.stack.size();

  int paren_depth = 0;
  bool operand_seen = false;
  for (;;) {
    SkipBlanks(engine);
    uint8_t c = s.Cur();
    if (c == 0) break;
    if (c == '(' || c == ')') {
      paren_depth += c == '(' ? 1 : -1;
      scratch.tokens.push_back(ExprToken{ExprToken::kParen, static_cast<char>(c), 0});
      s.Advance();
    } else if (c == '+' && !operand_seen) {
      s.Advance();  // a unary plus changes nothing: +5 is 5
    } else if (c == '*' || c == '+' || c == '/' || (c == '-' && operand_seen)) {
      if (!operand_seen) BadExpression(engine);
      scratch.tokens.push_back(ExprToken{ExprToken::kOperator, static_cast<char>(c), 0});
      operand_seen = false;
      s.Advance();
    } else if (c == '-') {
      scratch.tokens.push_back(ExprToken{ExprToken::kOperand, 0, 0});
      scratch.tokens.push_back(ExprToken{ExprToken::kOperator, '-', 0});
      s.Advance();
    } else if ((c == 'm' || c == 'M') && (s.Ahead(1) | 0x20) == 'o' && (s.Ahead(2) | 0x20) == 'd' &&
               (IsBlank(s.Ahead(3)) || s.Ahead(3) == '\n')) {
      if (!operand_seen) BadExpression(engine);
      scratch.tokens.push_back(ExprToken{ExprToken::kOperator, '%', 0});
      operand_seen = false;
      s.Advance(4);
    } else {
      if (operand_seen) {
        if (paren_depth != 0) ReportError(engine, "式のカッコの対応が間違っています", "エラー");
        break;
      }
      int32_t var;
      bool term_cacheable;
      int32_t value = ReadNumberTermForCache(engine, var, term_cacheable);
      cacheable = cacheable && term_cacheable;
      scratch.tokens.push_back(ExprToken{ExprToken::kOperand, 0, value, var});
      operand_seen = true;
    }
  }

  ToPostfix(engine, scratch.tokens.data(), token_mark, scratch.tokens.size(), scratch.postfix);
  const ExprToken* program = scratch.postfix.data() + postfix_mark;
  const size_t count = scratch.postfix.size() - postfix_mark;
  // Reading terms changes no variable, so evaluating %n operands by reading
  // them again gives the values the tokenizer saw.
  int32_t result = Evaluate(engine, program, count, scratch.stack, stack_mark);
  if (cacheable) {
    // Bounded like the command cache: full, it starts afresh.
    if (cache.by_position.size() >= ExpressionCache::kMaxPrograms || cache.ops.size() >= ExpressionCache::kMaxOps)
      cache.Clear();
    cache.by_position.Insert(start_pos, ExpressionCache::Program{s.pos, static_cast<uint32_t>(cache.ops.size()),
                                                                static_cast<uint32_t>(count)});
    cache.ops.insert(cache.ops.end(), program, program + count);
  }

  scratch.tokens.resize(token_mark);
  scratch.postfix.resize(postfix_mark);
  scratch.stack.resize(stack_mark);
  return result;
}

bool CompareHolds(Compare op, int32_t left, int32_t right) {
  switch (op) {
    case Compare::kEqual: return left == right;
    case Compare::kNotEqual: return left != right;
    case Compare::kLess: return left < right;
    case Compare::kLessEqual: return left <= right;
    case Compare::kGreater: return left > right;
    default: return left >= right;
  }
}

namespace {

Compare ReadComparison(Engine& engine) {
  ScriptBuffer& s = engine.script;
  SkipBlanks(engine);
  uint8_t c = s.Cur(), d = s.Ahead(1);
  if (c == '=') {
    s.Advance(d == '=' ? 2 : 1);
    return Compare::kEqual;
  }
  if ((c == '!' && d == '=') || (c == '<' && d == '>')) {
    s.Advance(2);
    return Compare::kNotEqual;
  }
  if (c == '<' || c == '>') {
    bool with_equal = d == '=';
    s.Advance(with_equal ? 2 : 1);
    if (c == '<') return with_equal ? Compare::kLessEqual : Compare::kLess;
    return with_equal ? Compare::kGreaterEqual : Compare::kGreater;
  }
  ReportError(engine, "if条件式が間違っています。", "エラー");
}

template <typename T>
bool Holds(Compare op, const T& a, const T& b) {
  switch (op) {
    case Compare::kEqual: return a == b;
    case Compare::kNotEqual: return !(a == b);
    case Compare::kLess: return a < b;
    case Compare::kLessEqual: return !(b < a);
    case Compare::kGreater: return b < a;
    default: return !(a < b);
  }
}

// Shift-JIS strings compare as unsigned bytes, a shorter prefix first.
struct ByteString {
  std::string text;
  bool operator==(const ByteString& o) const { return text == o.text; }
  bool operator<(const ByteString& o) const {
    size_t n = std::min(text.size(), o.text.size());
    int r = std::memcmp(text.data(), o.text.data(), n);
    return r != 0 ? r < 0 : text.size() < o.text.size();
  }
};

// Where the two sides of a comparison of numbers were read: each side's
// start (where ReadNumber looked) and end.
struct NumericCondition {
  bool seen = false;
  Compare op = Compare::kEqual;
  int32_t left_start = 0, left_end = 0, right_start = 0, right_end = 0;
};

bool ReadOneCondition(Engine& engine, NumericCondition& numeric) {
  ScriptBuffer& s = engine.script;
  SkipBlanks(engine);
  uint8_t c = s.Cur();
  if (c == 'f' || c == 'l') {
    std::string word = ReadToken(engine);
    bool is_file = c == 'f';
    if (word != (is_file ? "fchk" : "lchk")) ReportError(engine, "if条件式が間違っています。", "エラー");
    if (engine.interp.run_mode == RunMode::kDefine)
      ReportError(engine,
                  is_file ? "fchk条件式は、定義ブロックでは使えません。"
                          : "lchk条件式は、定義ブロックでは使えません。",
                  "エラー");
    if (is_file) return engine.file_log.Contains(ReadString(engine));
    return engine.label_log.Contains(ReadLabelName(engine));
  }
  if (c == '"' || c == '$') {
    ByteString left{ReadString(engine)};
    Compare op = ReadComparison(engine);
    ByteString right{ReadString(engine)};
    return Holds(op, left, right);
  }
  numeric.left_start = s.pos;
  int32_t left = ReadNumber(engine);
  numeric.left_end = s.pos;
  Compare op = ReadComparison(engine);
  numeric.right_start = s.pos;
  int32_t right = ReadNumber(engine);
  numeric.right_end = s.pos;
  numeric.op = op;
  numeric.seen = true;
  return CompareHolds(op, left, right);
}

void SkipRestOfLine(ScriptBuffer& s) {
  while (s.Cur() != '\n' && s.Cur() != 0) s.Advance();
  if (s.Cur() == '\n') s.Advance();
}

// A line with one comparison of two kept expressions is compiled: both
// programs, the comparison, and where the line goes on or ends.
void NoteCondition(Engine& engine, const NumericCondition& c, bool negate) {
  CompiledStatement statement;
  statement.kind = CompiledStatement::Kind::kCondition;
  statement.compare = static_cast<uint8_t>(c.op);
  statement.negate = negate;
  if (!NoteExpression(engine, c.left_start, c.left_end, statement.value)) return;
  if (!NoteExpression(engine, c.right_start, c.right_end, statement.right)) return;
  ScriptBuffer& s = engine.script;
  const int32_t pos = s.pos;
  statement.then_pos = pos;
  SkipRestOfLine(s);
  statement.else_pos = s.pos;
  s.pos = pos;
  NoteStatement(engine, statement);
}

}  // namespace

void EvaluateCondition(Engine& engine, bool negate) {
  ScriptBuffer& s = engine.script;
  for (bool first = true;; first = false) {
    NumericCondition numeric;
    bool holds = ReadOneCondition(engine, numeric);
    SkipBlanks(engine);
    if (s.Cur() == '&') {
      s.Advance(s.Ahead(1) == '&' ? 2 : 1);
      // `if` goes on while conditions hold, `notif` while they fail.
      if (holds == negate) {
        SkipRestOfLine(s);
        return;
      }
      continue;
    }
    if (first && numeric.seen && engine.interp.recording) NoteCondition(engine, numeric, negate);
    if (holds == negate) SkipRestOfLine(s);
    return;
  }
}

}  // namespace orivane
