#include "engine.h"

#include <string>

#include "archive/archive_set.h"
#include "graphics/graphics_state.h"
#include "register_commands.h"

namespace orivane {

Engine::Engine(Platform& p) : platform(p) { RegisterAllCommands(commands); }

void StartGame(Engine& engine) {
  if (engine.archive.archives_on) BuildArchiveIndex(engine);
  engine.vars.ClearLocals(engine.global_border);
  engine.interp.gosub.Clear();
  engine.interp.click_trap = Trap{};
  engine.interp.timer_trap = Trap{};
  ResetGraphicsForGame(engine);
  JumpToLabel(engine, "start");
}

void WaitUntil(Engine& engine, uint32_t deadline) {
  engine.platform.WaitUntil(deadline);
  CheckTimeout(engine);
}

void CheckTimeout(Engine& engine) {
  if (engine.timeout_ms == 0) return;
  auto wall = std::chrono::steady_clock::now() - engine.wall_start;
  auto wall_ms = std::chrono::duration_cast<std::chrono::milliseconds>(wall).count();
  if (engine.platform.Ticks() > engine.timeout_ms || wall_ms > static_cast<int64_t>(engine.timeout_ms)) {
    engine.platform.Note("orivane: timeout of " + std::to_string(engine.timeout_ms) +
                         " ms reached, stopping");
    throw EngineExit{3};
  }
}

}  // namespace orivane
