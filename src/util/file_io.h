// Small file helpers shared by the loaders. Names are relative to the current
// directory, which is the game directory while the engine runs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace orivane {

// True when a regular file (or anything openable by name) exists.
bool FileExists(const std::string& name);

// Size in bytes, or nullopt when the file cannot be examined.
std::optional<uint64_t> FileSize(const std::string& name);

// Size of an open regular file (its position is kept), or nullopt.
std::optional<uint64_t> OpenFileSize(std::FILE* file);

// True when `name` is a regular file.
bool IsRegularFile(const std::string& name);

// Creates `path` for writing, readable by this user only; an existing file is
// emptied, but a symbolic link in its place is never followed. nullptr when
// it cannot be made.
std::FILE* CreatePrivateFile(const std::string& path);

// Reads a whole file as bytes. Returns false when it cannot be opened or read.
bool ReadFileBytes(const std::string& name, std::vector<uint8_t>& out);

// Reads the start of a regular file into `out`, at most `out.size()` bytes,
// and returns how many it read. Anything else by that name (a directory, a
// pipe that would block) and a file that cannot be opened give 0.
size_t ReadFileStart(const std::string& name, std::vector<uint8_t>& out);

// Appends a whole file to `out`. Returns false when it cannot be opened or read
// (`out` may then hold part of the file after its old end).
bool AppendFileBytes(const std::string& name, std::vector<uint8_t>& out);

// Writes bytes to a temporary file beside `name` and renames it over `name`, so
// that a crash or a full disk never leaves a half-written file behind.
bool WriteFileAtomically(const std::string& name, const void* data, size_t size);

// Finishes a file written at `temp_path` (flushed to the disk and closed) and
// renames it over `final_path`. When `ok` is false (the writing failed) or any
// step fails, the temporary file is removed, `final_path` is left as it was,
// and the result is false.
bool FinishAndRename(std::FILE* f, const std::string& temp_path, const std::string& final_path, bool ok = true);

}  // namespace orivane
