#include "shell/dialog_commands.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine.h"
#include "player_waits.h"
#include "script/command_table.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "shell/input_dialog.h"
#include "shell/text_field.h"
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

// The edit field over the game picture: left, top, right and bottom edges
// (inclusive), the font's width and height, and the full-width switch.
void CmdTextfield(Engine& engine) {
  const int32_t n = ExpectStrVar(engine, "textfield命令の第一引数は文字列変数です", "エラー");
  int32_t numbers[7];
  for (int32_t& v : numbers) {
    ExpectComma(engine);
    v = ReadNumber(engine);
  }
  const auto [left, top, right, bottom, font_width, font_height, full_width_only] = numbers;
  TextFieldRequest field;
  field.x = left;
  field.y = top;
  field.width = static_cast<int32_t>(std::clamp<int64_t>(int64_t{right} - left + 1, 0, INT32_MAX));
  field.height = static_cast<int32_t>(std::clamp<int64_t>(int64_t{bottom} - top + 1, 0, INT32_MAX));
  field.font_width = font_width;
  field.font_height = font_height;
  field.text = SjisToUtf8(engine.vars.Str(n));
  engine.vars.SetStr(n, RunTextField(engine, field, full_width_only != 0));
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
  table.Register("textfield", CmdTextfield);
}

}  // namespace orivane
