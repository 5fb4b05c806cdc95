// The bar's integer results of real arithmetic, computed exactly so that every
// compiler gives the same pixels: no long double, no FPU modes.
#pragma once

#include <cstdint>

namespace lumeno::barmath {

// round(ext(ext(num / den) * factor)): the quotient and the product are each
// rounded to a 64-bit significand (nearest, ties to even), as an x87 FPU in
// extended precision does, then the result is rounded to an integer with an
// exact half going to the even neighbour. Every int64 input is taken exactly.
// A zero den gives 0; a result beyond int64 saturates.
int64_t RoundQuotientTimes(int64_t num, int64_t den, int64_t factor);

// a * b / c with the product exact and an exact half rounded away from zero.
// A zero c gives 0.
int64_t MulDivHalfAway(int32_t a, int32_t b, int32_t c);

}  // namespace lumeno::barmath
