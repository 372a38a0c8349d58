// The draw commands: `draw`, `drawclear`, `drawfill`, `drawbg`, `drawbg2`,
// `drawsp`, `drawsp2`, `drawsp3`, `ofscopy`/`ofscpy` and `bgcopy`/`bgcpy`
// (direct_draw.h). `drawtext` belongs to the text window (text/).
#pragma once

namespace orivane {

class CommandTable;

void RegisterDirectDrawCommands(CommandTable& table);

}  // namespace orivane
