// Text output: prints one gathered story-text line. For now the characters
// that would be drawn are handed to the platform as one line (the headless
// platform writes it to standard output); inline controls are carried out
// where they change engine state ({} assignments) and otherwise left out.
#pragma once

#include <string>
#include <string_view>

namespace orivane {

struct Engine;

// Once, when the Engine is made: story-text lines from the interpreter come
// to OutputText, and composition draws the text window.
void AttachText(Engine& engine);

// Before the script is loaded again: the text window as a fresh run has it.
void ResetTextForStartUp(Engine& engine);

void OutputText(Engine& engine, std::string_view sjis);

// The printable characters of a text line with every inline control removed
// (Shift-JIS in, Shift-JIS out). Brace assignments are carried out on the
// engine's variables.
std::string PrintableText(Engine& engine, std::string_view sjis);

}  // namespace orivane
