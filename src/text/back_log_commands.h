// The commands of the back-log: logging on and off (`lookbackon`,
// `lookbackoff`), its size (`maxkaisoupage`), committing and dropping the
// page being collected (`textcommit`, `lookbackflush`), the viewer's look
// (`lookbackcolor`, `lookbackbutton`, `lookbacksp`, `lookbackvoice`) and
// reading the pages (`gettext`, `getlog`, `checkpage`). The sprites made from
// pages (`logsp` …) are with the other text-page sprites.
#pragma once

namespace orivane {

class CommandTable;

void RegisterBackLogCommands(CommandTable& table);

}  // namespace orivane
