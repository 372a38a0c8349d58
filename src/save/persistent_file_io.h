// Reading and writing one persistent file by name, at the place
// PersistentFilePath gives. Writes are atomic (a temporary file renamed over
// the old one); reads take regular files only and never more than a bound,
// so a directory, a pipe or a huge file by that name reads as absent or cut.
// A write that fails is told: a note on standard error naming the file and
// the reason, once until the file is written again, and a message box once
// per run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "save/persistent_places.h"

namespace orivane {

struct Engine;

// Far beyond any file the engine writes (4,096 variables with their
// strings, 10,000 names in a log); a larger file is read only this far.
inline constexpr size_t kMaxPersistentFileBytes = size_t{64} << 20;

// The file's bytes, at most `limit` of them; empty when it is missing or not
// a regular file.
std::vector<uint8_t> ReadPersistentFile(const Engine& engine, std::string_view name,
                                        FilePlace place = FilePlace::kSaveDirectory,
                                        size_t limit = kMaxPersistentFileBytes);

// True when there is such a file to read.
bool PersistentFileExists(const Engine& engine, std::string_view name,
                          FilePlace place = FilePlace::kSaveDirectory);

// Writes the file whole or leaves the old one; false (and told) when it could
// not be written.
bool WritePersistentFile(Engine& engine, std::string_view name, const void* data, size_t size,
                         FilePlace place = FilePlace::kSaveDirectory);

// True for the name of a file kept here (case aside): the persistent files,
// the save games "saveN.dat" and their screen files "saveN.ss".
bool IsPersistentFileName(std::string_view name);

// Removes the temporary files that runs ended in the middle of a write left
// beside the persistent files in `host_dir` (the file itself stays as the
// last finished write left it).
void RemoveStaleTemporaryFiles(const std::string& host_dir);

}  // namespace orivane
