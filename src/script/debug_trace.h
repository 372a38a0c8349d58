// The debug window's engine side. While the window is open, every command
// the interpreter runs and every variable its readers read is traced: a
// command replaces the window's log with its file, line, word and the rest
// of its line, a variable read adds a line below. After `debuglog` the same
// lines are appended to "debuglog.txt". The window itself belongs to the
// platform; the player may close it, which ends the tracing.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "util/text_format.h"

namespace orivane {

struct Engine;
class CommandTable;

// The log text kept before a variable's line is added; longer text is cut
// there (at a character's start), keeping its beginning: the command.
inline constexpr size_t kMaxDebugLogBytes = 999;

struct DebugTrace {
  bool log_to_file = false;  // `debuglog`; off again at every start-up
  std::string log;           // the window's log (Shift-JIS)
};

// Opens the window (`createdebugwindow`, the "d" key); nothing when it is open.
void OpenDebugWindow(Engine& engine);

// Before a command runs: its line in the log, while the window is open.
void TraceCommand(Engine& engine, std::string_view word);

// A variable read, while the window is open. `line` is Shift-JIS.
void TraceVariable(Engine& engine, const std::string& line);
// A trace line from the engine's text (UTF-8) and its arguments (Shift-JIS).
std::string FormatTrace(std::string_view format_utf8, std::initializer_list<FormatArg> args);

// After a traced command: the step box, when the player ticked it.
void PauseForStep(Engine& engine);

// `createdebugwindow` and `debuglog`.
void RegisterDebugCommands(CommandTable& table);

}  // namespace orivane
