// The pacer's steady load without painting, and the pattern's arrows.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "exercise/BreathingPacer.h"
#include "exercise/BreathingPattern.h"

namespace {

using namespace lumeno;

class TBenchClock : public IClock {
 public:
  int64_t Counter() override { return counter += 157'000; }  // ~16 ms at 10 MHz
  int64_t Frequency() override { return 10'000'000; }
  int64_t counter = 0;
};

class TBenchTimer : public ITimer {
 public:
  void SetInterval(uint32_t ms) override { interval = ms; }
  void SetEnabled(bool on) override { enabled = on; }
  uint32_t interval = 1;
  bool enabled = false;
};

// Stores the writes under the bar's ignore rules; paints nothing.
class TBenchBar : public IPacerBar {
 public:
  int32_t GetMax() const override { return max; }
  void SetMax(int32_t value) override { max = value; }
  int32_t GetPosition() const override { return position; }
  void SetPosition(int32_t value) override {
    if (value != position && value <= max && value >= 0) position = value;
  }
  int32_t max = 100;
  int32_t position = 0;
};

class TBenchSound : public ISound {
 public:
  void Start(const char*) override { ++starts; }
  void Stop() override { ++stops; }
  int64_t starts = 0, stops = 0;
};

class TBenchSource : public IPatternSource {
 public:
  const TBreathingPattern& Pattern() const override { return pattern; }
  bool SoundsEnabled() const override { return true; }
  TBreathingPattern pattern;
};

void BM_PacerTick(benchmark::State& state) {
  TBenchClock clock;
  TBenchTimer timer;
  TBenchBar bar;
  TBenchSound sound;
  TBenchSource source;
  TBreathingPacer pacer(clock, timer, bar, sound);
  pacer.FormCreate();
  pacer.SetPatternSource(&source);
  pacer.Start();
  for (auto _ : state) {
    pacer.TimerBreatchTimer();
    benchmark::DoNotOptimize(bar.position);
  }
}
BENCHMARK(BM_PacerTick);

// One arrow pressed back and forth between two bounds of the figure it steps.
void BM_StepFigure(benchmark::State& state, void (TBreathingPattern::*press)(TStep),
                   int32_t TBreathingPattern::*figure, int32_t low, int32_t high) {
  TBreathingPattern pattern;
  TStep step = TStep::Up;
  for (auto _ : state) {
    (pattern.*press)(step);
    if (pattern.*figure > high) step = TStep::Down;
    if (pattern.*figure < low) step = TStep::Up;
    benchmark::DoNotOptimize(pattern);
  }
}
BENCHMARK_CAPTURE(BM_StepFigure, cycle, &TBreathingPattern::StepCycle, &TBreathingPattern::FCycle, 20, 200);
BENCHMARK_CAPTURE(BM_StepFigure, bpm, &TBreathingPattern::StepBpm, &TBreathingPattern::FBpm, 20, 300);

void BM_StepPhase(benchmark::State& state) {
  TBreathingPattern pattern;
  for (auto _ : state) {
    pattern.StepBreathIn(TStep::Up);
    pattern.StepBreathIn(TStep::Down);
    benchmark::DoNotOptimize(pattern);
  }
}
BENCHMARK(BM_StepPhase);

void BM_FormatTenths(benchmark::State& state) {
  int32_t value = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(FormatTenths(value, "."));
    value = (value + 7919) % 200000;
  }
}
BENCHMARK(BM_FormatTenths);

}  // namespace
