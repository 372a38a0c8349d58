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

}  // namespace orivane
