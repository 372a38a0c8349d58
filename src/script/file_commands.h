// The file commands' shared pieces. Files are read through the archive file
// layer (archive/file_layer.h): loose file first, then the archives.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace orivane {

struct Engine;

// True when the game file (Shift-JIS name, '\' separators, any case) exists
// on disk, or in an archive once archive reading is switched on.
bool GameFileExists(Engine& engine, std::string_view sjis_name);

// Reports the error that ends the run when a script asks to write or delete
// a file outside the game directory.
void CheckWritableName(Engine& engine, std::string_view sjis_name);

// The file that stands in for the registry: sections are key paths under
// the current user's hive, keys are value names.
inline constexpr const char* kRegistryFile = "registry.ini";

}  // namespace orivane
