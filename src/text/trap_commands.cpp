#include "text/trap_commands.h"

#include <string>

#include "engine.h"
#include "platform/platform.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/labels.h"
#include "script/readers.h"

namespace orivane {
namespace {

constexpr const char* kClickTrapMessage =
    "trap命令のパラメータは、offもしくは*ラベル名もしくはstopもしくはresumeです。";
constexpr const char* kTimerTrapMessage =
    "timertrap命令の第一パラメータは、offもしくは*ラベル名もしくはstopもしくはresumeです。";

enum class TrapWord { kLabel, kOff, kStop, kResume };

struct TrapArgument {
  TrapWord word = TrapWord::kOff;
  std::string label;  // with kLabel
};

// The first argument: a label (`*name`, or a string that starts with '*'),
// or one of the words off, stop, resume (bare or as a string, in any case).
// Anything else reports `message`.
TrapArgument ReadTrapArgument(Engine& engine, const char* message) {
  SkipBlanks(engine);
  const uint8_t c = engine.script.Cur();
  if (c == '*') return {TrapWord::kLabel, ReadLabelName(engine)};
  std::string text = (c == '"' || c == '$') ? ReadString(engine) : ReadToken(engine);
  if (!text.empty() && text[0] == '*') return {TrapWord::kLabel, text.substr(1)};
  for (char& ch : text)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  if (text == "off") return {TrapWord::kOff, {}};
  if (text == "stop") return {TrapWord::kStop, {}};
  if (text == "resume") return {TrapWord::kResume, {}};
  ReportError(engine, message, "エラー");
}

// `stop`: a trap that fires from now on is only remembered.
void Stop(Trap& t) {
  if (t.state == 0) t.state = 1;
}

// `resume`: armed again; a firing remembered meanwhile jumps now.
void Resume(Engine& engine, Trap& t) {
  const bool fired = t.state == 2;
  t.state = 0;
  if (!fired || t.label.empty()) return;
  const std::string label = std::move(t.label);
  t.label.clear();
  JumpToLabel(engine, label);
}

// What fires a click trap beside a left click.
struct ClickTrapKind {
  bool right_click;     // a right click too (`lr_trap`, `lr_trap2`)
  bool right_only;      // marked as the right-click trap (`r_trap`); a left click still fires it
  bool while_skipping;  // skip mode too (`trap2`, `lr_trap2`)
};

void ClickTrapCommand(Engine& engine, ClickTrapKind kind) {
  InterpreterState& st = engine.interp;
  const TrapArgument a = ReadTrapArgument(engine, kClickTrapMessage);
  switch (a.word) {
    case TrapWord::kLabel:
      st.click_trap = Trap{a.label, 0};
      st.trap_right_click = kind.right_click;
      st.trap_right_only = kind.right_only;
      st.trap_while_skipping = kind.while_skipping;
      st.timer_trap = Trap{};
      st.timer_trap_mode = false;
      // Only clicks from now on are meant for it.
      engine.input.left_clicked = engine.input.right_clicked = false;
      break;
    case TrapWord::kOff:
      st.click_trap = Trap{};
      break;
    case TrapWord::kStop:
      Stop(st.click_trap);
      break;
    case TrapWord::kResume:
      Resume(engine, st.click_trap);
      break;
  }
}

void CmdTrap(Engine& engine) {
  ClickTrapCommand(engine, {false, false, false});
}
void CmdLrTrap(Engine& engine) {
  ClickTrapCommand(engine, {true, false, false});
}
void CmdRTrap(Engine& engine) {
  ClickTrapCommand(engine, {false, true, false});
}
void CmdTrap2(Engine& engine) {
  ClickTrapCommand(engine, {false, false, true});
}
void CmdLrTrap2(Engine& engine) {
  ClickTrapCommand(engine, {true, false, true});
}

// `timertrap label, ms`; the words take no time, and one given after them is
// passed over.
void CmdTimertrap(Engine& engine) {
  InterpreterState& st = engine.interp;
  const TrapArgument a = ReadTrapArgument(engine, kTimerTrapMessage);
  if (a.word == TrapWord::kLabel) {
    ExpectComma(engine);
    const int32_t ms = ReadNumber(engine);
    st.timer_trap = Trap{a.label, 0};
    st.timer_deadline = engine.platform.Ticks() + static_cast<uint32_t>(ms);
    st.timer_trap_mode = true;
    st.click_trap = Trap{};
    return;
  }
  if (CommaFollows(engine)) {
    ExpectComma(engine);
    ReadNumber(engine);
  }
  switch (a.word) {
    case TrapWord::kOff:
      st.timer_trap = Trap{};
      st.timer_trap_mode = false;
      break;
    case TrapWord::kStop:
      Stop(st.timer_trap);
      break;
    case TrapWord::kResume:
      Resume(engine, st.timer_trap);
      break;
    case TrapWord::kLabel:
      break;
  }
}

}  // namespace

void RegisterTrapCommands(CommandTable& table) {
  table.Register("trap", CmdTrap);
  table.Register("lr_trap", CmdLrTrap);
  table.Register("r_trap", CmdRTrap);
  table.Register("trap2", CmdTrap2);
  table.Register("lr_trap2", CmdLrTrap2);
  table.Register("timertrap", CmdTimertrap);
}

}  // namespace orivane
