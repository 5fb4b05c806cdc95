// A simulated host for the pacer: a counter at 10 MHz driven by simulated
// milliseconds, a GUI timer that ticks no faster than every 10 ms (as under
// Wine) and restarts its countdown when its interval changes, a bar with the
// real ignore rules, and a sound device with the no-stop rule.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "exercise/BreathingPacer.h"

namespace lumeno::test {

class TFakeClock : public IClock {
 public:
  int64_t Counter() override { return counter; }
  int64_t Frequency() override { return frequency; }

  int64_t counter = 0;
  int64_t frequency = 10'000'000;
};

class TFakeTimer : public ITimer {
 public:
  explicit TFakeTimer(const int64_t& nowMs) : now_(nowMs) {}
  void SetInterval(uint32_t milliseconds) override {
    intervals.push_back(milliseconds);
    if (milliseconds == interval) return;
    interval = milliseconds;
    restartedAt = now_;
    fired = 0;
  }
  void SetEnabled(bool on) override {
    if (on && !enabled) {
      restartedAt = now_;
      fired = 0;
    }
    enabled = on;
  }
  int64_t Period() const { return interval < granularity ? granularity : interval; }
  int64_t NextTick() const { return restartedAt + (fired + 1) * Period(); }

  int64_t granularity = 10;  // the platform's shortest timer period
  uint32_t interval = 1;     // created with 1 ms, disabled
  bool enabled = false;
  int64_t restartedAt = 0;
  int64_t fired = 0;
  std::vector<uint32_t> intervals;  // every SetInterval call

 private:
  const int64_t& now_;
};

class TFakeBar : public IPacerBar {
 public:
  int32_t GetMax() const override { return max; }
  void SetMax(int32_t value) override {
    max = value;
    log.push_back("max " + std::to_string(value));
  }
  int32_t GetPosition() const override { return position; }
  void SetPosition(int32_t value) override {
    if (value == position || value > max || value < min) {
      log.push_back("ignored " + std::to_string(value));
      return;
    }
    position = value;
    log.push_back("pos " + std::to_string(value));
  }
  void PhaseChanged(int32_t tag) override { phases.push_back(tag); }

  std::vector<int32_t> phases;  // every PhaseChanged call
  int32_t min = 0;
  int32_t max = 100;
  int32_t position = 0;
  std::vector<std::string> log;
};

class TFakeSound : public ISound {
 public:
  void Start(const char* fileName) override {
    calls.push_back(std::string("start ") + fileName);
    if (playing.empty()) playing = fileName;  // no-stop: a looping sound is not interrupted
  }
  void Stop() override {
    calls.push_back("stop");
    playing.clear();
  }
  // Not no-stop: it replaces whatever plays.
  void PlayOnce(const char* fileName) override {
    calls.push_back(std::string("once ") + fileName);
    playing = fileName;
  }

  std::string playing;
  std::vector<std::string> calls;
};

class TFakeSource : public IPatternSource {
 public:
  const TBreathingPattern& Pattern() const override { return pattern; }
  bool SoundsEnabled() const override { return sounds; }
  const TBreathSounds& Sounds() const override { return chosen; }

  TBreathingPattern pattern;
  bool sounds = true;
  TBreathSounds chosen;
};

// The host wired as at start-up: main window created at time 0, settings
// dialog attached and the pacer started.
class TPacerSim {
 public:
  explicit TPacerSim(int64_t counterAtZero = 0) : counterAtZero_(counterAtZero) { SyncClock(); }

  void CreateAndStart() {
    pacer.FormCreate();
    pacer.SetPatternSource(&source);
    pacer.Start();
  }

  // Delivers every timer tick due up to and including `untilMs`.
  void RunUntil(int64_t untilMs) {
    while (timer.enabled && timer.NextTick() <= untilMs) {
      now = timer.NextTick();
      ++timer.fired;
      SyncClock();
      const int32_t before = pacer.Tag;
      pacer.TimerBreatchTimer();
      if (pacer.Tag != before) transitions.push_back({now, pacer.Tag});
      if (transitions.size() > 100000) return;  // a runaway machine fails the test, not the run
    }
    now = untilMs;
    SyncClock();
  }

  struct TTransition {
    int64_t atMs;
    int32_t tag;
    friend bool operator==(const TTransition&, const TTransition&) = default;
    friend void PrintTo(const TTransition& t, std::ostream* os) { *os << "tag " << t.tag << " at " << t.atMs; }
  };

  int64_t now = 0;
  TFakeClock clock;
  TFakeTimer timer{now};
  TFakeBar bar;
  TFakeSound sound;
  TFakeSource source;
  TBreathingPacer pacer{clock, timer, bar, sound};
  std::vector<TTransition> transitions;

 private:
  // The counter wraps like the hardware's would.
  void SyncClock() {
    const uint64_t ticks = static_cast<uint64_t>(now) * static_cast<uint64_t>(clock.frequency / 1000);
    clock.counter = static_cast<int64_t>(static_cast<uint64_t>(counterAtZero_) + ticks);
  }

  int64_t counterAtZero_;
};

}  // namespace lumeno::test
