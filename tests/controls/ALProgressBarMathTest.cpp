#include "controls/ALProgressBarMath.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>

namespace lumeno::barmath {
namespace {

constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();

TEST(ALProgressBarMath, RoundQuotientTimes) {
  const struct {
    int64_t num, den, factor, want;
  } cases[] = {
      {1500, 3000, 401, 200},  // 200.5: the half goes to even
      {1, 2, 5, 2},            // 2.5
      {1, 2, 7, 4},            // 3.5
      {1, 8, 100, 12},         // 12.5
      {3, 8, 100, 38},         // 37.5
      {1, 200, 100, 0},        // 0.005 * 100 lands on exactly 0.5 in extended
      {3, 200, 100, 2},        // and 1.5
      {1, 3, 3, 1},
      {2, 3, 401, 267},        // 267.33
      {-1, 8, 100, -12},
      {1, -8, -100, 12},
      {-3, 8, 100, -38},
      {7, 7, -1, -1},
      {0, 5, 100, 0},
      {5, 0, 100, 0},          // no quotient: defined as 0
      {int64_t{1} << 31, 4294967295, 2147483647, 1073741824},
      {4294967295, 1, 2147483647, 4294967295 * int64_t{2147483647}},
      {2147483647, -1, 100, -214748364700},
      {kMax64, 1, 1, kMax64},
      {kMin64, 1, 1, kMin64},
      {kMin64, -1, 1, kMax64},  // 2^63 saturates
      {kMax64, 1, 2, kMax64},
      {kMin64, kMin64, kMin64, kMin64},
      {1, kMin64, kMin64, 1},
      {1, 3, kMax64, 3074457345618258602},  // ...602.5 after the product is rounded
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundQuotientTimes(c.num, c.den, c.factor), c.want) << c.num << " / " << c.den << " * " << c.factor;
  }
}

// Where the compiler's long double is the x87 format, the result must be the
// one the FPU gives for the same expression.
TEST(ALProgressBarMath, MatchesTheFpuWhereItHasExtendedPrecision) {
  if constexpr (LDBL_MANT_DIG == 64) {
    std::mt19937_64 random(20240611);
    const int64_t limits[] = {3, 1000, 70000, int64_t{1} << 32};
    for (int i = 0; i < 200000; ++i) {
      const int64_t limit = limits[i % 4];
      std::uniform_int_distribution<int64_t> value(-limit, limit);
      const int64_t num = value(random), den = value(random) | 1, factor = value(random) % 5000;
      const volatile long double q = static_cast<long double>(num) / static_cast<long double>(den);
      const volatile long double p = q * static_cast<long double>(factor);
      ASSERT_EQ(RoundQuotientTimes(num, den, factor), std::llrint(p)) << num << " / " << den << " * " << factor;
    }
  } else {
    EXPECT_EQ(RoundQuotientTimes(1500, 3000, 401), 200);
  }
}

TEST(ALProgressBarMath, MulDivRoundsHalvesAwayFromZero) {
  const struct {
    int32_t a, b, c;
    int64_t want;
  } cases[] = {
      {1, 255, 2, 128},   {1, -255, 2, -128}, {-1, 255, 2, -128}, {1, 255, -2, -128},
      {1, 1, 3, 0},       {2, 1, 3, 1},       {1, -1, 3, 0},      {2, -1, 3, -1},
      {0, 255, 7, 0},     {5, 5, 0, 0},
      {INT32_MAX, INT32_MAX, 1, int64_t{INT32_MAX} * INT32_MAX},
      {INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN},
      {INT32_MIN, 1, -1, int64_t{1} << 31},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MulDivHalfAway(c.a, c.b, c.c), c.want) << c.a << " * " << c.b << " / " << c.c;
  }
}

}  // namespace
}  // namespace lumeno::barmath
