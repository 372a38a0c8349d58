// Finding label lines in the script bytes at memory speed: the next '*' that
// is the first non-blank byte of its line. The bytes are classified 64 at a
// time (SSE2 where the CPU has it, a plain loop elsewhere); only the '*'
// bytes found are looked at one by one, and most of those are told apart by
// the byte before them.
#pragma once

#include <cstdint>

namespace orivane {

// The position of the first '*' at or after `from` whose line holds only
// blanks (space, tab) before it, where `from` counts as the start of a line;
// -1 when a NUL byte comes first. The bytes from `from` must run into a NUL
// at or before `length`, and 16 bytes past `length` must be readable (the
// script buffer's padding).
int32_t FindLabelStar(const uint8_t* bytes, int32_t from, int32_t length);

namespace label_scan_detail {
// The same scan on the plain path that CPUs without SSE2 take, so that it
// can be checked against the vector one.
int32_t FindLabelStarPlain(const uint8_t* bytes, int32_t from, int32_t length);
}  // namespace label_scan_detail

}  // namespace orivane
