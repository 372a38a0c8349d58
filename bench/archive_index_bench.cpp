// Indexing an archive of 50,000 entries, against reading its index bytes in
// the same run ("x_read": how many times slower than a plain read of the
// header and records); and a lookup in that index.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "archive/archive_index.h"
#include "archive/archive_index_reader.h"
#include "archive/archive_writer.h"
#include "archive/byte_input.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kEntries = 50000;

std::string EntryName(int i) {
  char name[64];
  std::snprintf(name, sizeof name, "%s\\%s%05d.%s", i % 3 ? "bg" : "se", i % 2 ? "Pic" : "snd", i,
                i % 2 ? "bmp" : "wav");
  return name;
}

// The archive file, made once: 50,000 small stored entries.
struct BenchArchive {
  std::string path;
  size_t index_bytes = 0;
  BenchArchive() {
    std::vector<orivane::PackedEntry> entries;
    for (int i = 0; i < kEntries; ++i) {
      orivane::PackedEntry e;
      e.name = EntryName(i);
      e.stored = {1, 2, 3, 4};
      e.decoded_size = 4;
      entries.push_back(std::move(e));
    }
    std::vector<uint8_t> bytes;
    std::string error;
    if (!orivane::BuildArchive(entries, 0, bytes, error)) std::abort();
    index_bytes = bytes.size() - 4 * kEntries;
    path = (std::filesystem::temp_directory_path() / ("orivane-bench-" + std::to_string(::getpid()) + ".ora")).string();
    std::FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
  }
  ~BenchArchive() { std::remove(path.c_str()); }
};

const BenchArchive& Archive() {
  static const BenchArchive archive;  // built once for the whole program
  return archive;
}

double ReadIndexBytesSeconds(int64_t reps) {
  std::vector<uint8_t> buf(Archive().index_bytes);
  auto t0 = Clock::now();
  for (int64_t i = 0; i < reps; ++i) {
    std::FILE* f = std::fopen(Archive().path.c_str(), "rb");
    size_t n = std::fread(buf.data(), 1, buf.size(), f);
    benchmark::DoNotOptimize(n);
    std::fclose(f);
  }
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

orivane::ArchiveIndex BuildIndex() {
  orivane::ArchiveIndex index;
  std::FILE* f = std::fopen(Archive().path.c_str(), "rb");
  orivane::ByteInput in(f);
  orivane::IndexArchiveRecords(in, std::filesystem::file_size(Archive().path), 0, 0, index);
  std::fclose(f);
  return index;
}

void BM_IndexArchive(benchmark::State& state) {
  Archive();
  auto t0 = Clock::now();
  for (auto _ : state) {
    orivane::ArchiveIndex index = BuildIndex();
    benchmark::DoNotOptimize(index.size());
  }
  double build = std::chrono::duration<double>(Clock::now() - t0).count();
  state.counters["entries"] = kEntries;
  state.counters["x_read"] = build / ReadIndexBytesSeconds(state.iterations());
}
BENCHMARK(BM_IndexArchive)->Unit(benchmark::kMillisecond);

void BM_Lookup(benchmark::State& state) {
  orivane::ArchiveIndex index = BuildIndex();
  std::vector<std::string> names;
  for (int i = 0; i < kEntries; i += 97) names.push_back(orivane::ArchiveIndex::Lower(EntryName(i)));
  size_t k = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(index.Find(names[k]));
    if (++k == names.size()) k = 0;
  }
}
BENCHMARK(BM_Lookup);

}  // namespace
