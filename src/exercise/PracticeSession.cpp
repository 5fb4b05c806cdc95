#include "exercise/PracticeSession.h"

#include <algorithm>

namespace lumeno {

namespace {

constexpr int64_t kMsPerMinute = 60'000;

std::string Counted(int64_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

TPracticeSession::TPracticeSession(IClock& clock, TBreathingPacer& pacer, ISound& sound,
                                   std::function<TLocalTime()> localNow)
    : FClock(clock), FPacer(pacer), FSound(sound), FLocalNow(std::move(localNow)) {
  FPacer.SetExhaleListener(this);
}

TPracticeSession::~TPracticeSession() { FPacer.SetExhaleListener(nullptr); }

void TPracticeSession::SetLength(int32_t minutes) {
  FLengthMinutes = std::max(minutes, 0);
  Changed();
}

void TPracticeSession::Begin() {
  FState = TSessionState::Running;
  // The practice's clock is the pacer's: it starts with the first inhale.
  FStartCount = FPacer.FStartCount;
  FStartTime = FLocalNow ? FLocalNow() : TLocalTime{};
  FPausedTicks = 0;
  FBreaths = 0;
  Changed();
}

void TPracticeSession::Toggle() {
  switch (FState) {
    case TSessionState::Running:
      FPausedAt = FClock.Counter();
      FState = TSessionState::Paused;
      FPacer.Pause();
      break;
    case TSessionState::Paused:
      FPausedTicks += static_cast<uint64_t>(FClock.Counter()) - static_cast<uint64_t>(FPausedAt);
      FState = TSessionState::Running;
      FPacer.Resume();
      break;
    case TSessionState::Ended:
      FPacer.Restart();
      Begin();
      return;
    case TSessionState::Closed:
      return;
  }
  Changed();
}

void TPracticeSession::Locked() {
  if (FState == TSessionState::Running && HasEnd()) Toggle();
}

void TPracticeSession::Close() {
  if (FState == TSessionState::Running || FState == TSessionState::Paused) {
    FEndCount = FState == TSessionState::Paused ? FPausedAt : FClock.Counter();
    Report(false);
  }
  FState = TSessionState::Closed;
}

int64_t TPracticeSession::ActiveAt(int64_t counter) const {
  // Wraps like the counter; a clock that ran backwards, or one without a
  // usable frequency, has timed nothing.
  const auto ticks =
      static_cast<int64_t>(static_cast<uint64_t>(counter) - static_cast<uint64_t>(FStartCount) - FPausedTicks);
  if (ticks <= 0 || FPacer.FFrequency <= 0) return 0;
  return CountsToMs(static_cast<uint64_t>(ticks), FPacer.FFrequency);
}

int64_t TPracticeSession::ActiveMs() const {
  switch (FState) {
    case TSessionState::Running: return ActiveAt(FClock.Counter());
    case TSessionState::Paused: return ActiveAt(FPausedAt);
    default: return ActiveAt(FEndCount);
  }
}

int64_t TPracticeSession::RemainingMs() const {
  if (!HasEnd()) return 0;
  return std::max<int64_t>(FLengthMinutes * kMsPerMinute - ActiveMs(), 0);
}

bool TPracticeSession::ExhaleEnded(int64_t counter) {
  if (FBreaths < INT32_MAX) ++FBreaths;
  if (!HasEnd() || ActiveAt(counter) < FLengthMinutes * kMsPerMinute) return false;
  FEndCount = counter;
  return true;
}

void TPracticeSession::BreathingEnded() {
  FState = TSessionState::Ended;
  // Rung after the pacer stopped the loop, whatever "enable sounds" says.
  if (FBell) FSound.PlayOnce(kBellSound);
  Report(true);
  Changed();
}

void TPracticeSession::Report(bool complete) {
  if (!FLog) return;
  const TBreathingPattern& pattern = FPacer.Pattern();
  TPracticeRecord record;
  record.StartLocalSeconds = FStartTime.LocalSeconds;
  record.UtcOffsetMinutes = FStartTime.UtcOffsetMinutes;
  record.ActiveMilliseconds = ActiveAt(FEndCount);
  record.Breaths = FBreaths;
  record.BreathIn = pattern.FBreathIn;
  record.HoldOut = pattern.FHoldOut;
  record.BreathOut = pattern.FBreathOut;
  record.HoldIn = pattern.FHoldIn;
  record.Complete = complete;
  FLog->PracticeEnded(record);
}

void TPracticeSession::Changed() {
  if (FView) FView->SessionChanged();
}

std::string TPracticeSession::Summary() const {
  return "Session complete\n" + Counted(ActiveMs() / kMsPerMinute, "minute", "minutes") + ", " +
         Counted(FBreaths, "breath", "breaths") + "\nClick the bar or press P to start again";
}

std::string FormatRemaining(int64_t ms) {
  const int64_t seconds = ms > 0 ? (ms + 999) / 1000 : 0;
  const int64_t s = seconds % 60;
  return std::to_string(seconds / 60) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

uint32_t MsUntilNextSecond(int64_t ms) {
  if (ms <= 0) return 1000;
  return static_cast<uint32_t>((ms - 1) % 1000 + 1);
}

}  // namespace lumeno
