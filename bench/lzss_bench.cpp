// LZSS decoding throughput (MB/s of output), and the same against copying the
// output with memcpy in the same run ("x_memcpy": how many times slower).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "archive/lzss.h"
#include "archive/lzss_encoder.h"

namespace {

using Clock = std::chrono::steady_clock;

// Script-like text (long copies) and noisy picture rows (mostly literals).
std::vector<uint8_t> SampleData(bool text) {
  std::mt19937 rng(11);
  std::vector<uint8_t> out;
  const std::vector<std::string> words = {"mov ", "%0", ",", "bg ", "\"title.bmp\"", "\n", "click", "text "};
  while (out.size() < (4u << 20)) {
    if (text) {
      const std::string& w = words[rng() % words.size()];
      out.insert(out.end(), w.begin(), w.end());
    } else {
      uint8_t v = static_cast<uint8_t>(out.size() / 3 % 251);
      out.push_back(static_cast<uint8_t>(v + rng() % 3));
    }
  }
  return out;
}

double MemcpySeconds(size_t size, int64_t reps) {
  std::vector<uint8_t> from(size, 1), to(size);
  auto t0 = Clock::now();
  for (int64_t i = 0; i < reps; ++i) {
    std::memcpy(to.data(), from.data(), size);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

void BM_LzssDecode(benchmark::State& state) {
  auto data = SampleData(state.range(0) == 0);
  auto packed = orivane::LzssEncode(data.data(), data.size());
  orivane::LzssWindow window;
  auto t0 = Clock::now();
  for (auto _ : state) {
    auto out = orivane::LzssDecodeToMemory(window, packed.data(), packed.size(), data.size() + 20);
    benchmark::DoNotOptimize(out.data());
  }
  double decode = std::chrono::duration<double>(Clock::now() - t0).count();
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(data.size()));
  state.SetLabel(state.range(0) == 0 ? "script text" : "noisy rows, mostly literals");
  state.counters["x_memcpy"] = decode / MemcpySeconds(data.size(), state.iterations());
}
BENCHMARK(BM_LzssDecode)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
