#include "engine.h"

#include "register_commands.h"
#include "script/labels.h"
#include "subsystems.h"

namespace orivane {

Engine::Engine(Platform& p) : platform(p) {
  RegisterAllCommands(commands);
  AttachSubsystems(*this);
}

void StartGame(Engine& engine) {
  ResetSubsystemsForGame(engine);
  JumpToLabel(engine, "start");
}

void QuitGame(Engine& engine) {
  engine.interp.quit_request = 1;
  engine.read_flags.skip_mode = false;
  engine.shell.settings.auto_mode = false;
  throw EngineExit{0};
}

}  // namespace orivane
