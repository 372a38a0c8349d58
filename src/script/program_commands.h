// Starting other programs (`winexec`, `shell`) and reading the return
// channel (`getret`).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace orivane {

// Splits a command line into arguments the way Windows programs split
// theirs: blanks separate arguments, double quotes group blanks into one
// argument and are removed, 2n backslashes before a quote give n backslashes
// (and the quote groups), 2n+1 give n backslashes and a literal quote, other
// backslashes are kept. Two-byte Shift-JIS characters are never split.
std::vector<std::string> SplitCommandLine(std::string_view sjis);

}  // namespace orivane
