// Game files as the general commands see them. Every lookup goes through
// these two functions, so that the archive layer can be put behind them in
// one place: for now they find loose files in the game directory only.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orivane {

struct Engine;

// True when the game file (Shift-JIS name, '\' separators, any case) exists.
bool GameFileExists(Engine& engine, std::string_view sjis_name);

// Reads the whole game file; false when it cannot be found or read.
bool ReadGameFile(Engine& engine, std::string_view sjis_name, std::vector<uint8_t>& out);

// Reports the error that ends the run when a script asks to write or delete
// a file outside the game directory.
void CheckWritableName(Engine& engine, std::string_view sjis_name);

// The file that stands in for the registry: sections are key paths under
// the current user's hive, keys are value names.
inline constexpr const char* kRegistryFile = "registry.ini";

}  // namespace orivane
