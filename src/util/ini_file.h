// Looking up a value in INI text, the way Windows profile files are read:
// "[section]" lines open sections, "key=value" lines inside them give
// values, lines starting with ';' are comments. Section and key names match
// without regard to ASCII letter case (Shift-JIS aware); names and values are
// trimmed of blanks, and a value wrapped in a pair of matching quotes loses
// them. The first matching key wins.
#pragma once

#include <optional>
#include <string_view>

namespace orivane {

std::optional<std::string_view> FindIniValue(std::string_view text, std::string_view section,
                                             std::string_view key);

// Equality of two Shift-JIS texts ignoring the case of ASCII letters; the
// second bytes of two-byte characters are compared exactly.
bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace orivane
