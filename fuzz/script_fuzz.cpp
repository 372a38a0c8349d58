// Feeds arbitrary bytes as a game script through loading, the label table,
// the *define block and the game, on the interpreter in process. Any crash,
// leak or out-of-bounds access is a fault; script errors and the end of the
// run's bounds are expected outcomes.
//
// One font service and game directory serve every input, and one engine
// with its platform: between inputs they are made afresh in place (the
// reset: every record back to where a new run starts, the command table and
// the subsystems' hooks set again, the virtual clock at 0), so that nothing
// one input leaves reaches the next and a saved input replays alike.
// The run skips what only a process does around the interpreter (the
// temporary directory, the persistent files written with fsync at start-up
// and shutdown, the window), and is bounded by a second of engine clock and
// 2 ms of wall time, which a script looping without a wait meets. The input
// is written as 0.txt into the emptied game directory; the current directory
// is the game's only while the engine runs, so corpus paths given relative
// to where the fuzzer started keep working. The font service opens no font
// file and inks a pattern, so story text runs through the whole glyph path.
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <optional>
#include <sstream>
#include <string>

#include "engine.h"
#include "graphics/window_picture.h"
#include "platform/font_service.h"
#include "platform/headless/headless_platform.h"
#include "save/save_point.h"
#include "script/execute.h"
#include "script/labels.h"
#include "script/loader.h"
#include "script/script_lifecycle.h"
#include "shell/shell_lifecycle.h"
#include "sound/sound_lifecycle.h"
#include "subsystems.h"
#include "text/text_output.h"

namespace {

class GameDirectory {
 public:
  GameDirectory() {
    std::string templ = (std::filesystem::temp_directory_path() / "orivane-fuzz-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    path_ = templ;
  }
  ~GameDirectory() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  GameDirectory(const GameDirectory&) = delete;
  GameDirectory& operator=(const GameDirectory&) = delete;

  const std::string& path() const { return path_; }

  // Removes whatever the last run left.
  void Empty() const {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(path_, ec))
      std::filesystem::remove_all(entry.path(), ec);
  }

 private:
  std::string path_;
};

// Makes `dir` the current directory until the end of the scope.
class InDirectory {
 public:
  explicit InDirectory(const std::string& dir)
      : previous_(open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (previous_ < 0 || chdir(dir.c_str()) != 0) std::abort();
  }
  ~InDirectory() {
    if (fchdir(previous_) != 0) std::abort();
    close(previous_);
  }
  InDirectory(const InDirectory&) = delete;
  InDirectory& operator=(const InDirectory&) = delete;

 private:
  int previous_;
};

// Glyphs without font files: a full-width cell (half-width for ASCII) with a
// diagonal pattern of ink, so coverage, blending and shadows all run.
class PatternFonts final : public orivane::FontService {
 public:
  std::vector<orivane::FontMenuEntry> ListMenuFonts(int) override { return {}; }
  orivane::GlyphBitmap RasterizeGlyph(const orivane::GlyphRequest& r) override {
    orivane::GlyphBitmap g;
    if (r.width <= 0 || r.height <= 0 || r.width > 1024 || r.height > 1024) return g;
    g.width = g.advance = r.code_point < 0x80 ? r.width : 2 * r.width;
    g.height = r.height;
    g.coverage.resize(static_cast<size_t>(g.width) * g.height);
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x < g.width; ++x)
        g.coverage[static_cast<size_t>(y) * g.width + x] = ((x + y + r.code_point) % 3) ? 255 : 0;
    return g;
  }
};

// The bounds of one input's run.
constexpr uint32_t kEngineClockMs = 1000;
constexpr auto kWallTime = std::chrono::milliseconds(2);

// Runs the script in the current directory as the start-up cycle does,
// without the persistent files: the start-up resets, loading, the labels,
// *define, then the game until it ends (a `definereset` starts over).
int RunScript(orivane::Engine& engine) {
  using namespace orivane;
  try {
    for (;;) {
      ResetSoundForStartUp(engine);
      ResetScriptForStartUp(engine);
      ResetTextForStartUp(engine);
      ResetSaveForStartUp(engine);
      ResetShellForStartUp(engine);
      LoadScript(engine);
      StartSubsystems(engine);
      BuildLabelTable(engine);
      ExecuteScript(engine, RunMode::kDefine);
      if (engine.interp.stop_request != 0) continue;
      FinishSubsystemsAfterDefine(engine);
      ShowOnWindow(engine, engine.display);
      engine.shell.heartbeat.running = true;
      while (engine.interp.stop_request == 0) {
        StartGame(engine);
        ExecuteScript(engine, RunMode::kGame);
        if (engine.interp.quit_request) return 0;
      }
    }
  } catch (const EngineExit& exit) {
    return exit.status;
  } catch (const std::bad_alloc&) {
    return 1;  // loading or the labels ran out of memory
  }
}

struct Harness {
  GameDirectory game;
  PatternFonts fonts;
  std::ostringstream out, err;
  // Made afresh in place for each input, the engine after its platform
  // (whose virtual clock starts again at 0).
  std::optional<orivane::HeadlessPlatform> platform;
  std::optional<orivane::Engine> engine;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Harness h;  // its directory is removed when the fuzzer exits
  h.game.Empty();
  InDirectory in_game(h.game.path());
  FILE* f = std::fopen("0.txt", "wb");
  if (!f) std::abort();
  std::fwrite(data, 1, size, f);
  std::fclose(f);

  h.out.str({});
  h.err.str({});
  h.engine.reset();
  h.platform.emplace(h.out, h.err, false, &h.fonts);
  orivane::Engine& engine = h.engine.emplace(*h.platform);
  // The wall-time bound, which --timeout takes to be as long as the engine
  // clock's, is brought down to kWallTime by moving the run's start back.
  engine.timeout_ms = kEngineClockMs;
  engine.wall_start = std::chrono::steady_clock::now() -
                      std::chrono::milliseconds(engine.timeout_ms) + kWallTime;
  RunScript(engine);
  return 0;
}
