#include "shell/shell_commands.h"

#include "engine.h"
#include "platform/platform.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "script/readers.h"
#include "shell/menu_bar.h"
#include "shell/pump.h"
#include "text/click_wait.h"
#include "util/sjis.h"

namespace orivane {
namespace {

void CmdCaption(Engine& engine) {
  engine.shell.caption = ReadString(engine);
  engine.platform.SetCaption(SjisToUtf8(engine.shell.caption));
}

void CmdMinimizeWindow(Engine& engine) { engine.platform.Minimize(); }

void CmdMoveMouseCursor(Engine& engine) {
  int32_t x = ReadNumber(engine);
  ExpectComma(engine);
  int32_t y = ReadNumber(engine);
  engine.platform.WarpPointer(x, y);
}

void SetCursor(Engine& engine, bool absolute) {
  int32_t n = ReadNumber(engine);
  ExpectComma(engine);
  std::string file = ReadString(engine);
  ExpectComma(engine);
  int32_t x = ReadNumber(engine);
  ExpectComma(engine);
  int32_t y = ReadNumber(engine);
  if (n < 0 || n > 1) ReportError(engine, "カーソルは０（通常）と１（クリック消去用）です。", "エラー");
  SetWaitCursor(engine, n, file, x, y, absolute);
}

void CmdSetCursor(Engine& engine) { SetCursor(engine, false); }
void CmdAbsSetCursor(Engine& engine) { SetCursor(engine, true); }

void CmdResetMenu(Engine& engine) {
  ShellState& sh = engine.shell;
  if (sh.menu_custom) ReportError(engine, "resetmenuは一度だけしか使えません。", "エラー");
  sh.menu_custom = true;
  sh.bar = Menu{};
  ShowMenuBar(engine);
}

void CmdInsertMenu(Engine& engine) {
  ShellState& sh = engine.shell;
  if (!sh.menu_custom) ReportError(engine, "resetmenuを使わないとメニューをカスタムできません。", "エラー");
  std::string label = SjisToUtf8(ReadString(engine));
  ExpectComma(engine);
  std::string keyword = ReadToken(engine);
  int32_t depth = 0;
  SkipBlanks(engine);
  if (engine.script.Cur() == ',') {
    ExpectComma(engine);
    depth = ReadNumber(engine);
  }
  // The target: the bar, then `depth` times the first item's sub-menu. A
  // target that does not exist takes nothing.
  std::vector<MenuItem>* target = &sh.bar.items;
  for (int32_t i = 0; i < depth && target; ++i)
    target = (!target->empty() && target->front().IsSubMenu()) ? &target->front().children : nullptr;
  if (keyword == "textspeed") sh.text_speed_item = true;
  MenuItem item;
  if (std::optional<int32_t> command = MenuWordCommand(keyword)) {
    item.label = std::move(label);
    item.command = *command;
  } else if (keyword == "font") {
    item = BuildFontSubMenu(sh, label);
  } else if (keyword == "sub") {
    item.label = std::move(label);
  } else {
    ReportError(engine, "メニューカスタマイズ指定が間違っています。", "エラー");
  }
  if (!target) return;
  target->insert(target->begin(), std::move(item));
  ShowMenuBar(engine);
}

void CmdKillMenu(Engine& engine) {
  int32_t n = ReadNumber(engine);
  std::vector<MenuItem>& items = engine.shell.bar.items;
  if (n < 0 || static_cast<size_t>(n) >= items.size()) return;
  items.erase(items.begin() + n);
  ShowMenuBar(engine);
}

void CmdDeleteMenu(Engine& engine) { engine.shell.menu_deleted = true; }

// Pumps for a while, posts the command, and pumps again, so that the command
// takes effect as if the player had chosen it.
void PostFromScript(Engine& engine, int32_t command) {
  for (int i = 0; i < 50; ++i) PumpAfter(engine, 3);
  engine.shell.posted_commands.push_back(command);
  for (int i = 0; i < 50; ++i) PumpAfter(engine, 3);
}

template <int32_t kCommand>
void CmdMenuPost(Engine& engine) {
  PostFromScript(engine, kCommand);
}

void CmdVersionStr(Engine& engine) {
  std::string version = ReadString(engine);
  ExpectComma(engine);
  std::string credit = ReadString(engine);
  engine.shell.version_text = std::move(version);
  engine.shell.credit_text = std::move(credit);
}

void CmdUseWheel(Engine& engine) { engine.shell.wheel_input = true; }
void CmdUseEscSpc(Engine& engine) { engine.shell.esc_space_input = true; }
void CmdCtrlAlt(Engine& engine) { engine.shell.skip_key_needs_alt = true; }
// The same as `automode`: the menu bar keeps its auto-mode item. It does not
// start auto mode; the player does that from the menu.
void CmdModeExt(Engine& engine) { engine.read_flags.auto_mode_item = true; }

}  // namespace

void RegisterShellCommands(CommandTable& table) {
  using namespace menu_id;
  table.Register("caption", CmdCaption);
  table.Register("minimizewindow", CmdMinimizeWindow);
  table.Register("movemousecursor", CmdMoveMouseCursor);
  table.Register("setcursor", CmdSetCursor);
  table.Register("abssetcursor", CmdAbsSetCursor);
  table.Register("resetmenu", CmdResetMenu);
  table.Register("insertmenu", CmdInsertMenu);
  table.Register("killmenu", CmdKillMenu);
  table.Register("deletemenu", CmdDeleteMenu);
  table.Register("menu_full", CmdMenuPost<kFullScreen>);
  table.Register("menu_window", CmdMenuPost<kWindow>);
  table.Register("menu_click_page", CmdMenuPost<kClickPage>);
  table.Register("menu_click_def", CmdMenuPost<kClickDefault>);
  table.Register("menu_automode", CmdMenuPost<kAuto>);
  table.Register("menu_dwavvol", CmdMenuPost<kVolume>);
  table.Register("menu_cd_on", CmdMenuPost<kCdOn>);
  table.Register("menu_cd_off", CmdMenuPost<kCdOff>);
  table.Register("menu_end", CmdMenuPost<kEnd>);
  table.Register("versionstr", CmdVersionStr);
  table.Register("usewheel", CmdUseWheel);
  table.Register("useescspc", CmdUseEscSpc);
  table.Register("ctrlalt", CmdCtrlAlt);
  table.Register("mode_ext", CmdModeExt);
}

}  // namespace orivane
