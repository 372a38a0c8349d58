// LZSS streams from hostile bytes: decoding stays inside its buffers, a cut
// decoding is a prefix of the whole one, and leaves the same window behind.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "archive/lzss.h"

using namespace orivane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  LzssWindow start;
  std::memcpy(start.bytes.data(), data, 2);  // something left by an earlier entry
  const size_t limit = data[2];
  data += 3;
  size -= 3;
  LzssWindow whole_window = start, cut_window = start;
  auto whole = LzssDecodeToMemory(whole_window, data, size, SIZE_MAX);
  auto cut = LzssDecodeToMemory(cut_window, data, size, limit);
  if (cut.size() > limit || cut.size() > whole.size()) std::abort();
  if (!std::equal(cut.begin(), cut.end(), whole.begin())) std::abort();
  if (whole_window.bytes != cut_window.bytes) std::abort();
  return 0;
}
