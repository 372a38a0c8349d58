#include "script/execute.h"

#include <new>

#include "engine.h"
#include "save/save_point.h"
#include "platform/platform.h"
#include "script/compiled_statement.h"
#include "script/debug_trace.h"
#include "script/error.h"
#include "script/labels.h"
#include "script/readers.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr uint8_t kFullWidthOpen[2] = {0x81, 0x79};   // 【
constexpr uint8_t kFullWidthClose[2] = {0x81, 0x7A};  // 】

void FirePendingTraps(Engine& engine) {
  InterpreterState& st = engine.interp;
  if (st.timer_trap_mode) {
    Trap& t = st.timer_trap;
    if (t.label.empty() || static_cast<int32_t>(engine.platform.Ticks() - st.timer_deadline) < 0) return;
    if (t.state == 1) t.state = 2;
    if (t.state != 0) return;
    std::string label = std::move(t.label);
    t.label.clear();
    JumpToLabel(engine, label);
    return;
  }
  Trap& t = st.click_trap;
  if (t.label.empty()) return;
  bool fires = (st.trap_while_skipping && engine.read_flags.skip_mode) || engine.input.left_clicked ||
               (engine.input.right_clicked && (st.trap_right_click || st.trap_right_only));
  if (!fires) return;
  if (t.state == 2) return;
  if (t.state == 1) {
    t.state = 2;
    engine.input.left_clicked = engine.input.right_clicked = false;
    return;
  }
  std::string label = std::move(t.label);
  t.label.clear();
  JumpToLabel(engine, label);
  engine.input.left_clicked = engine.input.right_clicked = false;
}

// Calls the pretext subroutine with the current position as return address.
void PretextCall(Engine& engine) {
  InterpreterState& st = engine.interp;
  if (!st.gosub.CanPush())
    ReportError(engine, "pretextgosub処理のせいでスタックが溢れました。", "スタックエラー");
  TurnSavePointsOff(engine, engine.save_point);
  st.gosub.Push(engine.script.pos);
  JumpToLabel(engine, st.pretext_label);
  st.pretext_mark = true;
}

// Turns 【name】 into [[name]] in place; false when there is no closing bracket
// (then nothing is changed and the line is read as text).
bool ConvertFullWidthBrackets(ScriptBuffer& s) {
  for (int32_t p = s.pos + 2; p + 1 < s.length; ++p) {
    uint8_t c = s.bytes[p];
    if (c == '\n') return false;
    if (c == kFullWidthClose[0] && s.bytes[p + 1] == kFullWidthClose[1]) {
      s.bytes[s.pos] = '[';
      s.bytes[s.pos + 1] = '[';
      s.bytes[p] = ']';
      s.bytes[p + 1] = ']';
      return true;  // the caller forgets what was read from the old bytes
    }
    if (IsSjisLead(c)) ++p;
  }
  return false;
}

void TextStatement(Engine& engine, RunMode mode) {
  InterpreterState& st = engine.interp;
  ScriptBuffer& s = engine.script;
  if (st.pretext_on && !st.pretext_mark) {
    uint8_t before = s.At(s.pos - 1);
    if (s.pos == 0 || before == '\n' || before == '\r') {
      PretextCall(engine);
      return;
    }
  }
  if (mode == RunMode::kDefine)
    ReportError(engine, "*defineブロックには、表示文はおけません。", "定義ブロックエラー");
  SavePointState& sp = engine.save_point;
  if (sp.enabled && engine.text.column == 0 && engine.text.line == 0) TakeSavePointNow(engine, sp, engine.script.pos);
  st.text_line = GatherTextLine(engine);
  st.pretext_mark = false;
  if (st.text_sink) st.text_sink(engine, st.text_line);
  if (st.reset_pending) {
    st.reset_pending = 0;
    StartGame(engine);
  }
}

}  // namespace

void AppendFullWidthNumber(std::string& out, int32_t value) {
  int64_t v = value;
  if (v < 0) {
    out.push_back(static_cast<char>(0x81));
    out.push_back(static_cast<char>(0x7C));
    v = -v;
  }
  char digits[16];
  int n = 0;
  do {
    digits[n++] = static_cast<char>(v % 10);
    v /= 10;
  } while (v > 0);
  while (n > 0) {
    out.push_back(static_cast<char>(0x82));
    out.push_back(static_cast<char>(0x4F + digits[--n]));
  }
}

