// The optional files that configure the shell: config.txt (its one key,
// "cdfadeoff", switches the CD fade-out off) and the marker file "probe.527"
// (debug mode: the version item edits variables). Missing files are silent.
#pragma once

#include <string_view>

namespace orivane {

struct ShellState;

// True when a line of config.txt switches the CD fade-out off: it begins with
// "cdfadeoff" (exactly, in lower case), whatever follows.
bool ConfigLineSetsCdFadeOff(std::string_view line);

// Reads config.txt and probe.527 in the current directory into the shell.
void ReadShellConfig(ShellState& shell);

}  // namespace orivane
