// The interpreter's run state: phase, request flags, traps, the shared
// GosubStack, user-defined commands and the text-routine hooks.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace orivane {

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
};

// Reused buffers of the expression reader, so that evaluating an expression
// allocates nothing once they have grown.
struct ExpressionScratch {
  std::vector<ExprToken> tokens;
  std::vector<ExprToken> postfix;
  std::vector<int32_t> stack;
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
  int32_t variable_trace = 0;
  bool error_save = false;

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

  int reader_depth = 0;
  uint32_t statements_since_clock_check = 0;
  ExpressionScratch expr;

  bool IsDefsub(std::string_view word) const { return defsub_names.count(std::string(word)) != 0; }
};

}  // namespace orivane
