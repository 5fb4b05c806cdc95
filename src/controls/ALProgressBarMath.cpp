#include "controls/ALProgressBarMath.h"

namespace lumeno::barmath {

int64_t MulDivHalfAway(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return 0;
  const int64_t p = static_cast<int64_t>(a) * b;  // |p| <= 2^62
  // Magnitudes in unsigned arithmetic keep INT32_MIN and -2^62 defined.
  const uint64_t pm = p < 0 ? 0 - static_cast<uint64_t>(p) : static_cast<uint64_t>(p);
  const uint64_t cm = c < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(c)) : static_cast<uint64_t>(c);
  uint64_t q = pm / cm;
  if ((pm % cm) * 2 >= cm) ++q;
  const bool negative = (p < 0) != (c < 0);
  return negative ? -static_cast<int64_t>(q) : static_cast<int64_t>(q);
}

}  // namespace lumeno::barmath
