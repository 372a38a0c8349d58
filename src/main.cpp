// orivane [--headless] [--timeout MS] [--realtime] [GAMEDIR]
//
// Runs the game in GAMEDIR (default: the current directory). The engine
// changes into GAMEDIR first, so every file name resolves against it.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "shell/startup.h"

namespace {

constexpr const char* kUsage =
    "usage: orivane [--headless] [--timeout MS] [--realtime] [GAMEDIR]\n"
    "  --headless    run without a window: story text on standard output,\n"
    "                script errors on standard error\n"
    "  --timeout MS  stop with exit status 3 once the engine clock passes MS\n"
    "  --realtime    use the wall clock instead of the virtual headless clock\n"
    "  --help        show this text\n"
    "  --version     show the version\n";

int Usage(const std::string& problem) {
  std::cerr << "orivane: " << problem << "\n" << kUsage;
  return 2;
}

bool ParseMs(const char* text, uint32_t& out) {
  if (!text || !*text) return false;
  char* end = nullptr;
  unsigned long long v = std::strtoull(text, &end, 10);
  if (*end != '\0' || text[0] == '-' || v > 0xFFFFFFFFull) return false;
  out = static_cast<uint32_t>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  bool headless = false;
  bool realtime = false;
  uint32_t timeout_ms = 0;
  std::string game_dir;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--headless") {
      headless = true;
    } else if (arg == "--realtime") {
      realtime = true;
    } else if (arg == "--timeout") {
      if (!ParseMs(i + 1 < argc ? argv[i + 1] : nullptr, timeout_ms))
        return Usage("--timeout needs a number of milliseconds");
      ++i;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "Orivane 0.1\n";
      return 0;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option " + arg);
    } else if (!game_dir.empty()) {
      return Usage("more than one game directory given");
    } else {
      game_dir = arg;
    }
  }
  if (!game_dir.empty() && ::chdir(game_dir.c_str()) != 0)
    return Usage("cannot enter game directory " + game_dir + ": " + std::strerror(errno));
  if (::access(".", R_OK | X_OK) != 0) return Usage("the game directory is not readable");

  orivane::HeadlessPlatform platform(std::cout, std::cerr, realtime);
  if (!headless) platform.Note("orivane: this build has no window backend yet; playing headless");
  orivane::Engine engine(platform);
  engine.timeout_ms = timeout_ms;
  return orivane::RunEngine(engine);
}
