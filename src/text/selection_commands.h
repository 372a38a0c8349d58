// The commands of selections: the engine's own selection in the text window
// (`select`, `selgosub`, `selnum`), the choices handed to the script's own
// selection screen (`csel`, `getcselnum`, `getcselstr`, `cselgoto`), and how
// choices look and sound (`selectcolor`, `selectvoice`). The button that
// shows a `csel` choice (`cselbtn`) belongs to the button table; it reads the
// choice's text through SelectionState::CselText.
#pragma once

namespace orivane {

class CommandTable;

void RegisterSelectionCommands(CommandTable& table);

}  // namespace orivane
