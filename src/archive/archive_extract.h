// Writing archived files out as real files into the engine's temporary
// directory, for the players that can only open a file by name; and the
// archive readers registered with `arc`.
#pragma once

#include <string>
#include <string_view>

namespace orivane {

struct Engine;
struct ArchiveLocation;

// Looks `path` up in the archives (when they are on) and then in the plug-in
// archives. When found, writes the decoded file into the temporary directory
// under the name's last part, replaces `path` with that file and returns
// true; otherwise returns false and leaves `path` alone. A file that cannot be
// written, or an SPB picture (which is no file), is reported as
// "%sが開けませんでした。".
bool ExtractArchived(Engine& engine, std::string& path);

// The archive step alone, for an entry already located under `name`: the
// path of the file written, or the report above.
std::string ExtractEntry(Engine& engine, std::string_view name, const ArchiveLocation& entry);

// The report of an archived file that cannot be had as a file:
// "%sが開けませんでした。" with the normalised name, title "エラー". Ends the run.
[[noreturn]] void ReportCannotExtract(Engine& engine, std::string_view name);

// The plug-in archive step alone: asks each registered reader in turn.
bool ExtractFromPluginArchives(Engine& engine, std::string& path);

}  // namespace orivane
