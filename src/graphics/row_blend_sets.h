// The row blender sets built into the program, one translation unit each;
// row_blend.cpp chooses among them. A getter returns null when its set is not
// built for this target.
#pragma once

#include "graphics/row_blend.h"

namespace orivane {

const RowBlenders* Sse2RowBlenders();
// Built for AVX2: only to be used after the CPU has been checked for it.
const RowBlenders* Avx2RowBlendersBuilt();

}  // namespace orivane
