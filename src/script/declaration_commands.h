// The *define-block commands that declare storage: `dim`, `movl`, `intlimit`,
// `numalias`, `stralias` and `globalon`.
#pragma once

namespace orivane {

class CommandTable;

void RegisterDeclarationCommands(CommandTable& table);

}  // namespace orivane
