// The four-phase machine driven tick by tick on a simulated clock and timer.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "exercise/PacerFakes.h"

namespace lumeno::test {
namespace {

using TTimeline = std::vector<TPacerSim::TTransition>;
using TLog = std::vector<std::string>;

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

void SetPattern(TFakeSource& source, int32_t in, int32_t holdOut, int32_t out, int32_t holdIn) {
  source.pattern.FBreathIn = in;
  source.pattern.FHoldOut = holdOut;  // the pause after the inhale
  source.pattern.FBreathOut = out;
  source.pattern.FHoldIn = holdIn;    // the pause after the exhale
  source.pattern.przeliczCykl();
}

// The bar writes of the ticks after `fromMs` up to `toMs`.
TLog BarWrites(TPacerSim& sim, int64_t fromMs, int64_t toMs) {
  sim.RunUntil(fromMs);
  sim.bar.log.clear();
  sim.RunUntil(toMs);
  return sim.bar.log;
}

// Two default cycles: 3000 ms rising, 500 full, 6000 falling, 500 empty.
const TTimeline kDefaultTwoCycles = {{3000, 1}, {3500, 2}, {9500, 3}, {10000, 0},
                                     {13000, 1}, {13500, 2}, {19500, 3}, {20000, 0}};

TEST(BreathingPacer, StartSizesTheBarEnablesTheTimerAndStartsTheInhaleSound) {
  TPacerSim sim;
  sim.clock.counter = 4242;
  sim.CreateAndStart();
  EXPECT_EQ(sim.pacer.FFrequency, 10'000'000);
  EXPECT_EQ(sim.pacer.FStartCount, 4242);
  EXPECT_EQ(sim.pacer.Tag, 0);
  EXPECT_EQ(sim.bar.log, TLog({"max 3000"}));
  EXPECT_TRUE(sim.timer.enabled);
  EXPECT_EQ(sim.sound.calls, TLog({"start in.wav"}));

  TPacerSim quiet;
  quiet.source.sounds = false;
  quiet.CreateAndStart();
  EXPECT_TRUE(quiet.sound.calls.empty());
}

TEST(BreathingPacer, DefaultPatternTimeline) {
  TPacerSim sim;
  sim.CreateAndStart();

  sim.RunUntil(1230);
  EXPECT_EQ(sim.bar.position, 1230) << "rising with the elapsed time";
  sim.RunUntil(3200);
  EXPECT_EQ(sim.bar.max, 3000);
  EXPECT_EQ(sim.bar.position, 3000) << "full during the pause";
  sim.RunUntil(5500);
  EXPECT_EQ(sim.bar.max, 6000);
  EXPECT_EQ(sim.bar.position, 4000) << "2000 ms into the exhale";
  sim.RunUntil(9700);
  EXPECT_EQ(sim.bar.position, 0) << "empty during the pause";
  sim.RunUntil(10005);
  EXPECT_EQ(sim.bar.max, 3000);
  EXPECT_EQ(sim.bar.position, 0);
  sim.RunUntil(20000);

  EXPECT_EQ(sim.transitions, kDefaultTwoCycles);
  EXPECT_EQ(sim.sound.calls, TLog({"start in.wav", "stop", "start ex.wav", "stop", "start in.wav", "stop",
                                   "start ex.wav", "stop", "start in.wav"}));
  EXPECT_EQ(sim.timer.intervals, std::vector<uint32_t>({500, 1, 500, 1, 500, 1, 500, 1}));
}

// Screen readers hear each phase begin, and nothing on the ticks between.
TEST(BreathingPacer, TellsTheBarOfEachPhaseOnceAndOfNoOrdinaryTick) {
  struct TCase {
    int32_t In, HoldOut, Out, HoldIn;
  };
  for (const TCase& c : {TCase{30, 5, 60, 5}, TCase{30, 0, 60, 0}, TCase{0, 5, 0, 5}, TCase{-3, 5, 60, -2}}) {
    SCOPED_TRACE(testing::Message() << c.In << " " << c.HoldOut << " " << c.Out << " " << c.HoldIn);
    TPacerSim sim;
    SetPattern(sim.source, c.In, c.HoldOut, c.Out, c.HoldIn);
    sim.CreateAndStart();
    EXPECT_EQ(sim.bar.phases, std::vector<int32_t>{0}) << "the first inhale starts with the pacer";
    sim.RunUntil(25000);
    std::vector<int32_t> expected{0};
    for (const TPacerSim::TTransition& t : sim.transitions) expected.push_back(t.tag);
    EXPECT_EQ(sim.bar.phases, expected);
    EXPECT_GE(expected.size(), 9u) << "two cycles at least";
  }
}

TEST(BreathingPacer, BoundaryWritesMaxBeforePosition) {
  TPacerSim sim;
  sim.CreateAndStart();
  EXPECT_EQ(BarWrites(sim, 2990, 3500), TLog({"pos 3000", "max 6000", "pos 6000"}));
}

// Ticks that do not land on the boundary overshoot; the next phase starts
// from the tick that ended the last one, so nothing is carried over.
TEST(BreathingPacer, OvershootIsNotCarriedIntoTheNextPhase) {
  TPacerSim sim;
  sim.timer.granularity = 7;
  sim.CreateAndStart();
  sim.RunUntil(13100);
  EXPECT_EQ(sim.transitions, TTimeline({{3003, 1}, {3503, 2}, {9509, 3}, {10009, 0}, {13012, 1}}));
}

TEST(BreathingPacer, InhaleOfZeroGoesStraightToThePause) {
  TPacerSim sim;
  SetPattern(sim.source, 0, 5, 60, 5);
  sim.CreateAndStart();
  sim.RunUntil(520);
  EXPECT_EQ(sim.bar.log, TLog({"max 0", "ignored 0", "max 6000", "pos 6000", "pos 5990"}));
  EXPECT_EQ(sim.transitions, TTimeline({{10, 1}, {510, 2}}));
}

TEST(BreathingPacer, SoundsSwitchedOffMidPhaseKeepLooping) {
  TPacerSim sim;
  sim.CreateAndStart();
  sim.RunUntil(1000);
  sim.source.sounds = false;
  sim.RunUntil(9000);
  EXPECT_EQ(sim.sound.calls, TLog({"start in.wav"})) << "no stop and no start while off";
  EXPECT_EQ(sim.sound.playing, "in.wav");

  sim.source.sounds = true;
  sim.RunUntil(9999);
  EXPECT_EQ(sim.sound.calls, TLog({"start in.wav", "stop"})) << "the next end of a moving phase stops it";
  EXPECT_EQ(sim.sound.playing, "");
  sim.RunUntil(10000);
  EXPECT_EQ(sim.sound.playing, "in.wav");
}

TEST(BreathingPacer, SoundsSwitchedOffBeforeAnExhaleEndsKeepItLooping) {
  TPacerSim sim;
  sim.CreateAndStart();
  sim.RunUntil(5000);  // exhaling since 3500
  EXPECT_EQ(sim.sound.playing, "ex.wav");
  sim.source.sounds = false;
  sim.RunUntil(12000);  // the exhale ended at 9500, the next inhale began at 10000
  EXPECT_EQ(sim.sound.calls, TLog({"start in.wav", "stop", "start ex.wav"})) << "no stop and no start while off";
  EXPECT_EQ(sim.sound.playing, "ex.wav");

  sim.source.sounds = true;
  sim.RunUntil(13000);
  EXPECT_EQ(sim.sound.calls, TLog({"start in.wav", "stop", "start ex.wav", "stop"}))
      << "the end of the next moving phase stops it";
  sim.RunUntil(13500);
  EXPECT_EQ(sim.sound.playing, "ex.wav");
}

TEST(BreathingPacer, SoundsSwitchedOnMidPhaseWaitForTheNextMovingPhase) {
  TPacerSim sim;
  sim.source.sounds = false;
  sim.CreateAndStart();
  sim.RunUntil(1000);
  sim.source.sounds = true;
  sim.RunUntil(3499);
  EXPECT_EQ(sim.sound.playing, "");
  sim.RunUntil(3500);
  EXPECT_EQ(sim.sound.calls, TLog({"stop", "start ex.wav"}));
  EXPECT_EQ(sim.sound.playing, "ex.wav");
}

TEST(BreathingPacer, PatternChangedMidExhaleTakesEffectAtTheNextBoundary) {
  TPacerSim sim;
  sim.CreateAndStart();
  sim.RunUntil(5000);
  SetPattern(sim.source, 20, 3, 40, 10);
  sim.RunUntil(17000);
  EXPECT_EQ(sim.transitions, TTimeline({{3000, 1}, {3500, 2}, {9500, 3}, {10500, 0}, {12500, 1}, {12800, 2},
                                        {16800, 3}}));
}

TEST(BreathingPacer, ExhaleAsLongAsTheInhaleKeepsTheBarFull) {
  TPacerSim sim;
  SetPattern(sim.source, 30, 5, 30, 5);
  sim.CreateAndStart();
  EXPECT_EQ(BarWrites(sim, 3490, 3510), TLog({"max 3000", "ignored 3000", "pos 2990"}));
}

TEST(BreathingPacer, NegativePhasesEndAtTheirFirstTickAndLeaveTheBarAlone) {
  TPacerSim sim;
  SetPattern(sim.source, 30, 5, -5, 5);
  sim.CreateAndStart();
  EXPECT_EQ(BarWrites(sim, 3490, 4100), TLog({"max -500", "ignored -500", "ignored 0", "max 3000", "pos 10", "pos 20", "pos 30",
                               "pos 40", "pos 50", "pos 60", "pos 70", "pos 80", "pos 90"}));
  EXPECT_EQ(sim.transitions, TTimeline({{3000, 1}, {3500, 2}, {3510, 3}, {4010, 0}}));

  TPacerSim in;
  SetPattern(in.source, -7, 5, 60, 5);
  in.bar.position = 40;
  in.CreateAndStart();
  in.RunUntil(500);
  EXPECT_EQ(in.bar.log, TLog({"max -700", "ignored -700"}));
  EXPECT_EQ(in.bar.position, 40) << "the bar keeps what it showed";
  EXPECT_EQ(in.transitions, TTimeline({{10, 1}}));
}

TEST(BreathingPacer, AnyTagOutsideZeroToTwoActsAsThePauseAfterTheExhale) {
  for (int32_t tag : {3, 4, 7, -1, kMin, kMax}) {
    SCOPED_TRACE(tag);
    TPacerSim sim;
    SetPattern(sim.source, 25, 5, 60, 5);
    sim.CreateAndStart();
    sim.pacer.Tag = tag;
    sim.sound.Stop();
    sim.bar.max = 1;
    sim.RunUntil(10);
    EXPECT_EQ(sim.pacer.Tag, 0);
    EXPECT_EQ(sim.bar.max, 2500);
    EXPECT_EQ(sim.timer.intervals, std::vector<uint32_t>({1}));
    EXPECT_EQ(sim.pacer.FStartCount, sim.clock.counter);
    EXPECT_EQ(sim.sound.playing, "in.wav");
  }
}

TEST(BreathingPacer, CounterWrapAroundKeepsTheTiming) {
  for (int64_t start : {std::numeric_limits<int64_t>::max() - 25'000'000, int64_t{-5}}) {
    SCOPED_TRACE(start);
    TPacerSim sim(start);
    sim.CreateAndStart();
    sim.RunUntil(20000);
    EXPECT_EQ(sim.transitions, kDefaultTwoCycles);
  }
}

// A pause that works out at 0 ms or less would stop a real timer for good;
// it lasts the shortest interval instead.
TEST(BreathingPacer, PauseIntervals) {
  const struct {
    int32_t tenths;
    uint32_t interval;
  } rows[] = {
      {5, 500},          {0, 1},    {-1, 1},  {-5, 1},
      {21474836, 2147483600u},     // the largest that fits
      {21474837, 1},               // wraps negative
      {42949673, 4},               // wraps round to a small positive value
      {kMin, 1},                   // wraps to 0
      {kMax, 1},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.tenths);
    TPacerSim sim;
    SetPattern(sim.source, 30, row.tenths, 60, row.tenths);
    sim.CreateAndStart();
    sim.RunUntil(3000);
    ASSERT_EQ(sim.timer.intervals, std::vector<uint32_t>({row.interval})) << "after the inhale";
  }

