// Shift-JIS helpers. Script text stays Shift-JIS bytes inside the engine;
// these convert at the edges (standard output, window captions, messages).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace orivane {

// True for a byte that starts a two-byte Shift-JIS character (0x81-0x9F, 0xE0-0xFC).
constexpr bool IsSjisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

// Converts Shift-JIS (Windows code page 932) to UTF-8. Bytes that do not form a
// valid character become U+FFFD; the conversion never fails.
std::string SjisToUtf8(std::string_view sjis);

// Converts UTF-8 to Shift-JIS (code page 932). Characters without a Shift-JIS
// form become '?'. Used for the engine's own message texts, which are written
// in UTF-8 in the source.
std::string Utf8ToSjis(std::string_view utf8);

// At most `limit` bytes of the Shift-JIS text, never ending in the first
// half of a two-byte character (which would join whatever follows).
std::string_view CutAtCharacter(std::string_view sjis, size_t limit);

// The Unicode code point of one Shift-JIS character (its one or two bytes);
// 0 for bytes that form no character.
char32_t SjisCodePoint(std::string_view one_character);

}  // namespace orivane
