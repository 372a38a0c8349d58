// The interpreter's run state: phase, request flags, traps, the shared
// GosubStack, user-defined commands and the text-routine hooks.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "script/debug_trace.h"
#include "util/position_map.h"

namespace orivane {

struct Engine;

enum class RunMode { kGame = 0, kDefine = 1 };

// One subroutine return position (>= 0) per call; a `for` frame is four
// entries: variable number, end, step and the negated body position (<= 0).
class GosubStack {
 public:
  static constexpr int kCapacity = 1000;
  int depth() const { return depth_; }
  bool CanPush(int n = 1) const { return depth_ + n <= kCapacity; }
  void Push(int32_t v) { entries_[depth_++] = v; }  // callers check CanPush first
  int32_t Pop() { return entries_[--depth_]; }     // callers check depth() first
  int32_t& Top() { return entries_[depth_ - 1]; }
  int32_t& FromTop(int k) { return entries_[depth_ - 1 - k]; }
  int32_t At(int i) const { return entries_[i]; }  // from the bottom; i < depth()
  void Drop(int n) { depth_ = n > depth_ ? 0 : depth_ - n; }
  void Clear() { depth_ = 0; }

 private:
  std::array<int32_t, kCapacity> entries_{};
  int depth_ = 0;
};

struct ExprToken {
  enum Kind : uint8_t { kOperand, kOperator, kParen };
  Kind kind;
  char op;
  int32_t value;
  // For an operand read as %n with a constant n: the variable number, so that
  // a cached expression reads the variable again; -1 for a constant.
  int32_t var = -1;
};

// Expressions already read, by their start position: the postfix program and
// where the expression ends. Only expressions whose operands are literals,
// aliases and plain %n variables are kept; their meaning cannot change while
// the script runs (aliases are never redefined, and the script bytes change
// only through bracket conversion, which clears the cache).
struct ExpressionCache {
  // The budget: some 4 MB of table and 3 MB of operations (see docs/interpreter.md).
  static constexpr size_t kMaxPrograms = 1 << 17;
  static constexpr size_t kMaxOps = 1 << 18;
  struct Program {
    int32_t end_pos;
    uint32_t first;  // index into `ops`
    uint32_t count;
  };
  PositionMap<Program> by_position;
  std::vector<ExprToken> ops;
  void Clear() {
    by_position.Clear();
    ops.clear();
  }
};

// Reused buffers of the expression reader, so that evaluating an expression
// allocates nothing once they have grown.
struct ExpressionScratch {
  std::vector<ExprToken> tokens;
  std::vector<ExprToken> postfix;
  std::vector<int32_t> stack;
};

struct CommandInfo;

// An expression of a compiled statement: its postfix program in the
// statement cache's operations and the position where reading it ended.
struct CompiledExpression {
  uint32_t first = 0;  // index into InterpreterState::compiled_ops
  uint32_t count = 0;
  int32_t end_pos = 0;
};

// A statement kept as what its arguments were read as, so that running it
// again reads no text (see script/compiled_statement.h). kUntried: not run
// since it was cached; kPlain: its handler runs every time.
struct CompiledStatement {
  enum class Kind : uint8_t { kUntried, kPlain, kMovNum, kAddNum, kCondition };
  Kind kind = Kind::kUntried;
  uint8_t compare = 0;  // kCondition: a Compare (script/expression.h)
  bool negate = false;  // kCondition: `notif`
  int32_t target = 0;   // kMovNum, kAddNum: the variable number
  CompiledExpression value;  // kMovNum, kAddNum: the value; kCondition: the left side
  CompiledExpression right;  // kCondition: the right side
  int32_t then_pos = 0;      // kCondition: where the line goes on when it holds
  int32_t else_pos = 0;      // kCondition: the start of the next line
};

// What a command word names: a user command (DefsubList) or an entry of the
// command table (nullptr when neither). `word` is as written, '_' included.
struct ResolvedCommand {
  int32_t end_pos = 0;  // after the word and its blanks
  bool defsub = false;
  std::string word;
  const CommandInfo* info = nullptr;
  CompiledStatement compiled;
};

// A wait of text output that a routine of the right-click action cut short.
// When `return` takes exactly this entry off the GosubStack (the depth it
// stood at and the position it holds), the routine has ended: `return` hands
// `redo` ("@" or "\") to the text sink, so that the wait comes again. depth 0:
// none. Text output sets it; the interpreter knows it only as text to print.
struct InterruptedWait {
  int depth = 0;
  int32_t position = 0;
  std::string redo;
};

struct Trap {
  std::string label;  // empty: off
  int state = 0;      // 0 armed, 1 stopped, 2 fired while stopped
};

struct InterpreterState {
  RunMode run_mode = RunMode::kGame;
  int32_t stop_request = 0;   // `definereset`: restart from loading the script
  int32_t define_done = 0;    // set by `game`
  int32_t quit_request = 0;   // the player confirmed quitting
  int32_t reset_request = 0;  // the player chose a reset
  int32_t reset_pending = 0;  // a wait ended because of a reset
  int32_t variable_trace = 0;  // the debug window is open: commands and reads are traced
  DebugTrace debug;             // its log and `debuglog`
  // The step box after a traced command, shown by the shell (a message box).
  void (*step_pause)(Engine&) = nullptr;
  bool error_save = false;     // `errorsave`: a script error saves to slot 999 first
  std::string loadgosub_label;  // `loadgosub`: called after every load; empty = none

