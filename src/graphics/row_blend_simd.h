// The SIMD row blenders, written once over a register type and included by
// each SIMD translation unit (row_blend_sse2.cpp, row_blend_avx2.cpp), which
// supplies the register operations (`Ops`) and is compiled for its own
// instruction set. Everything here is in an unnamed namespace on purpose: each
// unit must keep its own copy, so that code built for AVX2 can never be linked
// in place of the SSE2 code.
//
// Bytes are widened to 16-bit lanes, where two exact identities replace the
// MulTable (both checked over every input by the tests):
//   x/255   = ((x + 1)·257) >> 16      for 0 ≤ x ≤ 65534 (a product s·a)
//   s·a/255 = (s·(257a + 1)) >> 16     for 0 ≤ s ≤ 255 and a fixed 0 ≤ a ≤ 254
// each one high-half multiply. Pixel routines work on blocks of three
// registers (16 pixels for 16-byte registers, 32 for 32-byte ones), so that
// each pixel's blue byte can be spread over its green and red bytes with byte
// shifts (or a byte shuffle, where `Ops` has one). The register operations work on 16-byte lanes,
// as x86 does: `Ops` provides the lanes before and after the current ones for the shifts that cross
// them. A row runs wide blocks, then narrow ones, then its last partial block through a zeroed
// buffer, so nothing outside the row is read or written.
//
// `Ops` provides: V, kBytes; Load, Store, Zero, Set8, Set16, And, Or, Xor,
// AndNot (~a & b), CmpEq8, UnpackLo8, UnpackHi8, Add16, Sub16, MulLo16,
// MulHiU16, PackUs16, ShlBytes<n>, ShrBytes<n> (within each 16-byte lane),
// Shl16<n>, Shr16<n>, PrevLanes(prev, cur) (the 16 bytes before each lane of
// cur), NextLanes(cur, next) (the 16 bytes after each), AllOnes(v); and
// optionally SpreadMaskBlue(raw[3], out[3]) (see HasMaskShuffle).
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "graphics/row_blend.h"

namespace orivane {
namespace {

// 16-byte registers (SSE2).
struct Ops128 {
  using V = __m128i;
  static constexpr int kBytes = 16;
  static V Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const V*>(p)); }
  static void Store(uint8_t* p, V v) { _mm_storeu_si128(reinterpret_cast<V*>(p), v); }
  static V Zero() { return _mm_setzero_si128(); }
  static V Set8(int v) { return _mm_set1_epi8(static_cast<char>(v)); }
  static V Set16(int v) { return _mm_set1_epi16(static_cast<int16_t>(v)); }
  static V And(V a, V b) { return _mm_and_si128(a, b); }
  static V Or(V a, V b) { return _mm_or_si128(a, b); }
  static V Xor(V a, V b) { return _mm_xor_si128(a, b); }
  static V AndNot(V a, V b) { return _mm_andnot_si128(a, b); }
  static V CmpEq8(V a, V b) { return _mm_cmpeq_epi8(a, b); }
  static V UnpackLo8(V a, V b) { return _mm_unpacklo_epi8(a, b); }
  static V UnpackHi8(V a, V b) { return _mm_unpackhi_epi8(a, b); }
  static V Add16(V a, V b) { return _mm_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm_sub_epi16(a, b); }
  static V MulLo16(V a, V b) { return _mm_mullo_epi16(a, b); }
  static V MulHiU16(V a, V b) { return _mm_mulhi_epu16(a, b); }
  static V PackUs16(V a, V b) { return _mm_packus_epi16(a, b); }
  template <int n>
  static V ShlBytes(V v) {
    return _mm_slli_si128(v, n);
  }
  template <int n>
  static V ShrBytes(V v) {
    return _mm_srli_si128(v, n);
  }
  template <int n>
  static V Shl16(V v) {
    return _mm_slli_epi16(v, n);
  }
  template <int n>
  static V Shr16(V v) {
    return _mm_srli_epi16(v, n);
  }
  static V PrevLanes(V prev, V) { return prev; }
  static V NextLanes(V, V next) { return next; }
  static bool AllOnes(V v) { return _mm_movemask_epi8(v) == 0xFFFF; }
};

