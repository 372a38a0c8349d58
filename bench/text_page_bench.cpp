// The cost of a page of story text through the whole engine: a headless run
// of an 800 × 600 game prints full pages of 23 × 16 full-width characters at
// text speed 0 (the page drawn off the screen and shown at its page wait,
// then cleared), with the machine's fonts. The cost of one page is the
// difference between a run of many pages and a run of one, divided by the
// pages between; the reference is a memcpy of the window's area timed in the
// same loop.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench_clock.h"
#include "engine.h"
#include "platform/display_surface.h"
#include "platform/fontconfig/fontconfig_fonts.h"
#include "platform/headless/headless_platform.h"
#include "shell/startup.h"

namespace orivane {
namespace {

constexpr int kColumns = 23, kRows = 16;
constexpr int kLeft = 21, kTop = 16, kAdvanceX = 26, kAdvanceY = 28;
constexpr int kExtraPages = 40;

// A game directory under $TMPDIR with a script that prints `pages` pages,
// removed again when the benchmark ends.
class PageGame {
 public:
  PageGame() {
    std::string templ = (std::filesystem::temp_directory_path() / "orivane-bench-XXXXXX").string();
    if (!mkdtemp(templ.data())) std::abort();
    dir_ = templ;
  }
  ~PageGame() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  void WriteScript(int pages) const {
    // 368 different kanji: a full page, every cell its own glyph.
    std::string page;
    for (int lead = 0x88; page.size() < 2 * kColumns * kRows; ++lead)
      for (int trail = lead == 0x88 ? 0x9F : 0x40; trail <= 0xFC && page.size() < 2 * kColumns * kRows; ++trail)
        if (trail != 0x7F) {
          page.push_back(static_cast<char>(lead));
          page.push_back(static_cast<char>(trail));
        }
    std::ofstream f(dir_ + "/0.txt", std::ios::binary);
    f << ";mode800\n*define\nsetwindow 21,16,23,16,26,26,0,2,0,1,1,#999999,0,0,799,599\ngame\n*start\n"
      << "for %1 = 1 to " << pages << "\n" << page << "\\\nnext\nend\n";
  }

  // CPU seconds of one whole run.
  double Run(FontService& fonts) const {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir_);
    std::ostringstream out, err;
    const double seconds = Seconds([&] {
      HeadlessPlatform platform(out, err, false, &fonts);
      auto engine = std::make_unique<Engine>(platform);
      if (RunEngine(*engine) != 0) std::abort();
    });
    std::filesystem::current_path(previous);
    return seconds;
  }

 private:
  std::string dir_;
};

void BM_PageAtSpeedZero(benchmark::State& state) {
  FontconfigFonts fonts;
  PageGame game;
  DisplaySurface screen, copy;
  screen.Resize(800, 600);
  copy.Resize(800, 600);
  double pages = 0, memcpys = 0;
  for (auto _ : state) {
    game.WriteScript(1);
    const double one = game.Run(fonts);
    game.WriteScript(1 + kExtraPages);
    const double many = game.Run(fonts);
    pages += (many - one) / kExtraPages;
    memcpys += Seconds([&] {
      for (int y = kTop; y < kTop + kRows * kAdvanceY; ++y)
        std::memcpy(copy.RowFromTop(y) + 3 * kLeft, screen.RowFromTop(y) + 3 * kLeft, 3 * kColumns * kAdvanceX);
      benchmark::DoNotOptimize(copy.pixels.data());
    });
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ms_per_page"] = pages / n * 1e3;
  state.counters["x_memcpy"] = pages / memcpys;
}
BENCHMARK(BM_PageAtSpeedZero)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace orivane

BENCHMARK_MAIN();
