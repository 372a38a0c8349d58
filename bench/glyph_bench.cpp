// The cost of a page of text: 23 × 16 full-width characters (the text
// window's default grid) drawn with their shadow into an 800 × 600 screen,
// once from the glyph cache and once rasterized afresh on the machine's
// fonts, each against a memcpy of the window's area timed in the same loop.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench_clock.h"
#include "graphics/mul_table.h"
#include "graphics/pixel_view.h"
#include "platform/display_surface.h"
#include "platform/fontconfig/fontconfig_fonts.h"
#include "text/glyph_cache.h"
#include "text/glyph_draw.h"

namespace orivane {
namespace {

constexpr int kW = 800, kH = 600;
constexpr int kColumns = 23, kRows = 16;
constexpr int kLeft = 21, kTop = 16, kGlyph = 26, kAdvanceX = 26, kAdvanceY = 28;
constexpr int kWindowW = kColumns * kAdvanceX, kWindowH = kRows * kAdvanceY;

// 368 different kanji, the first of the Shift-JIS table, so that the
// uncached page rasterizes every cell.
std::vector<uint16_t> PageOfKanji() {
  std::vector<uint16_t> units;
  for (int lead = 0x88; units.size() < kColumns * kRows; ++lead)
    for (int trail = lead == 0x88 ? 0x9F : 0x40; trail <= 0xFC && units.size() < kColumns * kRows;
         ++trail)
      if (trail != 0x7F) units.push_back(static_cast<uint16_t>(lead << 8 | trail));
  return units;
}

class TextPage {
 public:
  TextPage() : units_(PageOfKanji()) {
    screen_.Resize(kW, kH);
    for (size_t i = 0; i < screen_.pixels.size(); ++i)
      screen_.pixels[i] = static_cast<uint8_t>(i * 7 >> 4);
    copy_.Resize(kW, kH);
    font_.face = "\x82\x6c\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4e";  // ＭＳ ゴシック
    font_.width = font_.height = kGlyph;
    paint_.shadow = true;
  }

  void Draw(GlyphCache& cache) {
    for (int i = 0; i < kColumns * kRows; ++i) {
      const GlyphCell& cell = cache.Get(fonts_, font_, static_cast<uint8_t>(units_[i] >> 8),
                                        static_cast<uint8_t>(units_[i]));
      DrawGlyph(PixelView(screen_), kLeft + (i % kColumns) * kAdvanceX,
                kTop + (i / kColumns) * kAdvanceY, cell, paint_, mul_);
    }
    benchmark::DoNotOptimize(screen_.pixels.data());
  }

  // The reference: the window's rows copied to another screen.
  void CopyWindow() {
    for (int y = kTop; y < kTop + kWindowH; ++y)
      std::memcpy(copy_.RowFromTop(y) + 3 * kLeft, screen_.RowFromTop(y) + 3 * kLeft, 3 * kWindowW);
    benchmark::DoNotOptimize(copy_.pixels.data());
  }

 private:
  FontconfigFonts fonts_;
  MulTable mul_;
  std::vector<uint16_t> units_;
  DisplaySurface screen_, copy_;
  GlyphFont font_;
  GlyphPaint paint_;
};

void BM_CachedPage(benchmark::State& state) {
  TextPage page;
  GlyphCache cache;
  page.Draw(cache);
  double draw = 0, copy = 0;
  for (auto _ : state) {
    draw += Seconds([&] { page.Draw(cache); });
    copy += Seconds([&] { page.CopyWindow(); });
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ms_per_page"] = draw / n * 1e3;
  state.counters["x_memcpy"] = draw / copy;
}
BENCHMARK(BM_CachedPage)->Unit(benchmark::kMicrosecond);

// Every cell rasterized: the fonts are open already (as after the first page
// of a run), the glyph cache is empty.
void BM_UncachedPage(benchmark::State& state) {
  TextPage page;
  {
    GlyphCache warm_up;
    page.Draw(warm_up);
  }
  double draw = 0, copy = 0;
  for (auto _ : state) {
    GlyphCache cache;
    draw += Seconds([&] { page.Draw(cache); });
    copy += Seconds([&] { page.CopyWindow(); });
  }
  const double n = static_cast<double>(state.iterations());
  state.counters["ms_per_page"] = draw / n * 1e3;
  state.counters["x_memcpy"] = draw / copy;
}
BENCHMARK(BM_UncachedPage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orivane

BENCHMARK_MAIN();
