#include "archive/lzss_encoder.h"

#include <algorithm>

#include "archive/bit_writer.h"

namespace orivane {
namespace {

// The decoder's window seen as a stream: 239 spaces (window bytes 0..238)
// followed by the output. The byte at stream index i lives at window position
// i mod 256, so a copy may reach back at most 256 bytes and never before the
// start of the stream (window bytes 239..255 are unknown until written).
constexpr size_t kPreset = 239;
constexpr size_t kMaxDistance = 256;
constexpr size_t kMinMatch = 2;
constexpr size_t kMaxMatch = 17;
constexpr int kMaxChain = 64;

uint32_t PairHash(const uint8_t* p) { return (static_cast<uint32_t>(p[0]) << 8) | p[1]; }

}  // namespace

std::vector<uint8_t> LzssEncode(const uint8_t* data, size_t size) {
  std::vector<uint8_t> stream(kPreset, uint8_t{0x20});
  stream.insert(stream.end(), data, data + size);
  const size_t total = stream.size();
  // Hash chains over pairs of bytes: head[pair] is the latest stream index
  // starting with that pair, prev[i] the one before it.
  std::vector<int64_t> head(65536, -1);
  std::vector<int64_t> prev(total, -1);
  auto insert = [&](size_t i) {
    if (i + 1 >= total) return;
    uint32_t h = PairHash(&stream[i]);
    prev[i] = head[h];
    head[h] = static_cast<int64_t>(i);
  };
  for (size_t i = 0; i < kPreset; ++i) insert(i);

  BitWriter out;
  size_t i = kPreset;
  while (i < total) {
    size_t best_len = 0, best_from = 0;
    if (i + kMinMatch <= total) {
      size_t limit = std::min(kMaxMatch, total - i);
      int chain = kMaxChain;
      for (int64_t c = head[PairHash(&stream[i])]; c >= 0 && chain-- > 0; c = prev[c]) {
        size_t from = static_cast<size_t>(c);
        if (i - from > kMaxDistance) break;
        size_t len = 0;
        while (len < limit && stream[from + len] == stream[i + len]) ++len;
        if (len > best_len) {
          best_len = len;
          best_from = from;
          if (len == limit) break;
        }
      }
    }
    if (best_len >= kMinMatch) {
      out.Write(1, 0);
      out.Write(8, static_cast<uint32_t>(best_from & 255));
      out.Write(4, static_cast<uint32_t>(best_len - kMinMatch));
      for (size_t k = 0; k < best_len; ++k) insert(i + k);
      i += best_len;
    } else {
      out.Write(1, 1);
      out.Write(8, stream[i]);
      insert(i);
      ++i;
    }
  }
  return out.Finish();
}

}  // namespace orivane