template <class O>
struct Lanes {
  using V = typename O::V;

  static V Lo16(V v) { return O::UnpackLo8(v, O::Zero()); }
  static V Hi16(V v) { return O::UnpackHi8(v, O::Zero()); }
  // d where `take_d` is all ones, s elsewhere.
  static V Select(V take_d, V d, V s) { return O::Or(O::And(take_d, d), O::AndNot(take_d, s)); }
  // x/255 in 16-bit lanes, 0 ≤ x ≤ 65534.
  static V Div255(V x) { return O::MulHiU16(O::Add16(x, O::Set16(1)), O::Set16(257)); }
  // s·a/255 + d·(255 − a)/255 in 16-bit lanes of values 0..255.
  static V Mix16(V s, V d, V a) {
    const V b = O::Sub16(O::Set16(255), a);
    return O::Add16(Div255(O::MulLo16(s, a)), Div255(O::MulLo16(d, b)));
  }
  // The same for whole registers of bytes, with a weight per byte.
  static V MixBytes(V s, V d, V a) {
    return O::PackUs16(Mix16(Lo16(s), Lo16(d), Lo16(a)), Mix16(Hi16(s), Hi16(d), Hi16(a)));
  }
};

// s·a/255 for one weight a, 0..255, in 16-bit lanes: a single multiply for
// 0..254; 255 is the value itself.
template <class O>
class ConstMul {
 public:
  using V = typename O::V;
  explicit ConstMul(int a) : k_(O::Set16(257 * (a < 255 ? a : 0) + 1)), whole_(a == 255) {}
  V operator()(V s) const { return whole_ ? s : O::MulHiU16(s, k_); }

 private:
  V k_;
  bool whole_;
};

// s·op + d·(255 − op) for a register of bytes, op fixed.
template <class O>
class ConstMix {
 public:
  using V = typename O::V;
  explicit ConstMix(int op) : src_(op), dst_(255 - op) {}
  V operator()(V s, V d) const {
    using L = Lanes<O>;
    const V lo = O::Add16(src_(L::Lo16(s)), dst_(L::Lo16(d)));
    const V hi = O::Add16(src_(L::Hi16(s)), dst_(L::Hi16(d)));
    return O::PackUs16(lo, hi);
  }

 private:
  ConstMul<O> src_, dst_;
};

// ---- Blocks of pixels ------------------------------------------------------

// A block is three registers of 24-bit pixels starting at a pixel.
template <class O>
struct PixelBlock {
  using V = typename O::V;
  static constexpr int kBytes = 3 * O::kBytes;
  static constexpr int kPixels = O::kBytes;

  // The three registers of a pattern that repeats every three bytes, built by
  // doubling (3, 6, 12 … bytes).
  static void Pattern(const uint8_t bgr[3], V out[3]) {
    alignas(64) uint8_t bytes[kBytes];
    std::memcpy(bytes, bgr, 3);
    for (int n = 3; n < kBytes; n *= 2)
      std::memcpy(bytes + n, bytes, static_cast<size_t>(n < kBytes - n ? n : kBytes - n));
    for (int r = 0; r < 3; ++r) out[r] = O::Load(bytes + r * O::kBytes);
  }

  // Copies each pixel's blue byte over its green and red bytes. `b` holds
  // values at blue bytes only; `prev` is the previous register of the block
  // (zero for the first), whose last pixel may end in this one.
  static V SpreadBlue(V prev, V b) {
    const V before = O::PrevLanes(prev, b);
    const V v = O::Or(O::Or(b, O::template ShlBytes<1>(b)), O::template ShlBytes<2>(b));
    return O::Or(v, O::Or(O::template ShrBytes<15>(before), O::template ShrBytes<14>(before)));
  }
  // The same for all three registers.
  static void SpreadBlue(const V b[3], V out[3]) {
    out[0] = SpreadBlue(O::Zero(), b[0]);
    out[1] = SpreadBlue(b[0], b[1]);
    out[2] = SpreadBlue(b[1], b[2]);
  }
};

