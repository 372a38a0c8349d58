// LZSS streams from hostile bytes: decoding stays inside its buffers, a cut
// decoding is a prefix of the whole one, and leaves the same window behind;
// decoding into memory and into a file agree byte for byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>

#include "archive/lzss.h"

using namespace orivane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  LzssWindow start;
  start.bytes[239] = data[0];  // something left in the tail by an earlier entry
  start.bytes[255] = data[1];
  const size_t limit = data[2];
  data += 3;
  size -= 3;
  LzssWindow whole_window = start, cut_window = start;
  auto whole = LzssDecodeToMemory(whole_window, data, size, SIZE_MAX);
  auto cut = LzssDecodeToMemory(cut_window, data, size, limit);
  if (cut.size() > limit || cut.size() > whole.size()) std::abort();
  if (!std::equal(cut.begin(), cut.end(), whole.begin())) std::abort();
  if (whole_window.bytes != cut_window.bytes) std::abort();

  LzssWindow file_window = start;
  char* file_data = nullptr;
  size_t file_size = 0;
  std::FILE* f = open_memstream(&file_data, &file_size);
  int64_t written = LzssDecodeToFile(file_window, data, size, f);
  std::fclose(f);
  bool same = written == static_cast<int64_t>(whole.size()) && file_size == whole.size() &&
              std::equal(whole.begin(), whole.end(), reinterpret_cast<uint8_t*>(file_data));
  std::free(file_data);
  if (!same || file_window.bytes != whole_window.bytes) std::abort();
  return 0;
}
