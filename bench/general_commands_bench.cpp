// Statements of the general commands per second, and heap allocations per
// statement (expected 0 in the common case once the scratch buffers have
// grown). Reference in the same run: one plain pass over the same script bytes.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <sstream>
#include <string>

#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "script/execute.h"

namespace {
std::atomic<uint64_t> allocations{0};  // counts operator new calls in this program
}

void* operator new(size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
// The replaced operator new takes its memory from malloc, so free is the match.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace orivane {
namespace {

constexpr int kRepeats = 500;
constexpr int kStatementsPerRepeat = 12;

std::vector<uint8_t> BenchScript() {
  std::string line =
      "mov %0,%1+2*3:add %0,1:mod %0,7:sub %1,-3:mul %2,3:div %2,2:inc %3:dec %4\n"
      "sin %5,30:rnd %6,100:itoa $0,%0:cmp %7,$0,\"5\"\n";
  std::string s;
  for (int i = 0; i < kRepeats; ++i) s += line;
  s += "end\n";
  return std::vector<uint8_t>(s.begin(), s.end());
}

void BM_GeneralStatements(benchmark::State& state) {
  std::ostringstream out, err;
  HeadlessPlatform platform(out, err);
  Engine engine(platform);
  engine.script.Assign(BenchScript());
  uint64_t allocs = 0;
  for (auto _ : state) {
    engine.script.pos = 0;
    uint64_t before = allocations.load(std::memory_order_relaxed);
    try {
      ExecuteScript(engine, RunMode::kGame);
    } catch (const EngineExit&) {
    }
    allocs += allocations.load(std::memory_order_relaxed) - before;
  }
  double statements = double(state.iterations()) * kRepeats * kStatementsPerRepeat;
  state.counters["statements/s"] = benchmark::Counter(statements, benchmark::Counter::kIsRate);
  state.counters["allocs/statement"] = double(allocs) / statements;
}
BENCHMARK(BM_GeneralStatements);

// Reference: one pass over the same bytes (the least any interpreter must do).
void BM_ReferenceScan(benchmark::State& state) {
  std::vector<uint8_t> script = BenchScript();
  for (auto _ : state) {
    uint32_t sum = 0;
    for (uint8_t b : script) sum = sum * 31 + b;
    benchmark::DoNotOptimize(sum);
  }
  double statements = double(state.iterations()) * kRepeats * kStatementsPerRepeat;
  state.counters["statements/s"] = benchmark::Counter(statements, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReferenceScan);

}  // namespace
}  // namespace orivane

BENCHMARK_MAIN();
