#include "exercise/BreathingPacer.h"

#include "base/Ext80.h"

namespace lumeno {
namespace {

// Stands in until the settings dialog is attached; ticks cannot come earlier,
// since the dialog enables the timer.
class TNoSource : public IPatternSource {
 public:
  const TBreathingPattern& Pattern() const override { return pattern_; }
  bool SoundsEnabled() const override { return false; }

 private:
  TBreathingPattern pattern_;
};

// Tenths to milliseconds, wrapping in 32-bit two's complement like every
// other pattern figure; only absurd stored phases get there.
int32_t Millis(int32_t tenths) { return static_cast<int32_t>(static_cast<uint32_t>(tenths) * 100u); }

// A timer set to 0 ms would never tick again and a negative interval means
// nothing, so a pause that is not positive lasts the shortest interval and
// the machine moves on at the next tick.
uint32_t PauseInterval(int32_t tenths) {
  const int32_t ms = Millis(tenths);
  return ms > 0 ? static_cast<uint32_t>(ms) : 1u;
}

int32_t ClampToInt32(int64_t v) {
  if (v < INT32_MIN) return INT32_MIN;
  if (v > INT32_MAX) return INT32_MAX;
  return static_cast<int32_t>(v);
}

}  // namespace

int64_t CountsToMs(uint64_t ticks, int64_t frequency) {
  if (frequency <= 0) return INT64_MAX;
  // The product wraps in 64 bits, as a counter that wrapped around needs; the
  // division and rounding are exact extended precision.
  return RoundQuotient(static_cast<int64_t>(ticks * 1000u), frequency);
}

TBreathingPacer::TBreathingPacer(IClock& clock, ITimer& timer, IPacerBar& bar, ISound& sound)
    : clock_(clock), timer_(timer), bar_(bar), sound_(sound) {}

const IPatternSource& TBreathingPacer::Source() const {
  static const TNoSource none;
  if (source_) return *source_;
  return none;
}

void TBreathingPacer::FormCreate() {
  FFrequency = clock_.Frequency();
  FStartCount = clock_.Counter();
}

void TBreathingPacer::Start() {
  const IPatternSource& source = Source();
  bar_.SetMax(Millis(source.Pattern().FBreathIn));
  bar_.PhaseChanged(Tag);
  timer_.SetEnabled(true);
  StartLoop(source, source.Sounds().In);
}

void TBreathingPacer::BeginPause(const IPatternSource& source, int32_t tenths) {
  holdStart_ = FNowCount;
  holdMs_ = PauseInterval(tenths);
  timer_.SetInterval(holdMs_);
  if (source.SoundsEnabled()) sound_.Stop();
  // The cue has its own switch: it also serves a practice with the loops off.
  const TBreathSounds& sounds = source.Sounds();
  if (sounds.CueEachPause && Millis(tenths) > 0 && !sounds.Cue.empty()) {
    sound_.PlayOnce(sounds.Cue.c_str());
    cuePlayed_ = true;
  }
}

void TBreathingPacer::StartLoop(const IPatternSource& source, const std::string& fileName) {
  const bool cuePlayed = cuePlayed_;
  cuePlayed_ = false;
  if (!source.SoundsEnabled()) return;
  // A start is ignored while any sound plays (no-stop), so a cue still
  // sounding would swallow the loop: it is stopped first.
  if (cuePlayed) sound_.Stop();
  if (!fileName.empty()) sound_.Start(fileName.c_str());
}

int64_t TBreathingPacer::ElapsedMs() {
  FNowCount = clock_.Counter();
  // A counter without a usable frequency cannot time anything: the moving
  // phase counts as over, so the pauses still pace the bar.
  return CountsToMs(static_cast<uint64_t>(FNowCount) - static_cast<uint64_t>(FStartCount), FFrequency);
}

void TBreathingPacer::Pause() {
  if (run_ != TRun::Running) return;
  run_ = TRun::Paused;
  pausedAt_ = clock_.Counter();
  timer_.SetEnabled(false);
  sound_.Stop();
  cuePlayed_ = false;
}

void TBreathingPacer::Resume() {
  if (run_ != TRun::Paused) return;
  run_ = TRun::Running;
  const uint64_t held = static_cast<uint64_t>(clock_.Counter()) - static_cast<uint64_t>(pausedAt_);
  if (Tag == 0 || Tag == 2) {
    // The clock of the moving phase skips the time it was held.
    FStartCount = static_cast<int64_t>(static_cast<uint64_t>(FStartCount) + held);
    timer_.SetEnabled(true);
    StartLoop(Source(), Tag == 0 ? Source().Sounds().In : Source().Sounds().Ex);
    return;
  }
  const int64_t spent = CountsToMs(static_cast<uint64_t>(pausedAt_) - static_cast<uint64_t>(holdStart_), FFrequency);
  holdStart_ = static_cast<int64_t>(static_cast<uint64_t>(holdStart_) + held);
  const int64_t left = int64_t{holdMs_} - spent;
  timer_.SetInterval(left > 0 ? static_cast<uint32_t>(left) : 1u);
  timer_.SetEnabled(true);
}

void TBreathingPacer::Restart() {
  run_ = TRun::Running;
  Tag = 0;
  FStartCount = clock_.Counter();
  Start();
}

void TBreathingPacer::TimerBreatchTimer() {
  // A tick queued before the timer stopped.
  if (run_ != TRun::Running) return;
  switch (Tag) {
    case 0: {  // inhale: the bar rises
      const int64_t elapsed = ElapsedMs();
      const int32_t max = bar_.GetMax();
      if (elapsed < max) {
        bar_.SetPosition(ClampToInt32(elapsed));
        return;
      }
      bar_.SetPosition(max);
      const IPatternSource& source = Source();
      Tag = 1;
      bar_.PhaseChanged(Tag);
      BeginPause(source, source.Pattern().FHoldOut);
      return;
    }
    case 1: {  // the pause after the inhale has run out
      const IPatternSource& source = Source();
      bar_.SetMax(Millis(source.Pattern().FBreathOut));
      bar_.SetPosition(bar_.GetMax());
      Tag = 2;
      bar_.PhaseChanged(Tag);
      timer_.SetInterval(1);
      FStartCount = clock_.Counter();
      StartLoop(source, source.Sounds().Ex);
      return;
    }
    case 2: {  // exhale: the bar falls
      const int64_t elapsed = ElapsedMs();
      const int32_t max = bar_.GetMax();
      if (elapsed < max) {
        // elapsed < max, so the difference is positive; only a clock running
        // backwards makes it exceed int32, and then it lies above Max anyway.
        const uint64_t remaining = static_cast<uint64_t>(int64_t{max}) - static_cast<uint64_t>(elapsed);
        bar_.SetPosition(remaining > uint64_t{INT32_MAX} ? INT32_MAX : static_cast<int32_t>(remaining));
        return;
      }
      bar_.SetPosition(0);
      if (listener_ != nullptr && listener_->ExhaleEnded(FNowCount)) {
        // Stopped on a full breath: the bar rests empty, nothing ticks, and
        // whatever loops goes quiet.
        run_ = TRun::Ended;
        Tag = 3;
        timer_.SetEnabled(false);
        sound_.Stop();
        listener_->BreathingEnded();
        return;
      }
      const IPatternSource& source = Source();
      Tag = 3;
      bar_.PhaseChanged(Tag);
      BeginPause(source, source.Pattern().FHoldIn);
      return;
    }
    default: {  // 3, and anything else: the pause after the exhale has run out
      const IPatternSource& source = Source();
      bar_.SetMax(Millis(source.Pattern().FBreathIn));
      Tag = 0;
      bar_.PhaseChanged(Tag);
      timer_.SetInterval(1);
      FStartCount = clock_.Counter();
      StartLoop(source, source.Sounds().In);
      return;
    }
  }
}

}  // namespace lumeno
