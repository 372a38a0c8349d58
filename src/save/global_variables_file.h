// "gloval.sav": the global variables, from the GlobalBorder to 4095, kept
// from run to run once the *define block said `globalon`. For each number in
// order: the numeric value (32-bit little-endian), then the string's bytes
// and a zero byte. No header: the GlobalBorder of the script says where the
// records begin.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orivane {

struct Engine;
class Variables;

inline constexpr std::string_view kGlobalVariablesFile = "gloval.sav";

// The file's bytes for the global range of `vars` (a border outside 0 ...
// 4096 is taken as the nearer end).
std::vector<uint8_t> EncodeGlobalVariables(const Variables& vars, int32_t border);

// Sets every global variable from the bytes; records the bytes do not hold
// (a file that ends after fewer records, or an empty one) give 0 and the
// empty string. False, with `vars` untouched, when the bytes are damaged: a
// record is cut (an integer short of its four bytes, a string without its
// zero byte). Bytes after the last global's record are not read.
bool DecodeGlobalVariables(const std::vector<uint8_t>& bytes, int32_t border, Variables& vars);

// After `globalon`: writes the file whole (or not at all). True when written
// or when there is nothing to write.
bool WriteGlobalVariablesFile(Engine& engine);

// At start-up, once the script's GlobalBorder is known: the global range
// from the file, or cleared when there is none or it is damaged (with a note).
void LoadGlobalVariablesFile(Engine& engine);

}  // namespace orivane
