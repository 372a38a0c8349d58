#include "script/register_commands.h"

#include "script/command_table.h"
#include "script/control_commands.h"
#include "graphics/graphics_commands.h"

namespace orivane {

void RegisterAllCommands(CommandTable& table) {
  RegisterControlCommands(table);
  RegisterGraphicsCommands(table);
}

}  // namespace orivane