// All ones at the blue bytes of a block of up to 64 pixels.
struct BlueTable {
  alignas(64) uint8_t bytes[192];
};
constexpr BlueTable MakeBlueTable() {
  BlueTable t{};
  for (int i = 0; i < 192; ++i) t.bytes[i] = i % 3 == 0 ? 0xFF : 0;
  return t;
}
constexpr BlueTable kBlueBytes = MakeBlueTable();

template <class O>
struct BluePositions {
  typename O::V at[3];
  BluePositions() {
    for (int r = 0; r < 3; ++r) at[r] = O::Load(kBlueBytes.bytes + r * O::kBytes);
  }
};

// Register sets with a byte shuffle spread the blue mask bytes with it
// (Ops::SpreadMaskBlue); the others with byte shifts.
template <class O>
concept HasMaskShuffle = requires(const typename O::V* in, typename O::V* out) {
  O::SpreadMaskBlue(in, out);
};

// The mask of a block: each pixel's blue mask byte in all three of its bytes.
template <class O>
struct BlockMask {
  using V = typename O::V;
  V m[3];
  BlockMask(const uint8_t* mask, const BluePositions<O>& blue) {
    if constexpr (HasMaskShuffle<O>) {
      const V raw[3] = {O::Load(mask), O::Load(mask + O::kBytes), O::Load(mask + 2 * O::kBytes)};
      O::SpreadMaskBlue(raw, m);
    } else {
      V b[3];
      for (int r = 0; r < 3; ++r) b[r] = O::And(O::Load(mask + r * O::kBytes), blue.at[r]);
      PixelBlock<O>::SpreadBlue(b, m);
    }
  }
  bool AllClear() const {
    const V all = O::And(O::And(m[0], m[1]), m[2]);
    return O::AllOnes(O::CmpEq8(all, O::Set8(-1)));
  }
  bool AllOpaque() const {
    const V any = O::Or(O::Or(m[0], m[1]), m[2]);
    return O::AllOnes(O::CmpEq8(any, O::Zero()));
  }
};

// All ones over the pixels of a block that have the key colour.
template <class O>
struct KeyMatch {
  using V = typename O::V;
  V key[3];
  explicit KeyMatch(const uint8_t k[3]) { PixelBlock<O>::Pattern(k, key); }
  void operator()(const V s[3], const BluePositions<O>& blue, V out[3]) const {
    V q[3];
    for (int r = 0; r < 3; ++r) q[r] = O::CmpEq8(s[r], key[r]);
    // At each blue byte: its own match and those of the two bytes after it,
    // which may lie in the next lane.
    V b[3];
    for (int r = 0; r < 3; ++r) {
      const V after = O::NextLanes(q[r], r < 2 ? q[r + 1] : O::Zero());
      const V green = O::Or(O::template ShrBytes<1>(q[r]), O::template ShlBytes<15>(after));
      const V red = O::Or(O::template ShrBytes<2>(q[r]), O::template ShlBytes<14>(after));
      b[r] = O::And(O::And(q[r], blue.at[r]), O::And(green, red));
    }
    PixelBlock<O>::SpreadBlue(b, out);
  }
};

// ---- Running a row ---------------------------------------------------------

// Runs wide(d, s, m) over blocks of the wide routine, narrow(…) over blocks of
// the narrow one, then narrow over the rest copied into zeroed buffers; only
// the row's own bytes are written back. `unit` is the bytes of one element
// (3 for pixels, 1 for bytes); `m` may be null.
template <class Wide, class Narrow>
void RunRow(uint8_t* d, const uint8_t* s, const uint8_t* m, int count, int unit, const Wide& wide,
            const Narrow& narrow) {
  if (count <= 0) return;
  int i = 0;
  for (; i + Wide::kCount <= count; i += Wide::kCount)
    wide(d + i * unit, s + i * unit, m ? m + i * unit : nullptr);
  for (; i + Narrow::kCount <= count; i += Narrow::kCount)
    narrow(d + i * unit, s + i * unit, m ? m + i * unit : nullptr);
  const size_t rest = static_cast<size_t>(count - i) * unit;
  if (rest == 0) return;
  alignas(64) uint8_t db[Narrow::kCount * 3] = {}, sb[Narrow::kCount * 3] = {},
                                          mb[Narrow::kCount * 3] = {};
  std::memcpy(db, d + i * unit, rest);
  std::memcpy(sb, s + i * unit, rest);
  if (m) std::memcpy(mb, m + i * unit, rest);
  narrow(db, sb, mb);
  std::memcpy(d + i * unit, db, rest);
}

