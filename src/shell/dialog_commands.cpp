#include "shell/dialog_commands.h"

#include <string>

#include "engine.h"
#include "player_waits.h"
#include "script/command_table.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "shell/input_dialog.h"
#include "util/sjis.h"

namespace orivane {
namespace {

// A bare message box.
void CmdTestfunc(Engine& engine) {
  Question box;
  box.text = "testfunc:";
  AskPlayer(engine, box);
}

// The text and title of a message box, as the script gives them.
Question ReadMessageBox(Engine& engine, Question::Buttons buttons) {
  Question box;
  box.buttons = buttons;
  box.text = SjisToUtf8(ReadString(engine));
  ExpectComma(engine);
  box.title = SjisToUtf8(ReadString(engine));
  return box;
}

void CmdMesbox(Engine& engine) {
  AskPlayer(engine, ReadMessageBox(engine, Question::Buttons::kOk));
}

// `yesnobox` and `okcancelbox`: 1 for the first button, 0 for the second.
template <Question::Buttons kButtons>
void CmdTwoButtonBox(Engine& engine) {
  constexpr bool kYesNo = kButtons == Question::Buttons::kYesNo;
  const int32_t n = ExpectNumVar(engine, kYesNo ? "yesnoboxの引数は数字変数です。" : "okcancelboxの引数は数字変数です。");
  ExpectComma(engine);
  const Answer a = AskPlayer(engine, ReadMessageBox(engine, kButtons)).answer;
  engine.vars.SetNum(n, a == Answer::kYes || a == Answer::kOk ? 1 : 0);
}

// The optional dialog layout after the other arguments: dialog width and
// height, edit width and height, in points. The window draws its boxes at a
// size of its own, so they are read and not used.
void SkipLayout(Engine& engine) {
  if (!CommaFollows(engine)) return;
  for (int i = 0; i < 4; ++i) {
    ExpectComma(engine);
    ReadNumber(engine);
  }
}

// `inputstr` (no default) and `input` (with a default).
template <bool kWithDefault>
void CmdInputText(Engine& engine) {
  const int32_t n = ExpectStrVar(engine, kWithDefault ? "inputの第一引数は文字変数です。" : "inputstrの第一引数は文字変数です。");
  InputRequest request;
  ExpectComma(engine);
  request.prompt = ReadString(engine);
  ExpectComma(engine);
  if (kWithDefault) {
    request.default_text = ReadString(engine);
    ExpectComma(engine);
  }
  request.max_length = ReadNumber(engine);
  ExpectComma(engine);
  request.full_width_only = ReadNumber(engine) != 0;
  SkipLayout(engine);
  engine.vars.SetStr(n, AskForInput(engine, request));
}

void CmdInputnum(Engine& engine) {
  const int32_t n = ExpectNumVar(engine, "inputnumの第一引数は数字変数です。");
  InputRequest request;
  ExpectComma(engine);
  request.prompt = ReadString(engine);
  request.max_length = kNumberInput;
  SkipLayout(engine);
  engine.vars.SetNum(n, ParseLeadingInt(AskForInput(engine, request)));
}

}  // namespace

void RegisterDialogCommands(CommandTable& table) {
  table.Register("testfunc", CmdTestfunc);
  table.Register("mesbox", CmdMesbox);
  table.Register("yesnobox", CmdTwoButtonBox<Question::Buttons::kYesNo>);
  table.Register("okcancelbox", CmdTwoButtonBox<Question::Buttons::kOkCancel>);
  table.Register("inputstr", CmdInputText<false>);
  table.Register("input", CmdInputText<true>);
  table.Register("inputnum", CmdInputnum);
}

}  // namespace orivane
