// The plain row blenders: one byte at a time, with the products divided as
// the MulTable defines them. They run on every CPU and are the reference the
// SIMD routines are tested against. Also the choice of set for this CPU.
#include "graphics/row_blend.h"

#include <cstring>
#include <initializer_list>

#include "graphics/row_blend_sets.h"

namespace orivane {
namespace {

// a·b/255 for a, b in 0..255.
inline int Mul(int a, int b) {
  return a * b / 255;
}
// The same with the product held in 16 bits, so that the compiler knows its
// range: the loops over bytes with one weight then vectorise with a cheap
// 16-bit multiply (about four times faster than the form above there; in the
// loops over pixels the form above is the faster one).
inline int Mul16(int a, int b) {
  return static_cast<uint16_t>(a * b) / 255u;
}

void Opacity(uint8_t* d, const uint8_t* s, int bytes, int op) {
  for (int i = 0; i < bytes; ++i)
    d[i] = static_cast<uint8_t>(Mul16(s[i], op) + Mul16(d[i], 255 - op));
}

void Alpha(uint8_t* d, const uint8_t* s, const uint8_t* m, int pixels) {
  for (int i = 0; i < pixels; ++i, d += 3, s += 3, m += 3) {
    const int keep = m[0], take = 255 - keep;
    d[0] = static_cast<uint8_t>(Mul(s[0], take) + Mul(d[0], keep));
    d[1] = static_cast<uint8_t>(Mul(s[1], take) + Mul(d[1], keep));
    d[2] = static_cast<uint8_t>(Mul(s[2], take) + Mul(d[2], keep));
  }
}

void AlphaOpacity(uint8_t* d, const uint8_t* s, const uint8_t* m, int pixels, int op) {
  for (int i = 0; i < pixels; ++i, d += 3, s += 3, m += 3) {
    const int a = Mul(op, 255 - m[0]);
    for (int c = 0; c < 3; ++c) d[c] = static_cast<uint8_t>(Mul(s[c], a) + Mul(d[c], 255 - a));
  }
}

void AlphaText(uint8_t* d, const uint8_t* s, const uint8_t* m, int pixels, int op) {
  for (int i = 0; i < pixels; ++i, d += 3, s += 3, m += 3)
    for (int c = 0; c < 3; ++c) {
      const int v = Mul(d[c], m[0]) + (op < 0 ? s[c] : Mul(op, s[c]));
      d[c] = static_cast<uint8_t>(v > 255 ? 255 : v);
    }
}

void Keyed(uint8_t* d, const uint8_t* s, int pixels, const uint8_t key[3], int op) {
  for (int i = 0; i < pixels; ++i, d += 3, s += 3) {
    if (s[0] == key[0] && s[1] == key[1] && s[2] == key[2]) continue;
    if (op < 0)
      std::memcpy(d, s, 3);
    else
      Opacity(d, s, 3, op);
  }
}

void CrossFade(uint8_t* out, const uint8_t* old, const uint8_t* fresh, int bytes, int a,
               int phase) {
  for (int i = phase; i < bytes; i += 2)
    out[i] = static_cast<uint8_t>(Mul16(fresh[i], a) + Mul16(old[i], 255 - a));
}

constexpr RowBlenders kPlain{Opacity, Alpha, AlphaOpacity, AlphaText, Keyed, CrossFade};

bool CpuHasAvx2() {
#if (defined(__x86_64__) || defined(__i386__)) && defined(__GNUC__)
  return __builtin_cpu_supports("avx2");
#else
  return false;
#endif
}

}  // namespace

const RowBlenders* RowBlendersFor(RowBlendSet set) {
  switch (set) {
    case RowBlendSet::kPlain:
      return &kPlain;
    case RowBlendSet::kSse2:
      return Sse2RowBlenders();
    case RowBlendSet::kAvx2:
      return CpuHasAvx2() ? Avx2RowBlendersBuilt() : nullptr;
  }
  return nullptr;
}

const RowBlenders& PlainRowBlenders() {
  return kPlain;
}

const RowBlenders& FastRowBlenders() {
  for (RowBlendSet set : {RowBlendSet::kAvx2, RowBlendSet::kSse2})
    if (const RowBlenders* rows = RowBlendersFor(set)) return *rows;
  return kPlain;
}

}  // namespace orivane
