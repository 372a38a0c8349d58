#include "support/scripted_run.h"

#include <filesystem>
#include <sstream>
#include <stdexcept>

#include "platform/fontconfig/fontconfig_fonts.h"
#include "platform/headless/headless_platform.h"
#include "platform/scripted_player.h"
#include "shell/startup.h"

namespace orivane::test {

RunResult RunScripted(const GameDir& game, std::string_view input, const std::function<void(Engine&)>& inspect,
                      uint32_t timeout_ms, AudioService* audio) {
  ScriptedPlayer player;
  std::string error;
  if (!player.Parse("input.txt", input, error)) throw std::runtime_error(error);
  auto previous = std::filesystem::current_path();
  std::filesystem::current_path(game.path());
  std::ostringstream out, err;
  RunResult result;
  {
    FontconfigFonts fonts;  // the font menu lists the machine's fonts
    HeadlessPlatform platform(out, err, false, &fonts, audio);
    platform.SetPlayer(std::move(player));
    Engine engine(platform);
    engine.timeout_ms = timeout_ms;
    result.status = RunEngine(engine);
    if (inspect) inspect(engine);
  }
  std::filesystem::current_path(previous);
  result.out = out.str();
  result.err = err.str();
  return result;
}

}  // namespace orivane::test
