// Integer helpers of the bar's colour interpolation.
#pragma once

#include <cstdint>

namespace lumeno::barmath {

// a * b / c with the product exact and an exact half rounded away from zero,
// as the platform's MulDiv rounds. A zero c gives 0.
int64_t MulDivHalfAway(int32_t a, int32_t b, int32_t c);

}  // namespace lumeno::barmath
