#include "shell/dialog_commands.h"

#include "engine.h"
#include "script/command_table.h"
#include "shell/pump.h"

namespace orivane {
namespace {

// A bare message box; the heartbeat rests while it is open.
void CmdTestfunc(Engine& engine) {
  bool was_running = engine.shell.heartbeat.running;
  engine.shell.heartbeat.running = false;
  Question box;
  box.text = "testfunc:";
  AskPlayer(engine, box);
  engine.shell.heartbeat.running = was_running;
}

}  // namespace

void RegisterDialogCommands(CommandTable& table) { table.Register("testfunc", CmdTestfunc); }

}  // namespace orivane
