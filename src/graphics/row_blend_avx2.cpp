// The AVX2 row blenders: the routines of row_blend_simd.h on 32-byte
// registers, with 16-byte ones for the rest of a row. This file alone is
// compiled for AVX2 (see src/CMakeLists.txt); row_blend.cpp hands the set out
// only on a CPU that has AVX2. It includes nothing but intrinsics and the
// row blender headers, so no AVX2 copy of a shared inline function can end up
// in the rest of the program.
#include "graphics/row_blend_sets.h"

#if defined(__AVX2__)

#include <immintrin.h>

#include "graphics/row_blend_simd.h"

namespace orivane {
namespace {

// For output byte i of a 16-byte lane of phase p (its first byte is byte p of
// a pixel): the index of its pixel's blue byte among the 16 bytes starting p
// bytes before the lane. Lanes 0..5 of a block of three 32-byte registers.
struct ShuffleTable {
  alignas(32) uint8_t bytes[96];
};
constexpr ShuffleTable MakeShuffleTable() {
  ShuffleTable t{};
  for (int lane = 0; lane < 6; ++lane) {
    const int p = (lane * 16) % 3;
    for (int i = 0; i < 16; ++i) t.bytes[lane * 16 + i] = static_cast<uint8_t>(i + p - (p + i) % 3);
  }
  return t;
}
constexpr ShuffleTable kMaskShuffle = MakeShuffleTable();

struct Ops256 {
  using V = __m256i;
  static constexpr int kBytes = 32;
  static V Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const V*>(p)); }
  static void Store(uint8_t* p, V v) { _mm256_storeu_si256(reinterpret_cast<V*>(p), v); }
  static V Zero() { return _mm256_setzero_si256(); }
  static V Set8(int v) { return _mm256_set1_epi8(static_cast<char>(v)); }
  static V Set16(int v) { return _mm256_set1_epi16(static_cast<int16_t>(v)); }
  static V And(V a, V b) { return _mm256_and_si256(a, b); }
  static V Or(V a, V b) { return _mm256_or_si256(a, b); }
  static V Xor(V a, V b) { return _mm256_xor_si256(a, b); }
  static V AndNot(V a, V b) { return _mm256_andnot_si256(a, b); }
  static V CmpEq8(V a, V b) { return _mm256_cmpeq_epi8(a, b); }
  static V UnpackLo8(V a, V b) { return _mm256_unpacklo_epi8(a, b); }
  static V UnpackHi8(V a, V b) { return _mm256_unpackhi_epi8(a, b); }
  static V Add16(V a, V b) { return _mm256_add_epi16(a, b); }
  static V Sub16(V a, V b) { return _mm256_sub_epi16(a, b); }
  static V MulLo16(V a, V b) { return _mm256_mullo_epi16(a, b); }
  static V MulHiU16(V a, V b) { return _mm256_mulhi_epu16(a, b); }
  static V PackUs16(V a, V b) { return _mm256_packus_epi16(a, b); }
  template <int n>
  static V ShlBytes(V v) {
    return _mm256_bslli_epi128(v, n);
  }
  template <int n>
  static V ShrBytes(V v) {
    return _mm256_bsrli_epi128(v, n);
  }
  template <int n>
  static V Shl16(V v) {
    return _mm256_slli_epi16(v, n);
  }
  template <int n>
  static V Shr16(V v) {
    return _mm256_srli_epi16(v, n);
  }
  // [prev's high lane, cur's low lane] and [cur's high lane, next's low lane].
  static V PrevLanes(V prev, V cur) { return _mm256_permute2x128_si256(prev, cur, 0x21); }
  static V NextLanes(V cur, V next) { return _mm256_permute2x128_si256(cur, next, 0x21); }
  static bool AllOnes(V v) { return _mm256_movemask_epi8(v) == -1; }

  // Each pixel's blue mask byte over its three bytes, for the three registers
  // of a block, by one byte shuffle each. A lane whose first byte is byte p of
  // a pixel (its phase) shuffles the 16 bytes starting p bytes earlier, which
  // hold the blue byte of the pixel it begins inside.
  // Lane phases: register 0 (0, 1), register 1 (2, 0), register 2 (1, 2).
  static void SpreadMaskBlue(const V raw[3], V out[3]) {
    const V w1_0 = _mm256_alignr_epi8(raw[0], PrevLanes(Zero(), raw[0]), 15);
    const V w2_1 = _mm256_alignr_epi8(raw[1], PrevLanes(raw[0], raw[1]), 14);
    const V before2 = PrevLanes(raw[1], raw[2]);
    const V w1_2 = _mm256_alignr_epi8(raw[2], before2, 15);
    const V w2_2 = _mm256_alignr_epi8(raw[2], before2, 14);
    out[0] = _mm256_shuffle_epi8(_mm256_blend_epi32(raw[0], w1_0, 0xF0), Load(kMaskShuffle.bytes));
    out[1] =
        _mm256_shuffle_epi8(_mm256_blend_epi32(w2_1, raw[1], 0xF0), Load(kMaskShuffle.bytes + 32));
    out[2] =
        _mm256_shuffle_epi8(_mm256_blend_epi32(w1_2, w2_2, 0xF0), Load(kMaskShuffle.bytes + 64));
  }
};

}  // namespace

const RowBlenders* Avx2RowBlendersBuilt() {
  return &SimdRows<Ops256, Ops128>::kRows;
}

}  // namespace orivane

#else

namespace orivane {

const RowBlenders* Avx2RowBlendersBuilt() {
  return nullptr;
}

}  // namespace orivane

#endif
