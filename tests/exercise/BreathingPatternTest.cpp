// The pattern's arithmetic: the worked splits, the rate-to-cycle list, the
// arrows' step rule, the all-zero and division-by-zero corners, 32-bit wrap at
// the extremes, and the display format.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "exercise/BreathingPattern.h"

namespace lumeno {

// Found by argument-dependent lookup, so failures print the six fields.
void PrintTo(const TBreathingPattern& p, std::ostream* os) {
  *os << "{in " << p.FBreathIn << ", holdIn " << p.FHoldIn << ", out " << p.FBreathOut << ", holdOut "
      << p.FHoldOut << ", cycle " << p.FCycle << ", bpm " << p.FBpm << "}";
}

namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TBreathingPattern Make(int32_t in, int32_t holdIn, int32_t out, int32_t holdOut, int32_t cycle, int32_t bpm) {
  TBreathingPattern p;
  p.FBreathIn = in;
  p.FHoldIn = holdIn;
  p.FBreathOut = out;
  p.FHoldOut = holdOut;
  p.FCycle = cycle;
  p.FBpm = bpm;
  return p;
}

struct TSplitRow {
  int32_t cycle, in, hold, out, bpm;
};

const TSplitRow kWorkedSplits[] = {
    {1, 0, 0, 1, 6000},   {2, 1, 0, 1, 3000},   {10, 4, 0, 6, 600},   {11, 2, 1, 7, 545},
    {30, 8, 2, 18, 200},  {50, 16, 2, 30, 120}, {70, 20, 4, 42, 86},  {90, 28, 4, 54, 67},
    {100, 30, 5, 60, 60}, {110, 32, 6, 66, 55}, {150, 44, 8, 90, 40},
};

TEST(BreathingPattern, CycleArrowUpGivesTheWorkedSplits) {
  for (const TSplitRow& row : kWorkedSplits) {
    SCOPED_TRACE(row.cycle);
    TBreathingPattern p = Make(99, 99, 99, 99, row.cycle - 1, 99);
    p.StepCycle(TStep::Up);
    EXPECT_EQ(p, Make(row.in, row.hold, row.out, row.hold, row.cycle, row.bpm));
  }
}

TEST(BreathingPattern, CycleArrowDownGivesTheWorkedSplits) {
  for (const TSplitRow& row : kWorkedSplits) {
    SCOPED_TRACE(row.cycle);
    TBreathingPattern p = Make(0, 0, 0, 0, row.cycle + 1, 0);
    p.StepCycle(TStep::Down);
    EXPECT_EQ(p, Make(row.in, row.hold, row.out, row.hold, row.cycle, row.bpm));
  }
}

TEST(BreathingPattern, RateArrowDerivesTheCycleAndKeepsTheSteppedRate) {
  const struct {
    int32_t bpm, cycle;
  } rows[] = {{60, 100}, {59, 102}, {61, 98}, {600, 10}, {6000, 1}, {12000, 0}, {12001, 0}, {kMax, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.bpm);
    TBreathingPattern p;
    p.FBpm = row.bpm - 1;
    p.StepBpm(TStep::Up);
    TBreathingPattern split;
    split.Split(row.cycle);
    EXPECT_EQ(p, Make(split.FBreathIn, split.FHoldIn, split.FBreathOut, split.FHoldOut, row.cycle, row.bpm));
  }
}

TEST(BreathingPattern, RateAtOrAbove12000ZeroesEveryPhase) {
  TBreathingPattern p;
  p.FBpm = 11999;
  p.StepBpm(TStep::Up);
  EXPECT_EQ(p, Make(0, 0, 0, 0, 0, 12000));
}

TEST(BreathingPattern, RecomputeCycle) {
  const struct {
    TBreathingPattern before, after;
  } rows[] = {
      {Make(30, 5, 60, 5, 0, 0), Make(30, 5, 60, 5, 100, 60)},
      {Make(0, 0, 0, 0, 7, 7), Make(1, 0, 0, 0, 1, 6000)},
      {Make(-7, 0, 0, 0, 0, 0), Make(-7, 0, 0, 0, -7, -857)},
      // Any pattern that sums to 0 counts as all-zero.
      {Make(3, -1, -1, -1, 0, 0), Make(1, -1, -1, -1, 1, 6000)},
      // 32-bit wrap: INT32_MAX + 1 is INT32_MIN, whose rate rounds to 0.
      {Make(kMax, 0, 1, 0, 0, 0), Make(kMax, 0, 1, 0, kMin, 0)},
      // Two INT32_MIN wrap to 0, which counts as the all-zero pattern.
      {Make(kMin, 0, kMin, 0, 0, 0), Make(1, 0, kMin, 0, 1, 6000)},
      {Make(kMax, kMax, kMax, kMax, 0, 0), Make(kMax, kMax, kMax, kMax, -4, -1500)},
  };
  for (const auto& row : rows) {
    TBreathingPattern p = row.before;
    p.przeliczCykl();
    EXPECT_EQ(p, row.after) << testing::PrintToString(row.before);
  }
}

TEST(BreathingPattern, DefaultsReplaceAnything) {
  TBreathingPattern p = Make(-1, kMax, kMin, 0, 3, 4);
  p.ApplyDefaults();
  EXPECT_EQ(p, Make(30, 5, 60, 5, 100, 60));
  EXPECT_EQ(p, TBreathingPattern());
}

TEST(BreathingPattern, StepRule) {
  const struct {
    int32_t value;
    TStep step;
    int32_t expected;
  } rows[] = {
      {2, TStep::Down, 1},     {1, TStep::Down, 1},       {0, TStep::Down, 1},
      {-7, TStep::Down, 1},    {kMin, TStep::Down, 1},    {3, TStep::Down, 2},
      {kMax, TStep::Down, kMax - 1}, {-7, TStep::Up, -6}, {0, TStep::Up, 1},
      {kMin, TStep::Up, kMin + 1},   {kMax, TStep::Up, kMin},  // wraps
  };
  for (const auto& row : rows) {
    EXPECT_EQ(StepValue(row.value, row.step), row.expected)
        << row.value << (row.step == TStep::Up ? " up" : " down");
  }
}

TEST(BreathingPattern, EachPhaseArrowStepsItsOwnFieldThenRecomputes) {
  const struct {
    void (TBreathingPattern::*step)(TStep);
    int32_t TBreathingPattern::*field;
  } arrows[] = {
      {&TBreathingPattern::StepBreathIn, &TBreathingPattern::FBreathIn},
      {&TBreathingPattern::StepBreathOut, &TBreathingPattern::FBreathOut},
      {&TBreathingPattern::StepHoldIn, &TBreathingPattern::FHoldIn},
      {&TBreathingPattern::StepHoldOut, &TBreathingPattern::FHoldOut},
  };
  for (const auto& arrow : arrows) {
    TBreathingPattern p;
    (p.*arrow.step)(TStep::Up);
    TBreathingPattern expected;
    expected.*arrow.field += 1;
    expected.FCycle = 101;
    expected.FBpm = 59;  // 59.4
    EXPECT_EQ(p, expected);

    p = Make(-7, -7, -7, -7, 0, 0);
    (p.*arrow.step)(TStep::Down);
    expected = Make(-7, -7, -7, -7, -20, -300);
    expected.*arrow.field = 1;
    EXPECT_EQ(p, expected);
  }
}

TEST(BreathingPattern, ZeroPhasesByTheArrows) {
  // All phases 0 and the cycle 1 is only reachable through the store.
  TBreathingPattern p = Make(0, 0, 0, 0, 0, 0);
  p.StepHoldIn(TStep::Down);
  EXPECT_EQ(p, Make(0, 1, 0, 0, 1, 6000));
  p = Make(0, 0, 0, 0, 0, 0);
  p.przeliczCykl();
  EXPECT_EQ(p, Make(1, 0, 0, 0, 1, 6000));
}

// Stepping a cycle or rate of -1 up to 0 would divide 6000 by 0; the
// reciprocal is taken as 0, so the figures read 0.0 and nothing fails.
TEST(BreathingPattern, CycleOrRateSteppedUpToZeroIsWellDefined) {
  TBreathingPattern p = Make(-1, 0, 0, 0, -1, -6000);
  p.StepCycle(TStep::Up);
  EXPECT_EQ(p, Make(0, 0, 0, 0, 0, 0));
  p.StepCycle(TStep::Up);
  EXPECT_EQ(p, Make(0, 0, 1, 0, 1, 6000));

  p = Make(-1, 0, 0, 0, -1, -1);
  p.StepBpm(TStep::Up);
  EXPECT_EQ(p, Make(0, 0, 0, 0, 0, 0));
  p.StepBpm(TStep::Up);
  EXPECT_EQ(p, Make(1800, 300, 3600, 300, 6000, 1));
  EXPECT_EQ(SixThousandOver(0), 0);
}

TEST(BreathingPattern, SplitsAtTheInt32Extremes) {
  const struct {
    int32_t cycle;
    TBreathingPattern expected;
  } rows[] = {
      {-1, Make(0, 0, -1, 0, 0, 0)},
      {-11, Make(-2, -1, -7, -1, 0, 0)},
      {kMax, Make(644245095, 107374182, 1288490188, 107374182, 0, 0)},
      {kMin, Make(-644245095, -107374182, -1288490189, -107374182, 0, 0)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.cycle);
    TBreathingPattern p = Make(0, 0, 0, 0, 0, 0);
    p.Split(row.cycle);
    EXPECT_EQ(p, row.expected);
  }

  TBreathingPattern p = Make(0, 0, 0, 0, kMax, 0);
  p.StepCycle(TStep::Up);  // wraps to INT32_MIN
  EXPECT_EQ(p, Make(-644245095, -107374182, -1288490189, -107374182, kMin, 0));
  p = Make(0, 0, 0, 0, 0, kMax);
  p.StepBpm(TStep::Down);
  EXPECT_EQ(p, Make(0, 0, 0, 0, 0, kMax - 1));
  EXPECT_EQ(SixThousandOver(kMin), 0);
  EXPECT_EQ(SixThousandOver(-1), -6000);
  EXPECT_EQ(SixThousandOver(-12000), 0);
  EXPECT_EQ(SixThousandOver(-11999), -1);
}

TEST(BreathingPattern, FormatTenths) {
  const struct {
    int32_t tenths;
    const char* text;
  } rows[] = {
      {30, "3.0"},       {5, "0.5"},         {0, "0.0"},          {1, "0.1"},         {10, "1.0"},
      {100, "10.0"},     {999, "99.9"},      {1000, "100.0"},     {1234, "123.0"},    {1235, "124.0"},
      {9994, "999.0"},   {9995, "1E3"},      {10000, "1E3"},      {10049, "1E3"},     {10050, "1.01E3"},
      {12345, "1.23E3"}, {12350, "1.24E3"},  {12000, "1.2E3"},    {20000, "2E3"},     {99949, "9.99E3"},
      {99950, "1E4"},    {99995, "1E4"},     {123456, "1.23E4"},  {1000000, "1E5"},   {19999999, "2E6"},
      {kMax, "2.15E8"},  {-5, "-0.5"},       {-1, "-0.1"},        {-30, "-3.0"},      {-1235, "-124.0"},
      {-9994, "-999.0"}, {-9995, "-1E3"},    {-12345, "-1.23E3"}, {kMin, "-2.15E8"},  {-60, "-6.0"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(FormatTenths(row.tenths, "."), row.text) << row.tenths;
  }
}

TEST(BreathingPattern, FormatTenthsUsesTheGivenSeparator) {
  EXPECT_EQ(FormatTenths(30, ","), "3,0");
  EXPECT_EQ(FormatTenths(-12345, ","), "-1,23E3");
  EXPECT_EQ(FormatTenths(20000, ","), "2E3");
  EXPECT_EQ(FormatTenths(55, "\xC2\xB7"), "5\xC2\xB7" "5");  // a two-byte separator
  EXPECT_EQ(FormatTenths(55, ""), "55");
}

}  // namespace
}  // namespace lumeno
