// The plain waits for the player and the clock: click waits without text
// (`click`, `lrclick`, `clickpos`), timed waits (`wait`, `delay`), the script's
// stopwatch (`resettimer`, `waittimer`, `gettimer`), the pointer and the left
// button now (`getmousepos`, `isdown`) and the click-wait sounds (`clickvoice`).
// Every wait sleeps on events with a deadline; on the headless virtual clock
// a timed wait takes exactly its time and no real time at all.
#pragma once

namespace orivane {

class CommandTable;

void RegisterInputWaitCommands(CommandTable& table);

}  // namespace orivane
