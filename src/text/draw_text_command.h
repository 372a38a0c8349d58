// `drawtext`: the text window (frame and text) painted straight into the
// display surface, for a script that draws its screen with the draw
// commands and shows it with `draw`.
#pragma once

namespace orivane {

class CommandTable;

void RegisterDrawTextCommand(CommandTable& table);

}  // namespace orivane
