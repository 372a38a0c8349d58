#include "script/system_commands.h"

#include "engine.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/readers.h"
#include "util/file_io.h"

namespace orivane {
namespace {

// Reads "%n" and returns n; anything else is reported with `message`.
int32_t ReadVariableArgument(Engine& engine, std::string_view message) {
  SkipBlanks(engine);
  if (engine.script.Cur() != '%') ReportError(engine, message, "構文エラー");
  engine.script.Advance();
  return ReadNumberTerm(engine);
}

void CmdGetwindowsize(Engine& engine) {
  int32_t width_var = ReadVariableArgument(engine, "");
  ExpectComma(engine);
  int32_t height_var = ReadVariableArgument(engine, "");
  engine.vars.SetNum(width_var, engine.screen_width);
  engine.vars.SetNum(height_var, engine.screen_height);
  engine.vars.ApplyIntLimits();
}

// 1 when the debugging marker file is present in the game directory.
void CmdChkdbg(Engine& engine) {
  int32_t var = ReadVariableArgument(engine, "chkdbgの引数は数字変数です。");
  engine.vars.SetNum(var, FileExists("58203749") ? 1 : 0);
}

}  // namespace

void RegisterSystemCommands(CommandTable& table) {
  table.Register("getwindowsize", CmdGetwindowsize);
  table.Register("chkdbg", CmdChkdbg);
}

}  // namespace orivane
