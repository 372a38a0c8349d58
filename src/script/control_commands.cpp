#include "script/control_commands.h"

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/labels.h"
#include "script/readers.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr const char* kForFormat =
    "for文の書式が違います。for %変数番号=数字 to 数字 (step 数字)です。";

bool AtStatementEnd(uint8_t c) { return c == '\n' || c == ':' || c == ';' || c == 0; }

// Moves forward statement by statement until one whose first word is `next`
// (the position is then after it) or the end of the script.
void SkipToNext(Engine& engine) {
  ScriptBuffer& s = engine.script;
  for (;;) {
    if (ReadToken(engine) == "next") return;
    while (s.Cur() != '\n' && s.Cur() != ':' && s.Cur() != 0) s.Advance();
    if (s.Cur() == 0) return;
    s.Advance();
    if (s.Cur() == 0) return;
  }
}

void CmdGoto(Engine& engine) { JumpToLabel(engine, ReadLabelName(engine)); }

void CmdGosub(Engine& engine) {
  if (!engine.interp.gosub.CanPush())
    ReportError(engine, "gosub文のせいでスタックが溢れました。", "スタックエラー");
  std::string label = ReadLabelName(engine);
  engine.interp.gosub.Push(engine.script.pos);
  JumpToLabel(engine, label);
}

void CmdReturn(Engine& engine) {
  GosubStack& stack = engine.interp.gosub;
  // A loop frame on top is not a return address: returning into it would
  // continue at a negative position.
  if (stack.depth() == 0 || stack.Top() < 0)
    ReportError(engine, "returnとgosub文が正しく対応していません。", "スタックエラー");
  // Whether this return ends the routine that cut a text wait short.
  InterruptedWait& cut = engine.interp.interrupted_wait;
  const bool ends_cut_routine =
      cut.depth != 0 && cut.depth == stack.depth() && cut.position == stack.Top();
  SkipBlanks(engine);
  if (!AtStatementEnd(engine.script.Cur())) {
    std::string label = ReadLabelName(engine);
    stack.Drop(1);
    if (ends_cut_routine) cut = InterruptedWait{};  // it leaves elsewhere: no wait to redo
    JumpToLabel(engine, label);
    return;
  }
  engine.script.Seek(stack.Pop());
  if (ends_cut_routine) {
    const std::string redo = std::move(cut.redo);
    cut = InterruptedWait{};
    if (!redo.empty() && engine.interp.text_sink) engine.interp.text_sink(engine, redo);
  }
}

void CmdNoreturn(Engine& engine) {
  if (engine.interp.gosub.depth() == 0)
    ReportError(engine, "noreturnとgosub文が正しく対応していません。", "スタックエラー");
  engine.interp.gosub.Drop(1);
}

void CmdFor(Engine& engine) {
  GosubStack& stack = engine.interp.gosub;
  ScriptBuffer& s = engine.script;
  if (!stack.CanPush(4)) ReportError(engine, "for文のせいでスタックが溢れました。", "スタックエラー");
  SkipBlanks(engine);
  if (s.Cur() != '%') ReportError(engine, kForFormat, "構文エラー");
  s.Advance();
  int32_t var = ReadNumberTerm(engine);
  SkipBlanks(engine);
  if (s.Cur() != '=') ReportError(engine, kForFormat, "構文エラー");
  s.Advance();
  engine.vars.SetNum(var, ReadNumber(engine));
  engine.vars.ApplyIntLimits();
  if (ReadToken(engine) != "to") ReportError(engine, kForFormat, "構文エラー");
  int32_t end = ReadNumber(engine);
  int32_t step = 1;
  SkipBlanks(engine);
  if (s.Cur() == 's') {
    if (ReadToken(engine) != "step") ReportError(engine, kForFormat, "構文エラー");
    step = ReadNumber(engine);
  }
  int32_t value = engine.vars.Num(var);
  if ((value > end && step > 0) || (value < end && step < 0)) {
    SkipToNext(engine);
    return;
  }
  stack.Push(var);
  stack.Push(end);
  stack.Push(step);
  stack.Push(-s.pos);
}

void CmdNext(Engine& engine) {
  GosubStack& stack = engine.interp.gosub;
  if (stack.depth() < 4 || stack.Top() > 0)
    ReportError(engine, "next文とfor文が正しく対応していません。", "スタックエラー");
  int32_t var = stack.FromTop(3);
  int32_t end = stack.FromTop(2);
  int32_t step = stack.FromTop(1);
  int32_t value = static_cast<int32_t>(static_cast<uint32_t>(engine.vars.Num(var)) + static_cast<uint32_t>(step));
  engine.vars.SetNum(var, value);
  engine.vars.ApplyIntLimits();
  value = engine.vars.Num(var);
  if ((value > end && step > 0) || (value < end && step < 0)) {
    stack.Drop(4);
    return;
  }
  engine.script.Seek(-static_cast<int64_t>(stack.Top()));
}

