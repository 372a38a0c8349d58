// The save commands of the script: save points on and off (`saveon`,
// `saveoff`), saving and loading a slot (`savegame`, `savegame2`,
// `loadgame`), asking about a slot (`savefileexist`, `savetime`,
// `savetime2`, `getsavestr`), the menus' texts (`savenumber`, `savename`),
// what happens around saves (`errorsave`, `loadgosub`) and `rmode`.
#pragma once

namespace orivane {

class CommandTable;

void RegisterSaveCommands(CommandTable& table);

}  // namespace orivane