std::string GatherTextLine(Engine& engine) {
  ScriptBuffer& s = engine.script;
  std::vector<int32_t>& source = engine.interp.text_source;
  source.clear();
  std::string out;
  // Bytes added since the last call are attributed to the script position now.
  auto mark = [&] { source.resize(out.size(), s.pos); };
  // Two bytes stay free for the line-end wait.
  constexpr size_t kBodyBytes = kMaxTextLineBytes - 2;
  auto room = [&out] { return out.size() < kBodyBytes; };
  bool literal = false;
  for (;;) {
    uint8_t c = s.Cur();
    if (c == 0 || c == '\n') break;
    if (IsSjisLead(c) && s.Ahead(1) != 0 && s.Ahead(1) != '\n') {
      if (out.size() + 2 <= kBodyBytes) out.append(reinterpret_cast<const char*>(&s.bytes[s.pos]), 2);
      s.Advance(2);
      mark();
      continue;
    }
    if (c == '{' || c == '}') literal = c == '{';
    if (literal || c == '{' || c == '}') {
      if (room()) out.push_back(static_cast<char>(c));
      s.Advance();
      mark();
      continue;
    }
    if ((c == '@' || c == '\\') && engine.interp.textgosub_on) {
      if (room()) out.push_back(static_cast<char>(c));
      s.Advance();
      mark();
      return out;
    }
    if (c == '$') {
      out.append(ReadString(engine));
      if (!room()) out.resize(kBodyBytes);
    } else if ((c == '%' || c == '?') && s.At(s.pos - 2) != '!') {
      AppendFullWidthNumber(out, ReadNumberTerm(engine));
      if (!room()) out.resize(kBodyBytes);
    } else {
      if (room()) out.push_back(static_cast<char>(c));
      s.Advance();
    }
    mark();
  }
  const TextWindow& w = engine.text;
  if (w.line_page) out.push_back('\\');
  if (w.line_page2) out.push_back(w.line < w.rows - w.click_lines_from_bottom ? '@' : '\\');
  mark();
  return out;
}