// ---- The routines, one block at a time -------------------------------------

template <class O>
struct OpacityBlock {
  static constexpr int kCount = O::kBytes;
  ConstMix<O> mix;
  explicit OpacityBlock(int op) : mix(op) {}
  void operator()(uint8_t* d, const uint8_t* s, const uint8_t*) const {
    O::Store(d, mix(O::Load(s), O::Load(d)));
  }
};

template <class O>
struct AlphaBlock {
  using V = typename O::V;
  static constexpr int kCount = PixelBlock<O>::kPixels;
  BluePositions<O> blue;
  void operator()(uint8_t* d, const uint8_t* s, const uint8_t* m) const {
    const BlockMask<O> mask(m, blue);
    if (mask.AllClear()) return;
    if (mask.AllOpaque()) {
      for (int r = 0; r < 3; ++r) O::Store(d + r * O::kBytes, O::Load(s + r * O::kBytes));
      return;
    }
    for (int r = 0; r < 3; ++r) {
      const V a = O::Xor(mask.m[r], O::Set8(-1));  // 255 − m
      const int at = r * O::kBytes;
      O::Store(d + at, Lanes<O>::MixBytes(O::Load(s + at), O::Load(d + at), a));
    }
  }
};

template <class O>
struct AlphaOpacityBlock {
  using V = typename O::V;
  static constexpr int kCount = PixelBlock<O>::kPixels;
  BluePositions<O> blue;
  ConstMul<O> scale;
  explicit AlphaOpacityBlock(int op) : scale(op) {}
  void operator()(uint8_t* d, const uint8_t* s, const uint8_t* m) const {
    using L = Lanes<O>;
    const BlockMask<O> mask(m, blue);
    if (mask.AllClear()) return;
    for (int r = 0; r < 3; ++r) {
      const V inv = O::Xor(mask.m[r], O::Set8(-1));  // 255 − m, then ·op
      const int at = r * O::kBytes;
      const V sv = O::Load(s + at), dv = O::Load(d + at);
      const V lo = L::Mix16(L::Lo16(sv), L::Lo16(dv), scale(L::Lo16(inv)));
      const V hi = L::Mix16(L::Hi16(sv), L::Hi16(dv), scale(L::Hi16(inv)));
      O::Store(d + at, O::PackUs16(lo, hi));
    }
  }
};

template <class O>
struct AlphaTextBlock {
  using V = typename O::V;
  static constexpr int kCount = PixelBlock<O>::kPixels;
  BluePositions<O> blue;
  ConstMul<O> scale;
  explicit AlphaTextBlock(int op) : scale(op < 0 ? 255 : op) {}
  void operator()(uint8_t* d, const uint8_t* s, const uint8_t* m) const {
    using L = Lanes<O>;
    const BlockMask<O> mask(m, blue);
    for (int r = 0; r < 3; ++r) {
      const int at = r * O::kBytes;
      const V sv = O::Load(s + at), dv = O::Load(d + at);
      // d·m + op·s; packing saturates at 255.
      const V lo =
          O::Add16(L::Div255(O::MulLo16(L::Lo16(dv), L::Lo16(mask.m[r]))), scale(L::Lo16(sv)));
      const V hi =
          O::Add16(L::Div255(O::MulLo16(L::Hi16(dv), L::Hi16(mask.m[r]))), scale(L::Hi16(sv)));
      O::Store(d + at, O::PackUs16(lo, hi));
    }
  }
};

