// Pure helpers of the string and date commands, exposed for tests.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

namespace orivane {

// The bytes of `text` whose offsets lie in [start, start + length), counted
// in bytes from 0 (so a two-byte character may be cut). A range reaching
// before the start or past the end of the text is cut to the text.
std::string_view MidBytes(std::string_view text, int32_t start, int32_t length);

// Byte-wise unsigned comparison: -1, 0 or 1.
int32_t CompareBytes(std::string_view a, std::string_view b);

// The next field of `source` from `pos` up to the one-byte delimiter (two-byte
// characters are copied whole and never matched); `pos` moves past the
// delimiter. At the end of the source every further field is empty.
std::string_view NextField(std::string_view source, size_t& pos, char delimiter);

// Two-digit year, month and day of a broken-down local time.
struct DateFields {
  int32_t year2, month, day;
};
DateFields DateOf(const std::tm& t);

}  // namespace orivane
