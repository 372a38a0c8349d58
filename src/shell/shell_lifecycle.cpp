#include "shell/shell_lifecycle.h"

#include "engine.h"
#include "player_waits.h"
#include "shell/menu_bar.h"
#include "shell/pump.h"

namespace orivane {

namespace {

// After every command while the debug window's step box is ticked.
void PauseForStepBox(Engine& engine) {
  Question box;
  box.title = "ステップ実行";
  box.text = "ステップ実行中";
  AskPlayer(engine, box);
}

}  // namespace

void AttachShell(Engine& engine) {
  AttachPump(engine);
  engine.interp.step_pause = PauseForStepBox;
}

void ResetShellForStartUp(Engine& engine) {
  ShellState& sh = engine.shell;
  sh.menu_custom = false;
  sh.menu_deleted = false;
  sh.text_speed_item = false;
  sh.no_music_slider = false;
  sh.posted_commands.clear();
  sh.heartbeat.running = false;
}

void StartShell(Engine& engine) {
  engine.shell.bar = BuildStandardMenu(engine);
  FillFontMenu(engine);
  ShowMenuBar(engine);
}

}  // namespace orivane
