// Statements that run without reading their text again. The statement cache
// (InterpreterState::command_cache) keeps, for `mov` and `add` of a numeric
// variable, and `if` / `notif` with one comparison of numbers, what
// the arguments were read as: the variable number and the postfix programs
// of the expressions. Running such a statement again sets the script
// position where reading the text would have left it and computes the same
// values from the same variables.
//
// A statement is compiled by its first run from the cache: the loop turns
// recording on, and the handler, having read its arguments with the ordinary
// readers, notes what it read. Only what cannot change meaning is noted: a
// variable number written as digits or an alias, and expressions that the
// expression cache keeps (literals, aliases, plain %n). A handler that notes
// nothing leaves its statement plain.
#pragma once

#include <cstdint>

#include "script/interpreter_state.h"

namespace orivane {

struct Engine;

// Starts recording the statement about to run (the loop calls this).
void StartRecording(InterpreterState& st);
// After the statement ran: keeps what its handler noted in the cache entry
// at `start`, or marks the entry plain. Nothing is kept when recording was
// turned off meanwhile (another statement ran inside the handler).
void FinishRecording(Engine& engine, int32_t start);

// For handlers: the expression read from `start` to `end` as its kept
// program; false when the expression cache does not keep it.
bool NoteExpression(Engine& engine, int32_t start, int32_t end, CompiledExpression& out);
// For handlers, after their arguments were read: the statement's compiled form.
void NoteStatement(Engine& engine, const CompiledStatement& statement);

// Whether a compiled form may run now: it exists, and variable reads are not
// being traced (tracing reads the text).
inline bool CanRunCompiled(const InterpreterState& st, const CompiledStatement& c) {
  return c.kind > CompiledStatement::Kind::kPlain && st.variable_trace == 0;
}
// Runs a compiled statement; the position is after the command word.
void RunCompiled(Engine& engine, const CompiledStatement& c);

}  // namespace orivane