namespace {

void RunStatements(Engine& engine, RunMode mode) {
  InterpreterState& st = engine.interp;
  ScriptBuffer& s = engine.script;
  st.run_mode = mode;
  if (mode == RunMode::kDefine) {
    JumpToLabel(engine, "define");
    st.click_trap.label.clear();
    st.define_done = 0;
  }
  SkipBlanks(engine);
  st.pretext_mark = false;
  st.recording = false;
  while (st.stop_request == 0) {
    if ((++st.statements_since_clock_check & 0x3FF) == 0) CheckRunLimits(engine);
    if (st.reset_request) {
      StartGame(engine);
      st.reset_request = 0;
    }
    if (st.timer_trap_mode || !st.click_trap.label.empty()) FirePendingTraps(engine);
    uint8_t c = s.Cur();
    MarkRead(engine.read_flags, s.pos);
    switch (c) {
      case 0:
        ReportError(engine, "ファイルの終端に達しました。", "スクリプトエラー");
      case '\t':
      case '\n':
      case ' ':
      case ':':
      case '~':
        s.Advance();
        continue;
      case '*':
        engine.label_log.Add(ReadLabelName(engine));
        continue;
      case ';':
        while (s.Cur() != '\n' && s.Cur() != 0) s.Advance();
        continue;
      default:
        break;
    }
    // A statement begins here (blanks, labels and comments are not one).
    if (mode != RunMode::kDefine)
      MarkSavePoint(engine, engine.save_point, s.pos, engine.text.column == 0 && engine.text.line == 0);
    if (c == '[' && st.pretext_on) {
      if (s.Ahead(1) == '[') s.Advance();
      PretextCall(engine);
      continue;
    }
    if (c == kFullWidthOpen[0] && s.Ahead(1) == kFullWidthOpen[1] && st.pretext_on &&
        engine.text.bracket_conversion && ConvertFullWidthBrackets(s)) {
      st.ForgetCompiledScript();
      s.Advance();
      PretextCall(engine);
      continue;
    }
    uint8_t lower = (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : c;
    if ((lower >= 'a' && lower <= 'z') || c == '_') {
      // A statement read before is not read again: its word and what it names
      // are kept by position.
      const int32_t start = s.pos;
      if (const ResolvedCommand* cached = st.command_cache.Find(start)) {
        s.pos = cached->end_pos;
        // A statement run before may also keep its arguments as read.
        if (CanRunCompiled(st, cached->compiled) && st.reset_pending == 0) {
          RunCompiled(engine, cached->compiled);
          continue;
        }
        if (cached->compiled.kind == CompiledStatement::Kind::kUntried) {
          StartRecording(st);
          RunCommand(engine, *cached, mode);
          FinishRecording(engine, start);
        } else {
          st.recording = false;
          RunCommand(engine, *cached, mode);
        }
      } else {
        ResolvedCommand command = ResolveCommand(engine, ReadToken(engine));
        command.end_pos = s.pos;
        // The cache is bounded: once full it starts afresh, so the lines in
        // use now fill it again and the memory stays within its budget.
        if (st.command_cache.size() >= InterpreterState::kMaxCachedCommands) st.ForgetCommands();
        st.command_cache.Insert(start, command);
        StartRecording(st);
        RunCommand(engine, command, mode);
        FinishRecording(engine, start);
      }
      if (st.variable_trace) PauseForStep(engine);
      if ((mode == RunMode::kDefine && st.define_done) || st.quit_request) return;
      continue;
    }
    TextStatement(engine, mode);
  }
}

}  // namespace

void ExecuteScript(Engine& engine, RunMode mode) {
  // Memory may run out in any command: for the script's arrays and strings,
  // or for outside data that a command decodes. The run then ends with a
  // report like any other script error, never with an abort.
  try {
    RunStatements(engine, mode);
  } catch (const std::bad_alloc&) {
    ReportError(engine, "メモリが足りません。", "エラー");
  }
}

ResolvedCommand ResolveCommand(const Engine& engine, std::string word) {
  ResolvedCommand r;
  bool builtin_only = !word.empty() && word[0] == '_';
  std::string_view name = builtin_only ? std::string_view(word).substr(1) : std::string_view(word);
  r.defsub = !builtin_only && engine.interp.IsDefsub(name);
  if (!r.defsub) r.info = engine.commands.Find(name);
  r.word = std::move(word);
  return r;
}

// `command` may live in the command cache, which a handler can clear (defsub):
// nothing here touches it after the handler has run.
void RunCommand(Engine& engine, const ResolvedCommand& command, RunMode mode) {
  InterpreterState& st = engine.interp;
  if (st.reset_pending) {
    st.reset_pending = 0;
    StartGame(engine);
    return;
  }
  if (st.variable_trace) TraceCommand(engine, command.word);
  if (command.defsub) {
    if (!st.gosub.CanPush())
      ReportError(engine, "defsub文のせいでスタックが溢れました。", "スタックエラー");
    st.gosub.Push(engine.script.pos);
    JumpToLabel(engine, command.word);
    return;
  }
  const CommandInfo* info = command.info;
  if (info && info->define_only && mode == RunMode::kGame) info = nullptr;
  if (info) {
    if (!info->handler)
      ReportError(engine, "命令\"%s\"はこのバージョンではまだ使えません。", "命令エラー", {info->word});
    info->handler(engine);
    return;
  }
  std::string_view name = command.word;
  if (!name.empty() && name[0] == '_') name.remove_prefix(1);
  if (ShorthandHandler shorthand = engine.commands.shorthand(); shorthand && shorthand(engine, name)) return;
  ReportError(engine, "不正な命令\"%s\"です。", "構文エラー", {std::string_view(command.word)});
}

void DispatchCommand(Engine& engine, std::string_view word, RunMode mode) {
  RunCommand(engine, ResolveCommand(engine, std::string(word)), mode);
}

}  // namespace orivane
