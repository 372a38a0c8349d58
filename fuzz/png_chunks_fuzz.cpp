// The chunk walk the PNG path makes before libpng sees a file (libpng itself
// is not instrumented here, so its fuzz target reaches few edges of its
// own): on arbitrary bytes it stays inside them, and when it accepts a file
// every chunk up to IEND, checked here independently, lies within it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "graphics/png_decode.h"

namespace {

// Whether chunk lengths up to IEND stay within the data, read the plain way.
bool EveryChunkFits(const uint8_t* data, size_t size) {
  uint64_t at = 8;
  while (at + 8 <= size) {
    const uint64_t length = (uint64_t{data[at]} << 24) | (uint64_t{data[at + 1]} << 16) |
                            (uint64_t{data[at + 2]} << 8) | data[at + 3];
    if (at + 12 + length > size) return false;
    if (std::memcmp(data + at + 4, "IEND", 4) == 0) return true;
    at += 12 + length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (orivane::ChunksFitInData(data, size) != EveryChunkFits(data, size)) std::abort();
  return 0;
}
