#include "script/register_commands.h"

#include "archive/archive_commands.h"
#include "script/command_table.h"
#include "script/control_commands.h"

namespace orivane {

void RegisterAllCommands(CommandTable& table) {
  RegisterControlCommands(table);
  RegisterArchiveCommands(table);
}

}  // namespace orivane
