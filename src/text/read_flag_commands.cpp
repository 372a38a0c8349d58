#include "text/read_flag_commands.h"

#include "engine.h"
#include "script/command_table.h"
#include "script/expression.h"
#include "script/variable_targets.h"
#include "text/read_flags.h"

namespace orivane {
namespace {

// Read-only skipping on (1) or off (0). The window's read-flag skip items
// follow through the menu command, as when the player chooses them.
void CmdKidokumode(Engine& engine) {
  const bool on = ReadNumber(engine) != 0;
  engine.read_flags.read_only_skip = on;
  engine.shell.posted_commands.push_back(on ? menu_id::kReadSkipOn : menu_id::kReadSkipOff);
}

void CmdSkipoff(Engine& engine) {
  engine.read_flags.skip_mode = false;
  engine.shell.settings.auto_mode = false;
}

// 2 while auto mode runs, else 1 in skip mode, else 0.
void CmdIsskip(Engine& engine) {
  const int32_t n = ExpectNumVar(engine, "isskipの引数は数字変数です。");
  const int32_t state = engine.shell.settings.auto_mode ? 2 : engine.read_flags.skip_mode ? 1 : 0;
  engine.vars.SetNum(n, state);
}

void CmdAutomode(Engine& engine) { engine.read_flags.auto_mode_item = true; }

}  // namespace

void RegisterReadFlagCommands(CommandTable& table) {
  table.Register("kidokumode", CmdKidokumode);
  table.Register("skipoff", CmdSkipoff);
  table.Register("isskip", CmdIsskip);
  table.Register("automode", CmdAutomode);
}

}  // namespace orivane
