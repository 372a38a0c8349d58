// The script commands of the archive subsystem: `ora`, `or2`, `or3`,
// `oradir`, `addoradir`, `arc` and `noloaderror`, all *define-block settings.
#pragma once

namespace orivane {

class CommandTable;

void RegisterArchiveCommands(CommandTable& table);

}  // namespace orivane
