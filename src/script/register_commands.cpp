#include "script/register_commands.h"

#include "script/command_table.h"
#include "script/control_commands.h"
#include "shell/shell_commands.h"

namespace orivane {

void RegisterAllCommands(CommandTable& table) {
  RegisterControlCommands(table);
  RegisterShellCommands(table);
}

}  // namespace orivane
