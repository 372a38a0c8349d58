// The screen filters over a whole 800 × 600 frame, as composition runs them
// every frame they are on, against a memcpy of the same frame timed in the
// same loop. The counter x_memcpy is the ratio.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench_clock.h"
#include "graphics/screen_filters.h"

namespace orivane {
namespace {

constexpr int kW = 800, kH = 600;

void RunFilter(benchmark::State& state, const ScreenFilters& filters) {
  MulTable mul;
  std::vector<uint8_t> frame(static_cast<size_t>(kW) * kH * 3), copy(frame.size());
  for (size_t i = 0; i < frame.size(); ++i) frame[i] = static_cast<uint8_t>(i * 13 + (i >> 9));
  PixelView view(frame.data(), kW, kH, kW * 3);
  double filter = 0, reference = 0;
  for (auto _ : state) {
    filter += Seconds([&] { FilterArea(filters, mul, view, PixelRect{0, 0, kW - 1, kH - 1}); });
    reference += Seconds([&] {
      std::memcpy(copy.data(), frame.data(), frame.size());
      benchmark::DoNotOptimize(copy.data());
    });
    benchmark::DoNotOptimize(frame.data());
  }
  state.counters["ms_per_frame"] = filter / static_cast<double>(state.iterations()) * 1e3;
  state.counters["x_memcpy"] = filter / reference;
}

void BM_Nega(benchmark::State& state) {
  RunFilter(state, ScreenFilters{false, 0, 0, 0, 1});
}
void BM_Monocro(benchmark::State& state) {
  RunFilter(state, ScreenFilters{true, 0xFF, 0xC0, 0x80, 0});
}
void BM_MonocroAndNega(benchmark::State& state) {
  RunFilter(state, ScreenFilters{true, 0xFF, 0xC0, 0x80, 2});
}

BENCHMARK(BM_Nega);
BENCHMARK(BM_Monocro);
BENCHMARK(BM_MonocroAndNega);

}  // namespace
}  // namespace orivane
