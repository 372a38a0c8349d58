#include "script/debug_trace.h"

#include <cstdio>
#include <string>

#include "engine.h"
#include "platform/platform.h"
#include "script/command_table.h"
#include "script/error.h"
#include "script/expression.h"
#include "util/sjis.h"

namespace orivane {
namespace {

constexpr const char* kLogFile = "debuglog.txt";

// Appends one line to the log file; a file that cannot be opened is skipped
// for that line.
void AppendToLogFile(const std::string& text) {
  if (std::FILE* f = std::fopen(kLogFile, "ab")) {
    std::fwrite(text.data(), 1, text.size(), f);
    std::fwrite("\r\n", 1, 2, f);
    std::fclose(f);
  }
}

// Whether tracing goes on: the window may have been closed by the player.
bool StillOpen(Engine& engine) {
  if (engine.interp.variable_trace == 0) return false;
  if (engine.platform.DebugWindow().open) return true;
  engine.interp.variable_trace = 0;
  return false;
}

void Show(Engine& engine) { engine.platform.ShowDebugLog(SjisToUtf8(engine.interp.debug.log)); }

void CmdCreatedebugwindow(Engine& engine) { OpenDebugWindow(engine); }

void CmdDebuglog(Engine& engine) { engine.interp.debug.log_to_file = ReadNumber(engine) != 0; }

}  // namespace

std::string FormatTrace(std::string_view format_utf8, std::initializer_list<FormatArg> args) {
  return FormatBytes(Utf8ToSjis(format_utf8), args);
}

void OpenDebugWindow(Engine& engine) {
  if (StillOpen(engine)) return;
  engine.interp.variable_trace = 1;
  engine.interp.debug.log.clear();
  Show(engine);
}

void TraceCommand(Engine& engine, std::string_view word) {
  if (!StillOpen(engine)) return;
  const ScriptBuffer& s = engine.script;
  const ScriptLocation at = LocatePosition(s, s.pos);
  int32_t end = s.pos;
  while (end < s.length && s.At(end) != '\n' && s.At(end) != '\r') ++end;
  std::string& log = engine.interp.debug.log;
  log = FormatTrace("%d.txt line:%d 命令:%s\r\n> ", {int64_t{at.file}, int64_t{at.line}, word});
  log.append(reinterpret_cast<const char*>(s.bytes.data()) + s.pos, static_cast<size_t>(end - s.pos));
  Show(engine);
  if (engine.interp.debug.log_to_file) AppendToLogFile(log);
}

void TraceVariable(Engine& engine, const std::string& line) {
  if (!StillOpen(engine)) return;
  std::string& log = engine.interp.debug.log;
  log = std::string(CutAtCharacter(log, kMaxDebugLogBytes)) + "\r\n" + line;
  Show(engine);
  if (engine.interp.debug.log_to_file) AppendToLogFile(line);
}

void PauseForStep(Engine& engine) {
  if (!StillOpen(engine) || !engine.platform.DebugWindow().step) return;
  if (engine.interp.step_pause) engine.interp.step_pause(engine);
}

void RegisterDebugCommands(CommandTable& table) {
  table.Register("createdebugwindow", CmdCreatedebugwindow);
  table.Register("debuglog", CmdDebuglog);
}

}  // namespace orivane
