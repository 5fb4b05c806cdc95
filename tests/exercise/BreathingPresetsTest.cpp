// The ready-made patterns: what each sets and shows, and finding a pattern's
// entry again, "Custom" for everything else whatever the store held.
#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <limits>
#include <string>

#include "exercise/BreathingPresets.h"

namespace lumeno {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

// The six figures as the dialog shows them: cycle, rate, breath in, hold in,
// breath out, hold out.
std::string Figures(const TBreathingPattern& p) {
  std::string s;
  for (int32_t v : {p.FCycle, p.FBpm, p.FBreathIn, p.FHoldIn, p.FBreathOut, p.FHoldOut}) {
    if (!s.empty()) s += ' ';
    s += FormatTenths(v, ".");
  }
  return s;
}

TBreathingPattern Phases(int32_t in, int32_t holdOut, int32_t out, int32_t holdIn) {
  TBreathingPattern p;
  p.FBreathIn = in;
  p.FHoldOut = holdOut;
  p.FBreathOut = out;
  p.FHoldIn = holdIn;
  p.przeliczCykl();
  return p;
}

const struct {
  const char* name;
  int32_t in, holdOut, out, holdIn, cycle, bpm;
  const char* figures;
} kPresets[] = {
    {"Default (6 per minute)", 30, 5, 60, 5, 100, 60, "10.0 6.0 3.0 0.5 6.0 0.5"},
    {"Coherent (5.5 per minute)", 55, 0, 55, 0, 110, 55, "11.0 5.5 5.5 0.0 5.5 0.0"},
    // 6000 / 160 = 37.5, a half rounding to the even 38.
    {"Box 4-4-4-4", 40, 40, 40, 40, 160, 38, "16.0 3.8 4.0 4.0 4.0 4.0"},
    // Full lungs for 7 s after breathing in: that pause is FHoldOut.
    {"4-7-8 relaxing", 40, 70, 80, 0, 190, 32, "19.0 3.2 4.0 0.0 8.0 7.0"},
    {"Long exhale 4-6", 40, 0, 60, 0, 100, 60, "10.0 6.0 4.0 0.0 6.0 0.0"},
};

TEST(BreathingPresets, EachEntrySetsItsPhasesCycleRateAndFigures) {
  ASSERT_EQ(kCustomPreset, static_cast<int>(std::size(kPresets)));
  for (int i = 0; i < kCustomPreset; ++i) {
    const auto& row = kPresets[i];
    SCOPED_TRACE(row.name);
    EXPECT_STREQ(PresetName(i), row.name);
    // Whatever the pattern was before, stored extremes included.
    TBreathingPattern p = Phases(kMin, -3, kMax, 7);
    EXPECT_TRUE(ApplyPreset(p, i));
    EXPECT_EQ(p.FBreathIn, row.in);
    EXPECT_EQ(p.FHoldOut, row.holdOut);
    EXPECT_EQ(p.FBreathOut, row.out);
    EXPECT_EQ(p.FHoldIn, row.holdIn);
    EXPECT_EQ(p.FCycle, row.cycle);
    EXPECT_EQ(p.FBpm, row.bpm);
    EXPECT_EQ(Figures(p), row.figures);
    EXPECT_EQ(PresetIndexOf(p), i);
  }
}

TEST(BreathingPresets, DefaultEntryIsTheDefaultPattern) {
  TBreathingPattern p = Phases(1, 2, 3, 4);
  ASSERT_TRUE(ApplyPreset(p, 0));
  EXPECT_EQ(p, TBreathingPattern());
  TBreathingPattern defaults = Phases(1, 2, 3, 4);
  defaults.ApplyDefaults();
  EXPECT_EQ(PresetIndexOf(defaults), 0);
}

TEST(BreathingPresets, CustomAndOutOfRangeChangeNothing) {
  EXPECT_STREQ(PresetName(kCustomPreset), "Custom");
  for (int index : {kCustomPreset, kCustomPreset + 1, -1, kMin, kMax}) {
    SCOPED_TRACE(index);
    TBreathingPattern p = Phases(21, 3, 40, 12);
    const TBreathingPattern before = p;
    EXPECT_FALSE(ApplyPreset(p, index));
    EXPECT_EQ(p, before);
    EXPECT_STREQ(PresetName(index), "Custom");
  }
}

TEST(BreathingPresets, AnythingElseIsCustom) {
  const TBreathingPattern rows[] = {
      // One tenth off a preset, in each phase.
      Phases(31, 5, 60, 5), Phases(30, 4, 60, 5), Phases(30, 5, 61, 5), Phases(30, 5, 60, 6),
      // 4-7-8 with its pauses swapped: 7 s with empty lungs is not 4-7-8.
      Phases(40, 0, 80, 70),
      // Same cycle and rate as an entry, other phases.
      Phases(40, 5, 50, 5), Phases(55, 55, 0, 0),
      // The all-zero pattern (becomes inhale 1) and what the store may hold.
      Phases(0, 0, 0, 0), Phases(-30, -5, -60, -5), Phases(-40, 70, 80, 0), Phases(kMin, kMin, kMin, kMin),
      Phases(kMax, kMax, kMax, kMax), Phases(40, 70, 80, kMin),
      // Values equal to an entry's modulo 2^32 are still other values.
      Phases(kMin + 40, 70, 80, 0)};
  for (const TBreathingPattern& p : rows) {
    EXPECT_EQ(PresetIndexOf(p), kCustomPreset) << Figures(p);
  }
}

TEST(BreathingPresets, MatchingLooksAtThePhasesOnly) {
  // A rate stepped to a value the cycle would not give, over 4-7-8's phases.
  TBreathingPattern p = Phases(40, 70, 80, 0);
  p.FBpm = 33;
  p.FCycle = 7;
  EXPECT_EQ(PresetIndexOf(p), 3);
}

}  // namespace
}  // namespace lumeno