void CmdBreak(Engine& engine) {
  GosubStack& stack = engine.interp.gosub;
  if (stack.depth() < 4 || stack.Top() > 0)
    ReportError(engine, "break文とfor文が正しく対応していません。", "スタックエラー");
  SkipBlanks(engine);
  if (engine.script.Cur() == '*') {
    std::string label = ReadLabelName(engine);
    stack.Drop(4);
    JumpToLabel(engine, label);
    return;
  }
  SkipToNext(engine);
  stack.Drop(4);
}

void CmdIf(Engine& engine) { EvaluateCondition(engine, false); }
void CmdNotif(Engine& engine) { EvaluateCondition(engine, true); }

void CmdJumpf(Engine& engine) {
  ScriptBuffer& s = engine.script;
  while (s.Cur() != '~') {
    if (s.pos >= s.length) ReportError(engine, "jumpf命令が~を見つけられませんでした。", "エラー");
    s.Advance();
  }
  s.Advance();
}

void CmdJumpb(Engine& engine) {
  ScriptBuffer& s = engine.script;
  int32_t p = s.pos;
  while (p >= 0 && s.bytes[p] != '~') --p;
  if (p < 0) ReportError(engine, "jumpb命令が~を見つけられませんでした。", "エラー");
  s.Seek(p + 1);
}

void CmdSkip(Engine& engine) {
  ScriptBuffer& s = engine.script;
  int32_t n = ReadNumber(engine);
  if (n == 0) return;
  int32_t p = s.pos;
  if (n > 0) {
    // A line that begins at or past the end of the script's text is outside
    // the script: only the empty lines of absent files lie there.
    for (int32_t i = 0; i < n; ++i) {
      while (p < s.text_end && s.bytes[p] != '\n') ++p;
      if (++p >= s.text_end) ReportError(engine, "SKIPがスクリプトの範囲を飛び出しました。", "構文エラー");
    }
    s.Seek(p);
    return;
  }
  if (s.bytes[p] == '\n') --p;
  for (int64_t i = 0; i < 1 - static_cast<int64_t>(n); ++i) {
    while (p >= 0 && s.bytes[p] != '\n') --p;
    if (p < 0) ReportError(engine, "SKIPがスクリプトの範囲を飛び出しました。", "構文エラー");
    --p;
  }
  s.Seek(p + 1);
}

void CmdTablegoto(Engine& engine) {
  int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  for (int32_t i = 0; i < n; ++i) {
    ReadLabelName(engine);
    ExpectComma(engine);
  }
  JumpToLabel(engine, ReadLabelName(engine));
}

void CmdDefsub(Engine& engine) {
  std::string name = ReadToken(engine);
  if (!name.empty() && name[0] == '_')
    ReportError(engine, "defsubサブルーチンの一文字目に_は使えません。", "エラー");
  engine.interp.defsub_names.insert(name);
  engine.interp.ForgetCommands();  // the word may have named a built-in before
  engine.interp.defsubs.push_back(std::move(name));
}

// Reads the arguments of a user command call at the return position on top
// of the GosubStack into the variables named by getparam's own list.
void CmdGetparam(Engine& engine) {
  ScriptBuffer& s = engine.script;
  GosubStack& stack = engine.interp.gosub;
  if (stack.depth() == 0 || stack.Top() < 0)
    ReportError(engine, "getparam指定が間違っています。", "エラー");
  for (;;) {
    SkipBlanks(engine);
    uint8_t kind = s.Cur();
    bool by_reference = false;
    if (kind == 'i' || kind == 's') {
      s.Advance();
      if (s.Cur() != '%') ReportError(engine, "getparam指定が間違っています。", "エラー");
      by_reference = true;
    } else if (kind != '%' && kind != '$') {
      ReportError(engine, "getparam指定が間違っています。", "エラー");
    }
    s.Advance();
    int32_t target = ReadNumberTerm(engine);
    int32_t own_pos = s.pos;

    // Evaluate at the call position, in the caller's context.
    s.Seek(stack.Top());
    if (by_reference) {
      SkipBlanks(engine);
      uint8_t want = kind == 'i' ? '%' : '$';
      if (s.Cur() != want) {
        ReportError(engine,
                    kind == 'i' ? "数字変数があるべきところで数字変数がありません"
                                : "文字変数があるべきところで数字変数がありません",
                    "エラー");
      }
      s.Advance();
      engine.vars.SetNum(target, ReadNumberTerm(engine));
    } else if (kind == '%') {
      engine.vars.SetNum(target, ReadNumber(engine));
    } else {
      SkipBlanks(engine);
      if (s.Cur() == '*') {
        std::string label = "*";
        label += ReadLabelName(engine);
        engine.vars.SetStr(target, std::move(label));
      } else {
        engine.vars.SetStr(target, ReadString(engine));
      }
    }
    int32_t call_pos = s.pos;

    s.Seek(own_pos);
    SkipBlanks(engine);
    if (s.Cur() != ',') {
      stack.Top() = call_pos;
      return;
    }
    ExpectComma(engine);
    own_pos = s.pos;
    s.Seek(call_pos);
    ExpectComma(engine);
    stack.Top() = s.pos;
    s.Seek(own_pos);
  }
}

