// Skip mode through read text: a headless run of a 640 × 480 game passes
// 10,000 lines of story text (each a click wait, every fourth a page wait)
// with skip mode on, read-only skipping on and every read flag set, so each
// line is laid into the text window and its wait is passed by. The reference
// is the same run with the same lines as `mov` statements into a string
// variable: the interpreter's own cost for those lines, without text output.
// Each side is the difference between a run of 1 + 10,000 lines and a run of
// one line, in the CPU time of the benchmark's thread.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "bench_clock.h"
#include "engine.h"
#include "platform/fontconfig/fontconfig_fonts.h"
#include "platform/headless/headless_platform.h"
#include "platform/scripted_player.h"
#include "shell/startup.h"

namespace orivane {
namespace {

constexpr int kLines = 10000;

// One line of 24 different full-width characters.
std::string LineText(int n) {
  std::string text;
  for (int i = 0; i < 24; ++i) {
    text.push_back(static_cast<char>(0x88 + (n + i) % 8));
    text.push_back(static_cast<char>(0x9F + (n * 7 + i) % 90));
  }
  return text;
}

enum class LineKind { kText, kMov };

class SkipGame {
 public:
  SkipGame() {
    std::string templ = (std::filesystem::temp_directory_path() / "orivane-bench-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    dir_ = templ;
  }
  ~SkipGame() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  // A game of `lines` lines after the first; every read flag set.
  void Write(int lines, LineKind kind) const {
    std::string script = "*define\nkidokuskip\nkidokumode 1\ngame\n*start\n";
    for (int n = 0; n <= lines; ++n) {
      const char* wait = n % 4 == 3 ? "\\" : "@";
      if (kind == LineKind::kText)
        script += LineText(n) + wait + "\n";
      else
        script += "mov $0,\"" + LineText(n) + "\"\n";
    }
    script += "end\n";
    std::ofstream(dir_ + "/0.txt", std::ios::binary) << script;
    std::ofstream(dir_ + "/kidoku.dat", std::ios::binary) << std::string(script.size() / 8 + 64, '\xFF');
  }

  // CPU seconds of one whole run. The player asks for skip mode (menu
  // 40006) at once; it must last to the end, or nothing was skipped.
  double Run(FontService& fonts, LineKind kind) const {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    std::ostringstream out, err;
    ScriptedPlayer player;
    std::string error;
    if (!player.Parse("input", "menu 40006\n", error)) std::abort();
    const double seconds = Seconds([&] {
      HeadlessPlatform platform(out, err, false, &fonts);
      platform.SetPlayer(std::move(player));
      auto engine = std::make_unique<Engine>(platform);
      if (RunEngine(*engine) != 0) std::abort();
      if (kind == LineKind::kText && !engine->read_flags.skip_mode) std::abort();
    });
    std::filesystem::current_path(previous);
    return seconds;
  }

  // The CPU seconds of `kLines` lines: a long run less a run of one line.
  double LinesCost(FontService& fonts, LineKind kind) const {
    Write(0, kind);
    const double one = Run(fonts, kind);
    Write(kLines, kind);
    const double many = Run(fonts, kind);
    return many - one;
  }

 private:
  std::string dir_;
};

void BM_SkipReadLines(benchmark::State& state) {
  FontconfigFonts fonts;
  SkipGame game;
  double skipped = 0, moved = 0;
  for (auto _ : state) {
    skipped += game.LinesCost(fonts, LineKind::kText);
    moved += game.LinesCost(fonts, LineKind::kMov);
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ms_per_10k_lines"] = skipped / n * 1e3;
  state.counters["lines_per_s"] = kLines * n / skipped;
  state.counters["mov_lines_per_s"] = kLines * n / moved;
  state.counters["x_mov"] = skipped / moved;
}
BENCHMARK(BM_SkipReadLines)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace orivane

BENCHMARK_MAIN();
