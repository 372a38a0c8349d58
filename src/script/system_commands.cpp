#include "script/system_commands.h"

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/readers.h"
#include "script/variable_targets.h"
#include "util/file_io.h"

namespace orivane {
namespace {

void CmdGetwindowsize(Engine& engine) {
  int32_t width_var = ExpectNumVar(engine, "");
  ExpectComma(engine);
  int32_t height_var = ExpectNumVar(engine, "");
  engine.vars.SetNum(width_var, engine.screen_width);
  engine.vars.SetNum(height_var, engine.screen_height);
  engine.vars.ApplyIntLimits();
}

void CmdIsfull(Engine& engine) {
  int32_t var = ExpectNumVar(engine, "isfullの引数は数字変数です。");
  engine.vars.SetNum(var, engine.shell.full_screen ? 1 : 0);
  engine.vars.ApplyIntLimits();
}

// 1 when the debugging marker file is present in the game directory.
void CmdChkdbg(Engine& engine) {
  int32_t var = ExpectNumVar(engine, "chkdbgの引数は数字変数です。");
  engine.vars.SetNum(var, FileExists("58203749") ? 1 : 0);
}

}  // namespace

void RegisterSystemCommands(CommandTable& table) {
  table.Register("getwindowsize", CmdGetwindowsize);
  table.Register("chkdbg", CmdChkdbg);
  table.Register("isfull", CmdIsfull);
}

}  // namespace orivane
