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
  std::string out;  // the story text written to standard output
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
  ObservedPlatform(std::ostream& out, std::ostream& err, Observer observer, FontService* fonts = nullptr)
      : HeadlessPlatform(out, err, false, fonts), observer_(std::move(observer)) {}
  void Present(const DisplaySurface& display) override {
    if (observer_) observer_(display);
  }

 private:
  Observer observer_;
};

// What a run is given beside the game: the font service (none: blank
// glyphs), the scripted player's input lines, the --timeout.
struct TextRunSetup {
  FontService* fonts = nullptr;
  std::string input;
  uint32_t timeout_ms = 100000;
};

inline TextRunSetup RunWith(FontService* fonts, std::string input = "", uint32_t timeout_ms = 100000) {
  TextRunSetup s;
  s.fonts = fonts;
  s.input = std::move(input);
  s.timeout_ms = timeout_ms;
  return s;
}

// Runs the game in `game`; `inspect` sees the engine after the run,
// `observer` every frame shown.
inline TextRun RunTextGame(const GameDir& game, const std::function<void(Engine&)>& inspect = {},
                           ObservedPlatform::Observer observer = {}, const TextRunSetup& setup = {}) {
  TextRun run;
  ScriptedPlayer player;
  if (!setup.input.empty() && !player.Parse("input.txt", setup.input, run.err)) return run;
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(game.path());
  std::ostringstream out, err;
  {
    ObservedPlatform platform(out, err, std::move(observer), setup.fonts);
    if (!setup.input.empty()) platform.SetPlayer(std::move(player));
    auto engine = std::make_unique<Engine>(platform);
    engine->timeout_ms = setup.timeout_ms;
    run.status = RunEngine(*engine);
    run.display = engine->display;
    if (inspect) inspect(*engine);
  }
  std::filesystem::current_path(previous);
  run.out = out.str();
  run.err = err.str();
  return run;
}

}  // namespace orivane::test
