#include "script/label_scan.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orivane {
namespace {

// Bit masks of 16 or 64 bytes, bit i for p[i], eight bytes at a time in a
// 64-bit word, for CPUs without the vector path.
struct PlainMasks {
  static uint64_t Equal8(const uint8_t* p, uint8_t c) {
    uint64_t x;
    std::memcpy(&x, p, 8);
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
    x = __builtin_bswap64(x);  // byte i in bits 8i..8i+7
#endif
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
    x ^= kLow7 / 0x7F * c;  // the bytes equal to c become 0
    // The top bit of each byte that is 0, exactly: no carry crosses a byte.
    uint64_t zero = ~(((x & kLow7) + kLow7) | x | kLow7);
    // Gather the eight top bits into one byte, bit i for byte i.
    return ((zero >> 7) * 0x0102040810204080ull) >> 56;
  }
  static uint64_t Equal(const uint8_t* p, int count, uint8_t c) {
    uint64_t mask = 0;
    for (int i = 0; i < count; i += 8) mask |= Equal8(p + i, c) << i;
    return mask;
  }
  static uint64_t Stars16(const uint8_t* p) {
    return Equal(p, 16, '*');
  }
  static uint64_t Nuls16(const uint8_t* p) {
    return Equal(p, 16, 0);
  }
  static uint64_t Stars64(const uint8_t* p) {
    return Equal(p, 64, '*');
  }
  static uint64_t Nuls64(const uint8_t* p) {
    return Equal(p, 64, 0);
  }
  static bool AnyNul64(const uint8_t* p) {
    return Nuls64(p) != 0;
  }
};

#if defined(__SSE2__)
struct Sse2Masks {
  static __m128i Load(const uint8_t* p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  }
  static uint64_t Equal16(const uint8_t* p, uint8_t c) {
    return static_cast<uint32_t>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(Load(p), _mm_set1_epi8(static_cast<char>(c)))));
  }
  static uint64_t Equal64(const uint8_t* p, uint8_t c) {
    return Equal16(p, c) | Equal16(p + 16, c) << 16 | Equal16(p + 32, c) << 32 |
           Equal16(p + 48, c) << 48;
  }
  static uint64_t Stars16(const uint8_t* p) { return Equal16(p, '*'); }
  static uint64_t Nuls16(const uint8_t* p) { return Equal16(p, 0); }
  static uint64_t Stars64(const uint8_t* p) { return Equal64(p, '*'); }
  static uint64_t Nuls64(const uint8_t* p) { return Equal64(p, 0); }
  // One test for the whole block: its smallest byte is 0.
  static bool AnyNul64(const uint8_t* p) {
    __m128i smallest =
        _mm_min_epu8(_mm_min_epu8(Load(p), Load(p + 16)), _mm_min_epu8(Load(p + 32), Load(p + 48)));
    return _mm_movemask_epi8(_mm_cmpeq_epi8(smallest, _mm_setzero_si128())) != 0;
  }
};
using VectorMasks = Sse2Masks;
#else
using VectorMasks = PlainMasks;
#endif

// Whether the blanks that end bytes[from, k] start at a line start.
bool BlanksFollowLineStart(const uint8_t* bytes, int32_t from, int32_t k) {
  while (k >= from && (bytes[k] == ' ' || bytes[k] == '\t')) --k;
  return k < from || bytes[k] == '\n';
}

// True when only blanks lie between the start of the line (or `from`) and
// the '*' at q. The byte just before settles almost every case, so this part
// is inlined into the scan.
[[gnu::always_inline]] inline bool StartsItsLine(const uint8_t* bytes, int32_t from, int32_t q) {
  if (q == from) return true;
  uint8_t before = bytes[q - 1];
  if (before == '\n') return true;
  if (before != ' ' && before != '\t') return false;
  return BlanksFollowLineStart(bytes, from, q - 2);
}

// The first line-starting '*' among `stars` (bits from p), or -1.
int32_t FirstLabelStar(const uint8_t* bytes, int32_t from, int32_t p, uint64_t stars) {
  for (; stars; stars &= stars - 1) {
    int32_t q = p + __builtin_ctzll(stars);
    if (StartsItsLine(bytes, from, q)) return q;
  }
  return -1;
}

// Only the stars before the first NUL of `nuls` (nonzero) count.
uint64_t BeforeFirst(uint64_t stars, uint64_t nuls) {
  return stars & ((nuls & (~nuls + 1)) - 1);
}

template <typename Masks>
int32_t Scan(const uint8_t* bytes, int32_t from, int32_t length) {
  int32_t p = from;
  // 64 bytes at a time while they lie within the script.
  for (; p + 64 <= length; p += 64) {
    uint64_t stars = Masks::Stars64(bytes + p);
    if (Masks::AnyNul64(bytes + p))
      return FirstLabelStar(bytes, from, p, BeforeFirst(stars, Masks::Nuls64(bytes + p)));
    for (; stars; stars &= stars - 1) {  // the common case, kept in this loop
      int32_t q = p + __builtin_ctzll(stars);
      if (StartsItsLine(bytes, from, q)) return q;
    }
  }
  // Then 16: a block starts at or before the terminating NUL, so it ends
  // within the padding.
  for (;; p += 16) {
    uint64_t stars = Masks::Stars16(bytes + p);
    uint64_t nuls = Masks::Nuls16(bytes + p);
    if (nuls) return FirstLabelStar(bytes, from, p, BeforeFirst(stars, nuls));
    int32_t q = FirstLabelStar(bytes, from, p, stars);
    if (q >= 0) return q;
  }
}

}  // namespace

int32_t FindLabelStar(const uint8_t* bytes, int32_t from, int32_t length) {
  return Scan<VectorMasks>(bytes, from, length);
}

namespace label_scan_detail {
int32_t FindLabelStarPlain(const uint8_t* bytes, int32_t from, int32_t length) {
  return Scan<PlainMasks>(bytes, from, length);
}
}  // namespace label_scan_detail

}  // namespace orivane
