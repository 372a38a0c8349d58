// The Japanese line-breaking rule of the text grid. After each character is
// drawn (and the column advanced), the text that follows decides whether the
// line must break now: closing punctuation may not begin a line and opening
// brackets may not end one, so a character that would stand last on a line
// moves to the next line together with what may not be parted from it.
// Only two-byte Shift-JIS characters take part; single-byte characters (the
// inline controls among them) are passed over.
#pragma once

#include <cstdint>
#include <string_view>

namespace orivane {

// 、。，．・？！゛゜ヽヾゝゞ々ー）］｝」』: may not begin a line.
bool MayNotBeginLine(uint8_t lead, uint8_t trail);

// （［｛「『: may not end a line.
bool MayNotEndLine(uint8_t lead, uint8_t trail);

// How many of the following characters are chained to the next one: k of the
// rule. `following` is the text after the character just drawn; at most its
// first 128 bytes are looked at.
int ChainedCharacters(std::string_view following);

// True when the line must break now: the column (already advanced past the
// character just drawn) plus the chained characters reach the limit (the
// columns in horizontal writing, the rows in vertical writing). A full line
// breaks in any case.
bool MustBreakLine(int32_t column, int32_t limit, std::string_view following);

}  // namespace orivane
