// The execution loop: one statement at a time from the script position.
// Commands go to DispatchCommand; story-text lines are gathered (variables
// expanded, numbers in full-width digits) and handed to text output.
#pragma once

#include <string>
#include <string_view>

#include "script/interpreter_state.h"

namespace orivane {

struct Engine;

// A gathered text line never grows beyond this many bytes; the rest is cut.
inline constexpr size_t kMaxTextLineBytes = 4096;

// Runs statements until `game` ends the define phase, a stop or quit request,
// or the run ends (EngineExit).
void ExecuteScript(Engine& engine, RunMode mode);

// Runs one command word (lower case, position after the word and its blanks).
void DispatchCommand(Engine& engine, std::string_view word, RunMode mode);

// The two halves of DispatchCommand: what the word names, and running it.
ResolvedCommand ResolveCommand(const Engine& engine, std::string word);
void RunCommand(Engine& engine, const ResolvedCommand& command, RunMode mode);

// Gathers the text line at the script position into Shift-JIS bytes, as the
// loop hands it to text output (including line-end waits). Exposed for tests.
std::string GatherTextLine(Engine& engine);

// Appends a number as full-width digits ("－" first when negative).
void AppendFullWidthNumber(std::string& out, int32_t value);

}  // namespace orivane
