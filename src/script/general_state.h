// State of the general-purpose commands: the random generator, the return
// channel, the one CSV file that may be open, and the programs started by
// `winexec` and `shell` that have not been reaped yet.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "util/child_process.h"

namespace orivane {

// The classic linear congruential generator of C libraries (multiplier
// 214013, increment 2531011, bits 16-30 of the state), yielding 0 .. 32767.
// It is seeded from the engine clock at its first use: repeatable under the
// headless platform's virtual clock, different from run to run for a player.
class RandomGenerator {
 public:
  void Seed(uint32_t seed) {
    state_ = seed;
    seeded_ = true;
  }
  // The next number, seeding from `now` (the engine clock) at the first use.
  int32_t NextSeededAt(uint32_t now) {
    if (!seeded_) Seed(now);
    return Next();
  }
  int32_t Next() {
    state_ = state_ * 214013u + 2531011u;
    return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
  }

 private:
  uint32_t state_ = 0;
  bool seeded_ = false;
};

// The value and string that commands and plug-ins report as their result,
// read by `getret`.
struct ReturnChannel {
  int32_t value = 0;
  std::string text;
};

// The CSV file of `csvopen` .. `csvclose`. A file opened for reading is read
// whole into `data` (from a loose file or, later, an archive entry), so no
// extracted copy is ever left on disk. A file opened for writing is written
// to a temporary file beside it and renamed over it when it is closed (or
// when the engine goes away with the file still open).
class CsvState {
 public:
  CsvState() = default;
  CsvState(const CsvState&) = delete;
  CsvState& operator=(const CsvState&) = delete;
  ~CsvState() { Close(); }

  bool is_open() const { return !name.empty(); }
  // Finishes a written file and forgets the open one. Returns false when a
  // written file could not be completed (the old file is then left alone).
  bool Close();

  std::string name;             // as the script gave it; empty when none is open
  bool writing = false;         // kept by a `csvopen` with an unknown mode
  bool scrambled = false;       // every byte XOR 0xA7
  std::vector<uint8_t> data;    // reading: the whole file, already unscrambled
  size_t read_pos = 0;
  std::string field;           // scratch for the field being read
  FILE* out = nullptr;          // writing: the temporary file
  std::string out_temp_path;    // host path of the temporary file
  std::string out_final_path;   // host path it is renamed to
};

struct GeneralState {
  RandomGenerator random;
  CsvState csv;
  ChildProcesses children;
};

}  // namespace orivane
