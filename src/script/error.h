// ReportError: the single routine for script errors. It builds the report
// (message, the file and line of the script position, and an excerpt of the
// last lines up to where reading stopped), shows it through the platform and
// ends the run with exit status 1. It never returns.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "util/text_format.h"

namespace orivane {

struct Engine;
struct ScriptBuffer;

// The report text may not grow beyond this many bytes; the excerpt gives way first.
inline constexpr size_t kMaxErrorTextBytes = 4096;

// `message` and `title` are the engine's texts in UTF-8; they may contain
// %s and %d, filled from `args` (Shift-JIS bytes from the script, or numbers).
[[noreturn]] void ReportError(Engine& engine, std::string_view message, std::string_view title,
                              std::initializer_list<FormatArg> args = {});

// File number and line (from 1) of a script position. A position at or past
// the end of the script's text (among the empty lines that stand for absent
// files after the last one read) names the last file read and its last line.
struct ScriptLocation {
  int file;
  int line;
};
ScriptLocation LocatePosition(const ScriptBuffer& script, int32_t pos);

// The report text in Shift-JIS for a message already in Shift-JIS:
// "message\n\n", the location line, and the excerpt.
std::string BuildErrorReport(const ScriptBuffer& script, int32_t pos, std::string_view message_sjis);

}  // namespace orivane
