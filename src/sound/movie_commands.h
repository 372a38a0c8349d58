// The movie commands: `avi`, `mpegplay`, `mpegplay2`, `movie` (with its
// options pos/position, click, loop and async, or the word stop) and `swf`,
// which is accepted and does nothing.
#pragma once

namespace orivane {

class CommandTable;

void RegisterMovieCommands(CommandTable& table);

}  // namespace orivane
