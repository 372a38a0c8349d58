// Test support for the text window: a small 320 × 240 game run in process on
// a headless platform, handing back the display at the end, every frame shown
// (to an observer), and the engine itself for a look at its records.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "shell/startup.h"
#include "support/game_fixture.h"

namespace orivane::test {

struct TextRun {
  int status = -1;
  std::string err;
  DisplaySurface display;  // what the player sees at the end
};

// The game: `define` in the *define block, `body` in the game phase.
inline std::string SmallGame(const std::string& define, const std::string& body) {
  return ";mode320\n*define\n" + define + "game\n*start\n" + body + "\nend\n";
}

class ObservedPlatform final : public HeadlessPlatform {
 public:
  using Observer = std::function<void(const DisplaySurface&)>;
  ObservedPlatform(std::ostream& out, std::ostream& err, Observer observer)
      : HeadlessPlatform(out, err), observer_(std::move(observer)) {}
  void Present(const DisplaySurface& display) override {
    if (observer_) observer_(display);
  }

 private:
  Observer observer_;
};

// Runs the game in `game`; `inspect` sees the engine after the run,
// `observer` every frame shown.
inline TextRun RunTextGame(const GameDir& game, const std::function<void(Engine&)>& inspect = {},
                           ObservedPlatform::Observer observer = {}) {
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(game.path());
  std::ostringstream out, err;
  TextRun run;
  {
    ObservedPlatform platform(out, err, std::move(observer));
    auto engine = std::make_unique<Engine>(platform);
    engine->timeout_ms = 100000;
    run.status = RunEngine(*engine);
    run.display = engine->display;
    if (inspect) inspect(*engine);
  }
  std::filesystem::current_path(previous);
  run.err = err.str();
  return run;
}

}  // namespace orivane::test