template <class O>
struct KeyedBlock {
  using V = typename O::V;
  static constexpr int kCount = PixelBlock<O>::kPixels;
  BluePositions<O> blue;
  KeyMatch<O> match;
  bool copy;
  ConstMix<O> mix;
  KeyedBlock(const uint8_t key[3], int op)
      : match(key), copy(op < 0 || op >= 255), mix(copy ? 255 : op) {}
  void operator()(uint8_t* d, const uint8_t* s, const uint8_t*) const {
    V sv[3], keyed[3];
    for (int r = 0; r < 3; ++r) sv[r] = O::Load(s + r * O::kBytes);
    match(sv, blue, keyed);
    for (int r = 0; r < 3; ++r) {
      const V dv = O::Load(d + r * O::kBytes);
      O::Store(d + r * O::kBytes, Lanes<O>::Select(keyed[r], dv, copy ? sv[r] : mix(sv[r], dv)));
    }
  }
};

// Cross-fade bytes: those of the phase are the low (phase 0) or high (phase 1)
// halves of the 16-bit lanes, counted from the row start.
template <class O>
struct CrossFadeBlock {
  using V = typename O::V;
  static constexpr int kCount = O::kBytes;
  ConstMul<O> to_fresh, to_old;
  int phase;
  CrossFadeBlock(int a, int p) : to_fresh(a), to_old(255 - a), phase(p) {}
  // d = out, s = old, m = fresh
  void operator()(uint8_t* d, const uint8_t* s, const uint8_t* m) const {
    const V low = O::Set16(0x00FF);
    const V o = O::Load(s), n = O::Load(m), dv = O::Load(d);
    if (phase == 0) {
      const V v = O::Add16(to_fresh(O::And(n, low)), to_old(O::And(o, low)));
      O::Store(d, O::Or(O::AndNot(low, dv), v));
    } else {
      const V v = O::Add16(to_fresh(O::template Shr16<8>(n)), to_old(O::template Shr16<8>(o)));
      O::Store(d, O::Or(O::And(low, dv), O::template Shl16<8>(v)));
    }
  }
};

// ---- The row routines over a wide and a narrow register type ---------------

template <class W, class N>
struct SimdRows {
  static void Opacity(uint8_t* d, const uint8_t* s, int bytes, int op) {
    if (bytes <= 0 || op <= 0) return;
    if (op >= 255) {
      std::memcpy(d, s, static_cast<size_t>(bytes));
      return;
    }
    RunRow(d, s, nullptr, bytes, 1, OpacityBlock<W>(op), OpacityBlock<N>(op));
  }
  static void Alpha(uint8_t* d, const uint8_t* s, const uint8_t* m, int pixels) {
    RunRow(d, s, m, pixels, 3, AlphaBlock<W>(), AlphaBlock<N>());
  }
  static void AlphaOpacity(uint8_t* d, const uint8_t* s, const uint8_t* m, int pixels, int op) {
    if (op <= 0) return;
    if (op >= 255) return Alpha(d, s, m, pixels);  // op·(255 − m) = 255 − m
    RunRow(d, s, m, pixels, 3, AlphaOpacityBlock<W>(op), AlphaOpacityBlock<N>(op));
  }
  static void AlphaText(uint8_t* d, const uint8_t* s, const uint8_t* m, int pixels, int op) {
    RunRow(d, s, m, pixels, 3, AlphaTextBlock<W>(op), AlphaTextBlock<N>(op));
  }
  static void Keyed(uint8_t* d, const uint8_t* s, int pixels, const uint8_t key[3], int op) {
    if (op == 0) return;
    RunRow(d, s, nullptr, pixels, 3, KeyedBlock<W>(key, op), KeyedBlock<N>(key, op));
  }
  static void CrossFade(uint8_t* out, const uint8_t* old, const uint8_t* fresh, int bytes, int a,
                        int phase) {
    RunRow(out, old, fresh, bytes, 1, CrossFadeBlock<W>(a, phase), CrossFadeBlock<N>(a, phase));
  }
  static constexpr RowBlenders kRows{Opacity, Alpha, AlphaOpacity, AlphaText, Keyed, CrossFade};
};

}  // namespace
}  // namespace orivane
