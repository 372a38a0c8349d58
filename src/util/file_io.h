// Small file helpers shared by the loaders. Names are relative to the current
// directory, which is the game directory while the engine runs.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
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
// that a crash or a full disk never leaves a half-written file behind. On
// failure `reason` (when given) says why, as strerror words, and `name` is
// left as it was.
bool WriteFileAtomically(const std::string& name, const void* data, size_t size,
                         std::string* reason = nullptr);

// Creates a new temporary file in the folder of `final_path`, named
// "<final name>.XXXXXX.tmp" with a fresh random part: made exclusively, so no
// existing file or symbolic link by that name is ever opened or followed.
// `temp_path` receives its path; nullptr (errno set) when none can be made.
std::FILE* CreateTemporaryBeside(const std::string& final_path, std::string& temp_path);

// Finishes a file written at `temp_path` (flushed to the disk and closed) and
// renames it over `final_path`. When `ok` is false (the writing failed) or any
// step fails, the temporary file is removed, `final_path` is left as it was,
// and the result is false; `reason` (when given) then holds the first
// failure's strerror words (the caller's own when `ok` came in false with
// errno set by its write).
bool FinishAndRename(std::FILE* f, const std::string& temp_path, const std::string& final_path, bool ok = true,
                     std::string* reason = nullptr);

// True for a temporary file of a file whose name `is_ours` accepts: a name
// CreateTemporaryBeside makes ("base.XXXXXX.tmp") or the older fixed one
// ("base.tmp").
bool IsTemporaryFileOf(std::string_view name, const std::function<bool(std::string_view)>& is_ours);

// Removes, in `dir`, every temporary file of a file `is_ours` accepts
// (IsTemporaryFileOf): regular files and symbolic links only (a link itself,
// never what it points to). Returns how many it removed.
size_t RemoveTemporaryFilesIn(const std::string& dir, const std::function<bool(std::string_view)>& is_ours);

// Writes `data` as the file `relative` (its parts separated by '/', none
// empty, "." or "..") under the folder `dir`, making the folders between.
// Never leaves `dir` through a symbolic link: a folder on the way that is a
// link refuses the write, and a link standing at the file's own name is
// replaced, never written through. The file is written beside its place and
// renamed over it. False with `reason` set when refused or failed.
bool WriteFileBelow(const std::string& dir, const std::string& relative, const void* data, size_t size,
                    std::string& reason);

}  // namespace orivane
