// Test support: plug-ins built from C source by the system compiler into a
// game directory, against the engine's plug-in header.
#pragma once

#include <string>

#include "support/game_fixture.h"

namespace orivane::test {

// Compiles `source` into NAME.so in the game directory, with the plug-in
// header on the include path. False when no C compiler runs.
bool BuildPluginInto(const GameDir& game, const std::string& name, const std::string& source);

}  // namespace orivane::test
