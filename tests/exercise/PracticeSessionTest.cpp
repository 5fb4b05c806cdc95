// Practice sessions on the simulated pacer: where they end, and what pauses do to that.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "exercise/PacerFakes.h"
#include "exercise/PracticeSession.h"

namespace lumeno::test {
namespace {

struct TRecordingLog : IPracticeLog {
  void PracticeEnded(const TPracticeRecord& record) override { Records.push_back(record); }
  std::vector<TPracticeRecord> Records;
};

// Seven-second cycles put one minute 4 s into a cycle: in a different phase
// for each pattern, where a pause of its own is taken too.
TEST(PracticeSession, EndsAtTheFirstEndOfAnExhaleOnceTheActiveTimeIsUp) {
  const struct {
    const char* What;
    int32_t Minutes;
    int32_t In, HoldOut, Out, HoldIn;  // tenths
    int64_t PauseAt, PauseFor;         // ms since the start
    int64_t EndsAt;                    // when the bar came to rest, ms since the start
    int32_t Breaths;
    int64_t LengthSetAt = -1;  // with SetLength(1) then
  } cases[] = {
      {"the default pattern: the exhale ending at 59.5 s is too early", 1, 30, 5, 60, 5, 0, 0, 69'500, 7},
      {"paused in the inhale", 1, 50, 5, 10, 5, 1'000, 3'000, 65'500, 9},
      {"paused in the pause after the inhale", 1, 20, 30, 10, 10, 2'500, 2'000, 64'000, 9},
      {"paused in the exhale", 1, 10, 10, 40, 10, 4'000, 1'230, 63'230, 9},
      {"paused in the pause after the exhale", 1, 10, 10, 10, 40, 5'000, 700, 66'700, 10},
      {"no end until a length already passed is chosen", 0, 10, 10, 40, 10, 0, 0, 76'000, 11, 70'000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TPacerSim sim;
    TRecordingLog log;
    TPracticeSession session(sim.clock, sim.pacer, sim.sound, [] { return TLocalTime{1'700'000'000, 60}; });
    session.SetLog(&log);
    session.SetLength(c.Minutes);
    sim.source.pattern.FBreathIn = c.In, sim.source.pattern.FHoldOut = c.HoldOut;
    sim.source.pattern.FBreathOut = c.Out, sim.source.pattern.FHoldIn = c.HoldIn;
    sim.CreateAndStart();
    session.Begin();
    if (c.PauseFor > 0) {
      sim.RunUntil(c.PauseAt);
      session.Toggle();
      sim.RunUntil(c.PauseAt + c.PauseFor);
      session.Toggle();
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
    EXPECT_EQ(std::vector<std::string>(sim.sound.calls.end() - 2, sim.sound.calls.end()),
              (std::vector<std::string>{"stop", "once end.wav"}));
    ASSERT_EQ(log.Records.size(), 1u);
    EXPECT_EQ(log.Records[0], (TPracticeRecord{1'700'000'000, 60, c.EndsAt - c.PauseFor, c.Breaths, c.In,
                                               c.HoldOut, c.Out, c.HoldIn, true}));
  }
}

}  // namespace
}  // namespace lumeno::test
