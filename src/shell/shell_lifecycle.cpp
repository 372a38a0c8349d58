#include "shell/shell_lifecycle.h"

#include "engine.h"
#include "shell/menu_bar.h"
#include "shell/pump.h"

namespace orivane {

void AttachShell(Engine& engine) { AttachPump(engine); }

void ResetShellForStartUp(Engine& engine) {
  ShellState& sh = engine.shell;
  sh.menu_custom = false;
  sh.menu_deleted = false;
  sh.text_speed_item = false;
  sh.posted_commands.clear();
  sh.heartbeat.running = false;
}

void StartShell(Engine& engine) {
  engine.shell.bar = BuildStandardMenu(engine);
  FillFontMenu(engine);
  ShowMenuBar(engine);
}

}  // namespace orivane
