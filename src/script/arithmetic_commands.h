// Pure helpers of the arithmetic commands, exposed for tests.
#pragma once

#include <cstdint>

namespace orivane {

enum class TrigFunction { kSin, kCos, kTan };

// 1000 times the function of an angle in degrees, rounded half away from
// zero. Values beyond the 32-bit range (tan near 90 degrees) are held at its
// ends.
int32_t FixedPointTrig(TrigFunction f, int32_t degrees);

}  // namespace orivane
