// Loading and labelling a large script against a plain read of the same
// bytes, and label jumps and command dispatch in a script with many labels.
// Compare the figures within one run: LoadAndLabel / PlainRead is the cost
// of loading over reading.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine.h"
#include "platform/headless/headless_platform.h"
#include "script/execute.h"
#include "script/labels.h"
#include "script/loader.h"
#include "util/file_io.h"

namespace {

// A 20 MB script in the shape of a real game: labels every few lines, text and
// commands between them.
class LargeGame {
 public:
  LargeGame() {
    dir_ = (std::filesystem::temp_directory_path() / "orivane-bench-XXXXXX").string();
    if (!mkdtemp(dir_.data())) std::abort();
    std::string script = "*define\ngame\n*start\n";
    int label = 0;
    while (script.size() < 20u * 1024 * 1024) {
      // 9,000 labels spread over the first part, then plain lines.
      if (label < 9000) script += "*label" + std::to_string(label++) + "\n";
      for (int line = 0; line < 30; ++line)
        script += "mov %0, %1 + 2 ; a comment\n\x82\xA0\x82\xA2\x82\xA4\x82\xA6\x82\xA8@\ngoto *label0\n";
    }
    labels_ = label;
    std::string path = dir_ + "/0.txt";
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(script.data(), 1, script.size(), f);
    std::fclose(f);
  }
  ~LargeGame() { std::filesystem::remove_all(dir_); }
  const std::string& dir() const { return dir_; }
  int labels() const { return labels_; }

 private:
  std::string dir_;
  int labels_ = 0;
};

LargeGame& Game() {
  static LargeGame game;
  return game;
}

// The reference: read the same file into a fresh buffer, as loading must.
void BM_PlainRead(benchmark::State& state) {
  size_t size = 0;
  for (auto _ : state) {
    std::vector<uint8_t> bytes;
    orivane::ReadFileBytes(Game().dir() + "/0.txt", bytes);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(size));
}
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);

void BM_LoadAndLabel(benchmark::State& state) {
  std::ostringstream out, err;
  orivane::HeadlessPlatform platform(out, err);
  orivane::Engine engine(platform);
  std::filesystem::current_path(Game().dir());
  for (auto _ : state) {
    orivane::LoadScript(engine);
    orivane::BuildLabelTable(engine);
    benchmark::DoNotOptimize(engine.labels.size());
  }
  state.SetBytesProcessed(state.iterations() * engine.script.length);
}
BENCHMARK(BM_LoadAndLabel)->Unit(benchmark::kMillisecond);

void BM_JumpToLastLabel(benchmark::State& state) {
  std::ostringstream out, err;
  orivane::HeadlessPlatform platform(out, err);
  orivane::Engine engine(platform);
  std::filesystem::current_path(Game().dir());
  orivane::LoadScript(engine);
  orivane::BuildLabelTable(engine);
  std::string last = "label" + std::to_string(Game().labels() - 1);
  for (auto _ : state) orivane::JumpToLabel(engine, last);
}
BENCHMARK(BM_JumpToLastLabel);

void BM_DispatchLastDefsub(benchmark::State& state) {
  std::ostringstream out, err;
  orivane::HeadlessPlatform platform(out, err);
  orivane::Engine engine(platform);
  std::string script;
  for (int i = 0; i < 10000; ++i) {
    std::string name = "cmd" + std::to_string(i);
    engine.interp.defsubs.push_back(name);
    engine.interp.defsub_names.insert(name);
    script += "*" + name + "\nreturn\n";
  }
  engine.script.Assign(std::vector<uint8_t>(script.begin(), script.end()));
  orivane::BuildLabelTable(engine);
  for (auto _ : state) {
    orivane::DispatchCommand(engine, "cmd9999", orivane::RunMode::kGame);
    engine.interp.gosub.Clear();
  }
}
BENCHMARK(BM_DispatchLastDefsub);

}  // namespace

BENCHMARK_MAIN();
