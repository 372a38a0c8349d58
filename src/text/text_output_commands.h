// The commands of text output: printing (`puttext`, `br`, `textclear`), the
// script's routine at waits (`textgosub`, `texec`, `ispage`), what shortens
// waits (`clickskippage`, `autoclick`, `automode_time`, `automode_time2`)
// and where the text cursor stands (`getcursorpos`, `getnextline`).
#pragma once

namespace orivane {

class CommandTable;

void RegisterTextOutputCommands(CommandTable& table);

}  // namespace orivane
