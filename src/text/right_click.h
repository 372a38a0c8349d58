// The right-click action: what a right click (or Escape) at a wait does, by
// the right-click mode — nothing (`roff`), the back-log (`rlookback`), the
// system menu (`rmenu`, the default) or a routine of the script (`rgosub`).
// Every wait that offers it calls RunRightClickAction; the text click and
// page waits do today. The mode lives in TextOutputState::right_click.
#pragma once

namespace orivane {

struct Engine;
class CommandTable;

enum class RightClickEnd {
  kWaitGoesOn,     // the wait goes on: nothing was done, or what opened has closed again
  kRoutineCalled,  // the `rgosub` routine runs next: the wait is abandoned, and the
                   // routine's `return` redoes it
  kScriptMoved,    // a reset or a jump took the script elsewhere: the wait is abandoned
};

// Runs the action of the current mode. Mode 2 pushes the script position as
// it is (so the routine returns there) and marks the last text wait
// (TextOutputState::last_wait) as interrupted; a full GosubStack reports
// "rgosub処理のせいでスタックが溢れました。". The back-log and the system menu
// do not exist yet: their modes leave the wait going on.
// A wait that is not a text wait (a selection) passes `redo_text_wait` false:
// its routine returns behind the command without redoing anything.
RightClickEnd RunRightClickAction(Engine& engine, bool redo_text_wait = true);

// `roff`, `rlookback`, `rgosub` (all only in the *define block).
void RegisterRightClickCommands(CommandTable& table);

}  // namespace orivane
