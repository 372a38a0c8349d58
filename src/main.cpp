// orivane [--headless] [--input FILE] [--screenshot FILE] [--timeout MS]
//         [--realtime] [GAMEDIR]
//
// Runs the game in GAMEDIR (default: the current directory). The engine
// changes into GAMEDIR first, so every file name resolves against it. With a
// display and the window backend the game plays in a window; otherwise (or
// with --headless) it plays headless.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "engine.h"
#include "graphics/window_picture.h"
#include "platform/fontconfig/fontconfig_fonts.h"
#include "platform/headless/headless_platform.h"
#include "platform/scripted_player.h"
#include "shell/screenshot.h"
#include "shell/startup.h"
#include "util/single_instance.h"
#include "util/stop_signals.h"
#ifdef ORIVANE_HAVE_SDL
#include "platform/sdl/sdl_platform.h"
#endif
#ifdef ORIVANE_HAVE_SDL_MIXER
#include "platform/sdl_audio/sdl_mixer_audio.h"
#endif
#ifdef ORIVANE_HAVE_FFMPEG
#include "platform/ffmpeg/ffmpeg_movies.h"
#endif

namespace {

constexpr const char* kUsage =
    "usage: orivane [--headless] [--input FILE] [--screenshot FILE] [--timeout MS] [--realtime] [GAMEDIR]\n"
    "  --headless         run without a window: story text on standard output,\n"
    "                     script errors on standard error\n"
    "  --input FILE       play the player's part from FILE, one event per line\n"
    "  --screenshot FILE  write the screen as PNG or BMP (by the extension) at the end\n"
    "  --timeout MS       stop with exit status 3 once the engine clock passes MS\n"
    "  --realtime         headless: use the wall clock instead of the virtual clock\n"
    "  --help             show this text\n"
    "  --version          show the version\n";

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

struct Options {
  bool headless = false;
  bool realtime = false;
  uint32_t timeout_ms = 0;
  std::string input;
  std::string screenshot;
  std::string game_dir;
};

// Parses the command line; returns -1 to go on, or the exit status.
int ParseOptions(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    if (arg == "--headless") {
      o.headless = true;
    } else if (arg == "--realtime") {
      o.realtime = true;
    } else if (arg == "--timeout") {
      if (!ParseMs(value, o.timeout_ms)) return Usage("--timeout needs a number of milliseconds");
      ++i;
    } else if (arg == "--input" || arg == "--screenshot") {
      if (!value || !*value) return Usage(arg + " needs a file name");
      (arg == "--input" ? o.input : o.screenshot) = value;
      ++i;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (arg == "--version") {
      std::cout << "Orivane 0.1\n";
      return 0;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return Usage("unknown option " + arg);
    } else if (!o.game_dir.empty()) {
      return Usage("more than one game directory given");
    } else {
      o.game_dir = arg;
    }
  }
  if (!o.screenshot.empty() && orivane::ScreenshotFormatOf(o.screenshot) == orivane::ScreenshotFormat::kNone)
    return Usage("--screenshot needs a file name ending in .png or .bmp");
  return -1;
}

// An absolute form of a path given relative to the directory the program was
// started in, so that it still names the same file after the change into
// the game directory.
std::string FromStartDirectory(const std::string& path) {
  if (path.empty() || path[0] == '/') return path;
  char* cwd = ::getcwd(nullptr, 0);
  std::string out = cwd ? std::string(cwd) + "/" + path : path;
  std::free(cwd);
  return out;
}

// The platform to play on: a window when one can be opened, else headless.
std::unique_ptr<orivane::Platform> ChoosePlatform(const Options& o, orivane::ScriptedPlayer player,
                                                  orivane::FontService& fonts,
                                                  orivane::AudioService& audio,
                                                  orivane::MovieService& movies) {
  std::string why;
  if (!o.headless) {
#ifdef ORIVANE_HAVE_SDL
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
      why = "no display is available (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    } else if (auto window = orivane::CreateSdlPlatform(player, fonts, audio, movies, why)) {
      return window;
    } else {
      why = "the window could not be opened: " + why;
    }
#else
    why = "this build has no window backend";
#endif
  }
  auto headless = std::make_unique<orivane::HeadlessPlatform>(std::cout, std::cerr, o.realtime, &fonts, &audio, &movies);
  headless->SetPlayer(std::move(player));
  if (!why.empty()) headless->Note("orivane: " + why + "; playing headless");
  return headless;
}

}  // namespace

int main(int argc, char** argv) {
  // First of all, before any thread exists: SIGINT and SIGTERM end the run
  // through the engine's own shutdown.
  orivane::StopSignals stop_signals;
  Options o;
  if (int status = ParseOptions(argc, argv, o); status >= 0) return status;

  orivane::ScriptedPlayer player;
  if (!o.input.empty()) {
    std::string error;
    if (!player.Load(o.input, error)) return Usage(error);
  }
  std::string screenshot = FromStartDirectory(o.screenshot);

  if (!o.game_dir.empty() && ::chdir(o.game_dir.c_str()) != 0)
    return Usage("cannot enter game directory " + o.game_dir + ": " + std::strerror(errno));
  if (::access(".", R_OK | X_OK) != 0) return Usage("the game directory is not readable");

  orivane::FontconfigFonts fonts;
  // The sound output is opened by the engine when the game first plays
  // something, headless too (SDL_AUDIODRIVER=disk writes it to a file). It
  // outlives the platform, which only borrows it.
#ifdef ORIVANE_HAVE_SDL_MIXER
  orivane::SdlMixerAudio audio;
#else
  orivane::NoAudio audio;
#endif
  // Movies decode on FFmpeg, in a window and headless alike.
#ifdef ORIVANE_HAVE_FFMPEG
  orivane::FfmpegMovies movies;
#else
  orivane::NoMovies movies;
#endif
  std::unique_ptr<orivane::Platform> platform = ChoosePlatform(o, std::move(player), fonts, audio, movies);
  stop_signals.Listen([&platform](int signal_number) { platform->RequestStop(signal_number); });
  // Nobody is told after the platform is gone, whichever way main returns.
  struct StopListening {
    orivane::StopSignals& signals;
    ~StopListening() { signals.Listen(nullptr); }
  } stop_listening{stop_signals};

  orivane::SingleInstanceLock lock;
  if (!lock.Acquire()) {
    platform->ShowError("起動エラー", "同時に二つ実行しないでください");
    return 0;
  }

  int status;
  {
    orivane::Engine engine(*platform);
    engine.timeout_ms = o.timeout_ms;
    status = orivane::RunEngine(engine);
    if (!screenshot.empty()) {
      // The picture the window shows as the run left it; before the script
      // chose a size, a black screen of the default size.
      if (engine.display.width == 0) engine.display.Resize(engine.screen_width, engine.screen_height);
      std::string error;
      if (!orivane::WriteScreenshot(orivane::WindowPicture(engine), screenshot, error))
        platform->Note("orivane: cannot write the screenshot " + screenshot + ": " + error);
    }
  }
  return status;
}
