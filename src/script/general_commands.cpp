#include "script/general_commands.h"

namespace orivane {

void RegisterGeneralCommands(CommandTable& table) {
  RegisterArithmeticCommands(table);
  RegisterStringCommands(table);
  RegisterFileCommands(table);
  RegisterCsvCommands(table);
  RegisterProgramCommands(table);
}

}  // namespace orivane