// Reads the fields of a "[field/field/...]" tag at the return position on
// top of the GosubStack, for the pretext routine.
void CmdGettag(Engine& engine) {
  ScriptBuffer& s = engine.script;
  GosubStack& stack = engine.interp.gosub;
  if (stack.depth() == 0 || stack.Top() < 0) ReportError(engine, "gettag指定が間違っています。", "エラー");
  int32_t tag = stack.Top();
  bool ended = s.At(tag) != '[';
  if (!ended) ++tag;
  for (;;) {
    SkipBlanks(engine);
    uint8_t kind = s.Cur();
    if (kind != '%' && kind != '$') ReportError(engine, "gettag指定が間違っています。", "エラー");
    s.Advance();
    int32_t target = ReadNumberTerm(engine);
    int32_t own_pos = s.pos;
    if (kind == '%') {
      int32_t value = 0;
      if (!ended) {
        s.Seek(tag);
        value = ReadNumberTerm(engine);
        tag = s.pos;
      }
      engine.vars.SetNum(target, value);
    } else {
      std::string text;
      if (!ended) {
        while (s.At(tag) == ' ' || s.At(tag) == '\t') ++tag;
        for (;;) {
          uint8_t c = s.At(tag);
          if (c == '/' || c == ']' || c == 0) break;
          if (IsSjisLead(c) && s.At(tag + 1) != 0) text.push_back(static_cast<char>(s.At(tag++)));
          text.push_back(static_cast<char>(s.At(tag++)));
        }
      }
      engine.vars.SetStr(target, std::move(text));
    }
    s.Seek(own_pos);
    SkipBlanks(engine);
    if (s.Cur() != ',') break;
    ExpectComma(engine);
    if (!ended) {
      while (s.At(tag) == ' ' || s.At(tag) == '\t') ++tag;
      if (s.At(tag) == ']' || s.At(tag) == 0) {
        ended = true;
      } else {
        ++tag;
        while (s.At(tag) == ' ' || s.At(tag) == '\t') ++tag;
      }
    }
  }
  while (s.At(tag) == ']') ++tag;
  stack.Top() = tag;
}

void CmdPretextgosub(Engine& engine) {
  engine.interp.pretext_label = ReadLabelName(engine);
  engine.interp.pretext_on = true;
}

// Ends the *define block; the start-up cycle then begins the game phase.
void CmdGame(Engine& engine) { engine.interp.define_done = 1; }

void CmdReset(Engine& engine) { StartGame(engine); }

// Restarts from loading the script: the loop returns and start-up runs again.
void CmdDefinereset(Engine& engine) { engine.interp.stop_request = 1; }

void CmdEnd(Engine& engine) { throw EngineExit{0}; }

}  // namespace

void RegisterControlCommands(CommandTable& table) {
  table.Register("goto", CmdGoto);
  table.Register("gosub", CmdGosub);
  table.Register("return", CmdReturn);
  table.Register("noreturn", CmdNoreturn);
  table.Register("for", CmdFor);
  table.Register("next", CmdNext);
  table.Register("break", CmdBreak);
  table.Register("if", CmdIf);
  table.Register("notif", CmdNotif);
  table.Register("jumpf", CmdJumpf);
  table.Register("jumpb", CmdJumpb);
  table.Register("skip", CmdSkip);
  table.Register("tablegoto", CmdTablegoto);
  table.Register("defsub", CmdDefsub);
  table.Register("getparam", CmdGetparam);
  table.Register("gettag", CmdGettag);
  table.Register("pretextgosub", CmdPretextgosub);
  table.Register("game", CmdGame);
  table.Register("reset", CmdReset);
  table.Register("definereset", CmdDefinereset);
  table.Register("end", CmdEnd);
}

}  // namespace orivane
