// File names given by scripts. Scripts name files the way the games were
// written for: '\' as the separator and any letter case. These helpers turn
// such a name into a path on this machine relative to the game directory
// (the current directory while the engine runs), and decide whether a name
// may be written or deleted by a script: only names inside the game
// directory are.
#pragma once

#include <string>
#include <string_view>

namespace orivane {

// True when the Shift-JIS name is relative and stays inside the game
// directory: not empty, no leading separator, no drive letter or other ':',
// no ".." component. Both '\' and '/' count as separators; a '\' that is the
// second byte of a two-byte character does not.
bool IsInsideGameDirectory(std::string_view sjis_name);

// The host path of a Shift-JIS name: separators become '/', the text becomes
// UTF-8. When that path does not exist, each component is looked up without
// regard to ASCII letter case; components that are not found are kept as
// written (so the result also names a file about to be created).
std::string HostPath(std::string_view sjis_name);

// The extension of a file name after its last '.', in ASCII lower case (the
// games' names come in any case); empty when there is none.
std::string LowerExtension(std::string_view name);

}  // namespace orivane
