// The SSE2 row blenders: the routines of row_blend_simd.h on 16-byte
// registers. SSE2 is part of every x86-64 CPU, so this set needs no check.
#include "graphics/row_blend_sets.h"

#if defined(__SSE2__)

#include "graphics/row_blend_simd.h"

namespace orivane {

const RowBlenders* Sse2RowBlenders() {
  return &SimdRows<Ops128, Ops128>::kRows;
}

}  // namespace orivane

#else

namespace orivane {

const RowBlenders* Sse2RowBlenders() {
  return nullptr;
}

}  // namespace orivane

#endif
