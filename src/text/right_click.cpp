#include "text/right_click.h"

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/labels.h"
#include "script/readers.h"
#include "text/back_log_viewer.h"

namespace orivane {
namespace {

// Calls the `rgosub` routine as a subroutine from the wait in progress.
void CallRightClickRoutine(Engine& engine, const std::string& label, bool redo_text_wait) {
  GosubStack& stack = engine.interp.gosub;
  if (!stack.CanPush())
    ReportError(engine, "rgosub処理のせいでスタックが溢れました。", "スタックエラー");
  const int32_t back = engine.script.pos;
  stack.Push(back);
  InterruptedWait& cut = engine.interp.interrupted_wait;
  cut.depth = stack.depth();
  cut.position = back;
  cut.redo = !redo_text_wait ? "" : engine.text_out.last_wait == TextWaitKind::kPage ? "\\" : "@";
  JumpToLabel(engine, label);
}

void CmdRoff(Engine& engine) {
  engine.text_out.right_click.mode = RightClickMode::kOff;
}

void CmdRlookback(Engine& engine) {
  engine.text_out.right_click.mode = RightClickMode::kBackLog;
}

void CmdRgosub(Engine& engine) {
  RightClickMode& rc = engine.text_out.right_click;
  rc.label = ReadLabelName(engine);
  rc.mode = RightClickMode::kSubroutine;
}

}  // namespace

RightClickEnd RunRightClickAction(Engine& engine, bool redo_text_wait) {
  const RightClickMode& rc = engine.text_out.right_click;
  const int32_t before = engine.script.pos;
  if (!rc.enabled) return RightClickEnd::kWaitGoesOn;
  switch (rc.mode) {
    case RightClickMode::kSubroutine:
      CallRightClickRoutine(engine, rc.label, redo_text_wait);
      return RightClickEnd::kRoutineCalled;
    case RightClickMode::kBackLog:
      OpenBackLog(engine);
      break;
    case RightClickMode::kSystemMenu:
      if (rc.system_menu) rc.system_menu(engine);
      break;
    case RightClickMode::kOff:
    default:
      break;
  }
  // What the menu may do (a reset, a load) ends the wait as well.
  if (engine.interp.reset_request || engine.script.pos != before)
    return RightClickEnd::kScriptMoved;
  return RightClickEnd::kWaitGoesOn;
}

void RegisterRightClickCommands(CommandTable& table) {
  table.Register("roff", CmdRoff);
  table.Register("rlookback", CmdRlookback);
  table.Register("rgosub", CmdRgosub);
}

}  // namespace orivane
