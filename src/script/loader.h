// LoadScript: builds the script buffer from the numbered files 0.txt ... 99.txt
// (00.txt ... 09.txt as alternatives) or from the packed orscript.zat /
// orscript.dat in the current directory, and applies the header comments
// (";mode800", ";mode400", ";mode320", ";value").
#pragma once

#include <cstdint>
#include <string>

namespace orivane {

struct Engine;

// The largest script accepted; a bigger one is reported instead of loaded.
inline constexpr uint64_t kMaxScriptBytes = 512ull * 1024 * 1024;

void LoadScript(Engine& engine);

// The name of numbered script file `n`: "7.txt", or "07.txt" with the zero.
std::string ScriptFileName(int n, bool zero_prefixed = false);

// Applies the header comments at the start of the buffer: screen size and the
// first global variable number.
void ApplyScriptHeader(Engine& engine);

}  // namespace orivane
