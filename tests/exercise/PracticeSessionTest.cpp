// Practice sessions on the simulated pacer: where they end, and what pauses do to that.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "exercise/PacerFakes.h"
#include "exercise/PracticeSession.h"

namespace lumeno::test {
namespace {

struct TPauseAt {
  int64_t At, For;  // ms since the start
};

struct TSessionCase {
  const char* What;
  int32_t Minutes;
  int32_t In, HoldOut, Out, HoldIn;  // tenths
  std::vector<TPauseAt> Pauses;
  int64_t EndsAt;  // when the bar came to rest, ms since the start
  int32_t Breaths;
  int64_t LengthSetAt = -1;  // with SetLength(1) then
};

void PrintTo(const TSessionCase& c, std::ostream* os) { *os << c.What; }

class TRecordingLog : public IPracticeLog {
 public:
  void PracticeEnded(const TPracticeRecord& record) override { Records.push_back(record); }
  std::vector<TPracticeRecord> Records;
};

class PracticeSessionTable : public ::testing::TestWithParam<TSessionCase> {};

// Seven-second cycles put one minute 4 s into a cycle: in a different phase for each pattern.
TEST_P(PracticeSessionTable, EndsAtTheFirstEndOfAnExhaleOnceTheActiveTimeIsUp) {
  const TSessionCase& c = GetParam();
  TPacerSim sim;
  TRecordingLog log;
  TPracticeSession session(sim.clock, sim.pacer, sim.sound, [] { return TLocalTime{1'700'000'000, 60}; });
  session.SetLog(&log);
  session.SetLength(c.LengthSetAt < 0 ? c.Minutes : 0);
  sim.source.pattern.FBreathIn = c.In, sim.source.pattern.FHoldOut = c.HoldOut;
  sim.source.pattern.FBreathOut = c.Out, sim.source.pattern.FHoldIn = c.HoldIn;
  sim.CreateAndStart();
  session.Begin();
  int64_t paused = 0;
  for (const TPauseAt& p : c.Pauses) {
    sim.RunUntil(p.At);
    session.Toggle();
    sim.RunUntil(p.At + p.For);
    session.Toggle();
    paused += p.For;
  }
  if (c.LengthSetAt >= 0) {
    sim.RunUntil(c.LengthSetAt);
    session.SetLength(1);
  }
  sim.RunUntil(200'000);

  EXPECT_EQ(sim.transitions.back(), (TPacerSim::TTransition{c.EndsAt, 3}));
  EXPECT_FALSE(sim.timer.enabled);
  EXPECT_EQ(sim.bar.position, 0);
  EXPECT_EQ(std::count(sim.sound.calls.begin(), sim.sound.calls.end(), "once end.wav"), 1);
  EXPECT_EQ(sim.sound.calls.back(), "once end.wav");
  EXPECT_EQ(sim.sound.calls.end()[-2], "stop");
  ASSERT_EQ(log.Records.size(), 1u);
  EXPECT_EQ(log.Records[0], (TPracticeRecord{1'700'000'000, 60, c.EndsAt - paused, c.Breaths, c.In, c.HoldOut, c.Out,
                                             c.HoldIn, true}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, PracticeSessionTable,
    ::testing::Values(
        TSessionCase{"limit in the inhale", 1, 50, 5, 10, 5, {}, 62'500, 9},
        TSessionCase{"limit in the pause after the inhale", 1, 20, 30, 10, 10, {}, 62'000, 9},
        TSessionCase{"limit in the exhale", 1, 10, 10, 40, 10, {}, 62'000, 9},
        TSessionCase{"limit in the pause after the exhale", 1, 10, 10, 10, 40, {}, 66'000, 10},
        TSessionCase{"the default pattern: the exhale ending at 59.5 s is too early", 1, 30, 5, 60, 5, {}, 69'500, 7},
        TSessionCase{"paused in the inhale", 1, 50, 5, 10, 5, {{1'000, 3'000}}, 65'500, 9},
        TSessionCase{"paused in the pause after the inhale", 1, 20, 30, 10, 10, {{2'500, 2'000}}, 64'000, 9},
        TSessionCase{"paused in the exhale", 1, 10, 10, 40, 10, {{4'000, 1'230}}, 63'230, 9},
        TSessionCase{"paused in the pause after the exhale", 1, 10, 10, 10, 40, {{5'000, 700}}, 66'700, 10},
        TSessionCase{"no end until a length already passed is chosen", 0, 10, 10, 40, 10, {}, 76'000, 11, 70'000}));

}  // namespace
}  // namespace lumeno::test
