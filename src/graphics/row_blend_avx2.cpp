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
