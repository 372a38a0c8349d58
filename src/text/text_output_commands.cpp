#include "text/text_output_commands.h"

#include <algorithm>
#include <string>

#include "engine.h"
#include "script/command_table.h"
#include "script/expression.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "text/text_layout.h"
#include "text/text_output.h"
#include "text/text_window_display.h"

namespace orivane {
namespace {

void CmdPuttext(Engine& engine) { OutputText(engine, ReadString(engine)); }

void CmdBr(Engine& engine) { BreakLine(engine, engine.text); }

void CmdTextclear(Engine& engine) { StartNewPageOnScreen(engine); }

void CmdTextgosub(Engine& engine) {
  engine.interp.textgosub_label = ReadLabelName(engine);
  engine.interp.textgosub_on = true;
}

// Inside the `textgosub` routine, once per wait that called it: what the
// wait would have done to the page after the click.
void CmdTexec(Engine& engine) {
  TextOutputState& out = engine.text_out;
  if (!out.routine_wait_pending) return;
  out.routine_wait_pending = false;
  if (out.routine_wait == TextWaitKind::kPage)
    StartNewPageOnScreen(engine);
  else if (out.routine_wait_at_line_end && engine.text.column != 0)
    BreakLine(engine, engine.text);
}

void CmdIspage(Engine& engine) {
  const int32_t n = ExpectNumVar(engine, "ispageの引数は数字変数です。");
  engine.vars.SetNum(n, engine.text_out.routine_wait == TextWaitKind::kPage ? 1 : 0);
}

void CmdClickskippage(Engine& engine) { engine.text_out.click_skips_page = true; }

void CmdAutoclick(Engine& engine) { engine.text_out.auto_click_ms = std::max(0, ReadNumber(engine)); }

void CmdAutomodeTime(Engine& engine) { engine.text_out.auto_mode_ms = ReadNumber(engine); }

void CmdAutomodeTime2(Engine& engine) {
  TextOutputState& out = engine.text_out;
  out.auto_mode_min = ReadNumber(engine);
  ExpectComma(engine);
  out.auto_mode_ms = ReadNumber(engine);
  ExpectComma(engine);
  out.auto_mode_max = ReadNumber(engine);
}

// Reads "%x,%y" and stores the pair.
void StorePosition(Engine& engine, const char* message, int32_t x, int32_t y) {
  const int32_t vx = ExpectNumVar(engine, message);
  ExpectComma(engine);
  const int32_t vy = ExpectNumVar(engine, message);
  engine.vars.SetNum(vx, x);
  engine.vars.SetNum(vy, y);
}

void CmdGetcursorpos(Engine& engine) {
  const PenPosition p = CursorCellPosition(engine.text);
  StorePosition(engine, "getcurposの第１，２引数は数字変数です。", p.x, p.y);
}

void CmdGetnextline(Engine& engine) {
  const TextWindow& w = engine.text;
  StorePosition(engine, "getnextlineの第１，２引数は数字変数です。", w.text_left,
                (w.line + 1) * w.advance_y + w.text_top);
}

}  // namespace

void RegisterTextOutputCommands(CommandTable& table) {
  table.Register("puttext", CmdPuttext);
  table.Register("br", CmdBr);
  table.Register("textclear", CmdTextclear);
  table.Register("textgosub", CmdTextgosub);
  table.Register("texec", CmdTexec);
  table.Register("ispage", CmdIspage);
  table.Register("clickskippage", CmdClickskippage);
  table.Register("autoclick", CmdAutoclick);
  table.Register("automode_time", CmdAutomodeTime);
  table.Register("automode_time2", CmdAutomodeTime2);
  table.Register("getcursorpos", CmdGetcursorpos);
  table.Register("getnextline", CmdGetnextline);
}

}  // namespace orivane
