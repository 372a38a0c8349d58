#include "script/control_commands.h"

#include "engine.h"
#include "script/command_table.h"

namespace orivane {
namespace {

// Ends the *define block; the start-up cycle then begins the game phase.
void CmdGame(Engine& engine) { engine.interp.define_done = 1; }

// Ends the program normally.
void CmdEnd(Engine& engine) { throw EngineExit{0}; }

}  // namespace

void RegisterControlCommands(CommandTable& table) {
  table.Register("game", CmdGame);
  table.Register("end", CmdEnd);
}

}  // namespace orivane
