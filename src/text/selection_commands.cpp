#include "text/selection_commands.h"

#include <string>
#include <utility>
#include <vector>

#include "engine.h"
#include "save/save_point.h"
#include "graphics/effects.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/labels.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "text/selection_wait.h"
#include "text/text_window_display.h"

namespace orivane {
namespace {

// Reads "text, *label, text, *label …" (`with_labels`) or "text, text …". A
// comma that ends a line continues the list on the next one. Empty texts are
// left out, and so is every choice past the 50th.
std::vector<Choice> ReadChoices(Engine& engine, bool with_labels) {
  ScriptBuffer& s = engine.script;
  std::vector<Choice> choices;
  for (;;) {
    Choice c;
    c.text = ReadString(engine);
    if (with_labels) {
      ExpectComma(engine);
      c.label = ReadLabelName(engine);
    }
    if (!c.text.empty() && choices.size() < kMaxChoices) choices.push_back(std::move(c));
    SkipBlanks(engine);
    if (s.Cur() != ',') return choices;
    ExpectComma(engine);
    while (s.Cur() == '\n' || s.Cur() == '\r' || IsBlank(s.Cur())) s.Advance();
  }
}

// Shows the choices and waits: the index taken, or kSelectionAbandoned.
int32_t Choose(Engine& engine, const std::vector<Choice>& choices) {
  engine.selection.choices = choices;
  return RunSelectionWait(engine, choices);
}

void CmdSelect(Engine& engine) {
  const std::vector<Choice> choices = ReadChoices(engine, true);
  const int32_t k = Choose(engine, choices);
  if (k == kSelectionAbandoned) return;
  StartNewPageOnScreen(engine);
  JumpToLabel(engine, choices[k].label);
}

void CmdSelgosub(Engine& engine) {
  const std::vector<Choice> choices = ReadChoices(engine, true);
  const int32_t k = Choose(engine, choices);
  if (k == kSelectionAbandoned) return;
  GosubStack& stack = engine.interp.gosub;
  if (!stack.CanPush())
    ReportError(engine, "gosub文のせいでスタックが溢れました。", "スタックエラー");
  StartNewPageOnScreen(engine);
  stack.Push(engine.script.pos);
  JumpToLabel(engine, choices[k].label);
}

void CmdSelnum(Engine& engine) {
  const int32_t var = ExpectNumVar(engine, "selnumの第一引数は数値変数です。");
  ExpectComma(engine);
  const std::vector<Choice> choices = ReadChoices(engine, false);
  if (choices.empty()) {
    engine.vars.SetNum(var, -1);  // nothing to choose from
    return;
  }
  const int32_t k = Choose(engine, choices);
  if (k == kSelectionAbandoned) return;
  StartNewPageOnScreen(engine);
  engine.vars.SetNum(var, k);
}

// The script builds its own selection screen at *customsel from these.
void CmdCsel(Engine& engine) {
  engine.selection.csel = ReadChoices(engine, true);
  TurnSavePointsOff(engine, engine.save_point);
  if (!engine.text.shown) ShowTextWindow(engine);
  JumpToLabel(engine, "customsel");
}

void CmdGetcselnum(Engine& engine) {
  const int32_t var = ExpectNumVar(engine, "getcselnumの第一引数は数字変数です。");
  engine.vars.SetNum(var, static_cast<int32_t>(engine.selection.csel.size()));
  engine.vars.ApplyIntLimits();
}

void CmdGetcselstr(Engine& engine) {
  const int32_t var = ExpectStrVar(engine, "getcselstrの第一引数は文字変数です。");
  ExpectComma(engine);
  const std::string* text = engine.selection.CselText(ReadNumber(engine));
  engine.vars.SetStr(var, text ? *text : std::string());
}

// A number that names no choice does nothing.
void CmdCselgoto(Engine& engine) {
  const int32_t k = ReadNumber(engine);
  const std::vector<Choice>& csel = engine.selection.csel;
  if (k < 0 || static_cast<size_t>(k) >= csel.size()) return;
  const std::string label = csel[static_cast<size_t>(k)].label;
  StartNewPageOnScreen(engine);
  JumpToLabel(engine, label);
}

uint32_t ReadSelectColor(Engine& engine) {
  return ExpectLiteralColor(engine, "selectcolorのパラメータが違います。", "エラー");
}

void CmdSelectcolor(Engine& engine) {
  const uint32_t highlight = ReadSelectColor(engine);
  ExpectComma(engine);
  const uint32_t normal = ReadSelectColor(engine);
  engine.selection.highlight_color = highlight;
  engine.selection.normal_color = normal;
}

void CmdSelectvoice(Engine& engine) {
  SelectionState& sel = engine.selection;
  std::string shown = ReadString(engine);
  ExpectComma(engine);
  std::string over = ReadString(engine);
  ExpectComma(engine);
  sel.voice_taken = ReadString(engine);
  sel.voice_shown = std::move(shown);
  sel.voice_over = std::move(over);
}

}  // namespace

void RegisterSelectionCommands(CommandTable& table) {
  table.Register("select", CmdSelect);
  table.Register("selgosub", CmdSelgosub);
  table.Register("selnum", CmdSelnum);
  table.Register("csel", CmdCsel);
  table.Register("getcselnum", CmdGetcselnum);
  table.Register("getcselstr", CmdGetcselstr);
  table.Register("cselgoto", CmdCselgoto);
  table.Register("selectcolor", CmdSelectcolor);
  table.Register("selectvoice", CmdSelectvoice);
}

}  // namespace orivane
