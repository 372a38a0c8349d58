// The LZSS decoder of compressed archive entries (kind 2).
//
// A stream is a sequence of tokens: bit 1 + 8 bits is a literal byte; bit 0 +
// 8 bits position + 4 bits length copies length + 2 bytes from a 256-byte
// window starting at that position. Every output byte also goes into the window
// at the write position, which starts at 239. The window is shared by all
// decodings of a run: before each entry bytes 0..238 become spaces while bytes
// 239..255 keep what the previous decoding left there. Decoding ends only when
// the input ends; an incomplete last token produces nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace orivane {

struct LzssWindow {
  std::array<uint8_t, 256> bytes{};  // all zero before the first decoding
};

inline constexpr uint8_t kLzssStartPosition = 0xEF;

// Decodes `in` into memory. At most `limit` bytes are kept; output beyond it is
// cut off (but still passes through the window, so the next entry sees the same
// window either way). Returns the kept bytes.
std::vector<uint8_t> LzssDecodeToMemory(LzssWindow& window, const uint8_t* in, size_t in_size,
                                        size_t limit);

// Decodes `in` and writes all of the output to `out`. Returns the number of
// bytes produced, or -1 when writing failed.
int64_t LzssDecodeToFile(LzssWindow& window, const uint8_t* in, size_t in_size, std::FILE* out);

}  // namespace orivane