  Trap click_trap;
  bool trap_right_click = false;  // a right click fires it as well
  bool trap_right_only = false;   // only a right click fires it
  bool trap_while_skipping = false;
  bool timer_trap_mode = false;   // the timer trap replaces the click trap
  Trap timer_trap;
  uint32_t timer_deadline = 0;

  GosubStack gosub;
  std::vector<std::string> defsubs;  // definition order
  std::unordered_set<std::string> defsub_names;

  std::string pretext_label;
  bool pretext_on = false;
  bool pretext_mark = false;  // a pretext call happened and no text line was gathered since
  std::string textgosub_label;
  bool textgosub_on = false;

  // Where a gathered story-text line goes: text output, which installs
  // itself here when it attaches. The interpreter does not know it otherwise.
  void (*text_sink)(Engine&, std::string_view sjis) = nullptr;
  InterruptedWait interrupted_wait;
  // The story-text line last gathered, and for each of its bytes the script
  // position just behind what produced it, so that a wait inside the line can
  // send the script back there.
  std::string text_line;
  std::vector<int32_t> text_source;

  int reader_depth = 0;
  uint32_t statements_since_clock_check = 0;
  ExpressionScratch expr;
  ExpressionCache expr_cache;
  // Command words already resolved, by the position of the word: where the
  // word and its blanks end, and what it names. Cleared when the DefsubList
  // changes or the script is loaded.
  // The budget: 2^16 statements, some 12 MB of table (a slot holds the word
  // and the compiled arguments), and 2^18 operations of compiled expressions
  // (3 MB).
  static constexpr size_t kMaxCachedCommands = 1 << 16;
  static constexpr size_t kMaxCompiledOps = 1 << 18;
  PositionMap<ResolvedCommand> command_cache;
  std::vector<ExprToken> compiled_ops;
  // While the first run of a cached statement is recorded: what its handler
  // noted (script/compiled_statement.h). Any other statement turns it off.
  bool recording = false;
  CompiledStatement recorded;
  std::vector<ExprToken> recorded_ops;
  void ForgetCommands() {
    command_cache.Clear();
    compiled_ops.clear();
  }
  void ForgetCompiledScript() {
    expr_cache.Clear();
    ForgetCommands();
  }

  bool IsDefsub(std::string_view word) const { return defsub_names.count(std::string(word)) != 0; }
};

}  // namespace orivane
