#include "save/persistent_commands.h"

#include "engine.h"
#include "save/persistent_data.h"
#include "script/command_table.h"
#include "text/read_flags.h"

namespace orivane {
namespace {

// A fresh bitmap, one bit per byte of the script as loaded now, filled from
// the saved flags. Saved flags of an edited script mark other statements of
// it: offsets are all they know.
void CmdKidokuskip(Engine& engine) {
  KeepReadFlags(engine.read_flags, engine.script.length);
  LoadReadFlagsFile(engine);
}

}  // namespace

void RegisterPersistentDataCommands(CommandTable& table) { table.Register("kidokuskip", CmdKidokuskip); }

}  // namespace orivane
