// Row blenders: the inner loops of sprite drawing and of the cross-fade, one
// row of 24-bit blue-green-red pixels at a time. Every routine gives exactly
// the bytes of the MulTable rules (a·b/255, truncated), computed rather than
// looked up:
//   opacity      d = s·op + d·(255−op)                    (every byte)
//   alpha        d = s·(255−m) + d·m                      (m = blue byte of the mask pixel)
//   alpha+op     a = op·(255−m); d = s·a + d·(255−a)
//   alpha text   d = min(255, d·m + s)  | min(255, d·m + op·s)
//   keyed        pixels equal to the key colour are left; others copied or blended with op
//   cross-fade   out = fresh·a + old·(255−a) at even (phase 0) or odd (phase 1) byte offsets
// Several sets exist: the plain one (portable C++, the reference) and SIMD
// ones (SSE2 on every x86-64 CPU; AVX2, chosen at run time where the CPU has
// it). All give the same bytes. Pointers need no alignment; a routine reads
// and writes only the bytes of its row, so rows may end anywhere in memory.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orivane {

struct RowBlenders {
  // op in 0..255 (0 leaves the row, 255 copies it).
  void (*opacity)(uint8_t* dst, const uint8_t* src, int bytes, int op);
  // `mask` is the row of mask pixels belonging to `src`.
  void (*alpha)(uint8_t* dst, const uint8_t* src, const uint8_t* mask, int pixels);
  void (*alpha_opacity)(uint8_t* dst, const uint8_t* src, const uint8_t* mask, int pixels, int op);
  // op −1 (never set) draws as 255.
  void (*alpha_text)(uint8_t* dst, const uint8_t* src, const uint8_t* mask, int pixels, int op);
  // key is blue, green, red; op −1 copies.
  void (*keyed)(uint8_t* dst, const uint8_t* src, int pixels, const uint8_t key[3], int op);
  // a in 0..255; the bytes of the other parity keep their value.
  void (*cross_fade)(uint8_t* out, const uint8_t* old, const uint8_t* fresh, int bytes, int a,
                     int phase);
};

enum class RowBlendSet { kPlain, kSse2, kAvx2 };

// The routines of a set, or null when the set is not built for this target or
// the CPU lacks its instructions.
const RowBlenders* RowBlendersFor(RowBlendSet set);
// The portable routines, written as the rules read.
const RowBlenders& PlainRowBlenders();
// The routines the engine draws with: the widest set this CPU runs.
const RowBlenders& FastRowBlenders();

// Asks the CPU to bring `bytes` bytes at `p` into the cache ahead of use: row
// loops call it for the next row while they work on the current one. Only a
// hint; it never faults and does nothing where the compiler has no prefetch.
inline void PrefetchBytes(const uint8_t* p, size_t bytes) {
#if defined(__GNUC__)
  if (bytes == 0) return;
  for (size_t i = 0; i < bytes; i += 64) __builtin_prefetch(p + i);
  __builtin_prefetch(p + bytes - 1);
#else
  (void)p;
  (void)bytes;
#endif
}

}  // namespace orivane