  TPacerSim sim;
  SetPattern(sim.source, 30, 0, 60, -3);
  sim.CreateAndStart();
  sim.RunUntil(13100);
  EXPECT_EQ(sim.transitions, TTimeline({{3000, 1}, {3010, 2}, {9010, 3}, {9020, 0}, {12020, 1}, {12030, 2}}));
}

TEST(BreathingPacer, MaxIsThePhaseTimesAHundredWrappedTo32Bits) {
  const struct {
    int32_t tenths, max;
  } rows[] = {{21474836, 2147483600}, {21474837, -2147483596}, {kMin, 0}, {-1, -100}, {kMax, -100}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.tenths);
    TPacerSim sim;
    SetPattern(sim.source, row.tenths, 5, row.tenths, 5);
    sim.CreateAndStart();
    EXPECT_EQ(sim.bar.max, row.max) << "inhale";
    sim.bar.max = 1;
    sim.pacer.Tag = 1;
    sim.pacer.TimerBreatchTimer();
    EXPECT_EQ(sim.bar.max, row.max) << "exhale";
  }
}

TEST(BreathingPacer, ElapsedRoundsTheExactQuotientHalvesToEven) {
  const struct {
    int64_t frequency, counts;
    int32_t position;
  } rows[] = {
      {10'000'000, 12'345, 1},       {10'000'000, 15'000, 2},        {10'000'000, 25'000, 2},
      {2000, 1, 0},                  {2000, 3, 2},                   {3, 1, 333},
      {3'579'545, 3'579'545, 1000},  {3'579'545, 1'789'772, 500},    {1, 2'147'483, 2'147'483'000},
      {10'000'000, -10'000, 77},     // a clock running backwards is ignored by the bar
      {10'000'000, int64_t{1} << 62, 0},                      // 1000 x 2^62 wraps to 0
      {10'000'000, (int64_t{1} << 62) + 10'000'000, 1000},
      {10'000'000, std::numeric_limits<int64_t>::min(), 0},  // wraps to 0 as well
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.counts << " counts at " << row.frequency);
    TFakeClock clock;
    TFakeTimer timer{clock.counter};
    TFakeBar bar;
    TFakeSound sound;
    TBreathingPacer pacer(clock, timer, bar, sound);
    clock.frequency = row.frequency;
    pacer.FormCreate();
    bar.max = kMax;
    bar.position = 77;
    clock.counter = row.counts;
    pacer.TimerBreatchTimer();
    EXPECT_EQ(bar.position, row.position);
    EXPECT_EQ(pacer.FNowCount, row.counts);
    EXPECT_EQ(pacer.Tag, 0);
  }
}

TEST(BreathingPacer, ExhalePositionWithAClockRunningFarBackwards) {
  TPacerSim sim;
  sim.CreateAndStart();
  sim.RunUntil(4000);
  ASSERT_EQ(sim.pacer.Tag, 2);
  sim.clock.counter = sim.pacer.FStartCount - (int64_t{1} << 53);
  sim.pacer.TimerBreatchTimer();
  EXPECT_EQ(sim.bar.log.back(), "ignored 2147483647");
  EXPECT_EQ(sim.pacer.Tag, 2);
}

// Without a usable frequency there is no clock to time the moving phases:
// each ends at its first tick and the pauses still pace the bar.
TEST(BreathingPacer, FrequencyOfZeroOrLessDoesNotStallTheMachine) {
  for (int64_t frequency : {int64_t{0}, int64_t{-5}, std::numeric_limits<int64_t>::min()}) {
    SCOPED_TRACE(frequency);
    TPacerSim sim;
    sim.clock.frequency = frequency;
    sim.CreateAndStart();
    sim.RunUntil(1040);
    EXPECT_EQ(sim.transitions, TTimeline({{10, 1}, {510, 2}, {520, 3}, {1020, 0}, {1030, 1}}));
  }
}

TEST(BreathingPacer, WithoutAPatternSourceItRunsTheDefaultsSilently) {
  TFakeClock clock;
  TFakeTimer timer{clock.counter};
  TFakeBar bar;
  TFakeSound sound;
  TBreathingPacer pacer(clock, timer, bar, sound);
  pacer.FormCreate();
  pacer.Start();
  EXPECT_EQ(bar.max, 3000);
  clock.counter = 30'000'000;
  pacer.TimerBreatchTimer();
  EXPECT_EQ(pacer.Tag, 1);
  EXPECT_EQ(timer.interval, 500u);
  EXPECT_TRUE(sound.calls.empty());
}

// The bowl's cue as each pause that is not zero long begins, loops on or off;
// a loop after a cue still starts (no-stop would swallow it unstopped).
TEST(BreathingPacer, PauseCueSoundsAtTheStartOfEveryPauseThatIsNotZero) {
  const char* const in = "start sounds\\bowl-in.wav";
  const char* const ex = "start sounds\\bowl-ex.wav";
  const char* const cue = "once sounds\\bowl-cue.wav";
  const struct {
    int32_t HoldOut, HoldIn;
    bool Loops;
    TLog Calls;
  } cases[] = {
      {5, 5, true, {in, "stop", cue, "stop", ex, "stop", cue, "stop", in}},
      {0, 5, true, {in, "stop", ex, "stop", cue, "stop", in}},
      {5, -2, true, {in, "stop", cue, "stop", ex, "stop", in}},
      {5, 5, false, {cue, cue}},
  };
  for (const auto& c : cases) {
    TPacerSim sim;
    SetPattern(sim.source, 30, c.HoldOut, 60, c.HoldIn);
    sim.source.sounds = c.Loops;
    sim.source.chosen = SoundsOf(1, "", "", true);
    sim.CreateAndStart();
    sim.RunUntil(9000 + 100 * (std::max(c.HoldOut, 0) + std::max(c.HoldIn, 0)) + 30);
    EXPECT_EQ(sim.sound.calls, c.Calls) << c.HoldOut << " " << c.HoldIn << " " << c.Loops;
  }
}

}  // namespace
}  // namespace lumeno::test
