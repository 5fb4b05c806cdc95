#include "controls/ALProgressBarMath.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace lumeno::barmath {
namespace {

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
