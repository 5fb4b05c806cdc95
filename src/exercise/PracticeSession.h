// A practice session beside the pacer: its clock of active time (time paused
// does not count), pause and resume, the count of breaths, and the end on a
// full breath once a chosen length has passed, with the bell. Every finished
// practice is reported to the log. Platform-free: the window that shows it
// is told through ISessionView.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "exercise/BreathingPacer.h"
#include "exercise/PracticeRecord.h"

namespace lumeno {

// A local date and time as seconds since 1970-01-01 00:00 of the local
// calendar, and how far local time then was ahead of UTC.
struct TLocalTime {
  int64_t LocalSeconds = 0;
  int32_t UtcOffsetMinutes = 0;
};

enum class TSessionState : uint8_t {
  Running,
  Paused,
  Ended,   // reached its length; the summary shows until the next start
  Closed,  // Lumeno is closing: nothing more happens or is reported
};

// The window showing the session: told whenever its state, length or bell changed.
class ISessionView {
 public:
  virtual ~ISessionView() = default;
  virtual void SessionChanged() = 0;
};

class TPracticeSession final : private IExhaleListener {
 public:
  static constexpr const char* kBellSound = "end.wav";

  // Listens to the pacer's exhales from now on. localNow gives the start
  // times of the practices.
  TPracticeSession(IClock& clock, TBreathingPacer& pacer, ISound& sound, std::function<TLocalTime()> localNow);
  ~TPracticeSession() override;
  TPracticeSession(const TPracticeSession&) = delete;
  TPracticeSession& operator=(const TPracticeSession&) = delete;

  void SetView(ISessionView* view) { FView = view; }
  void SetLog(IPracticeLog* log) { FLog = log; }

  // Minutes of active time (0 or less: no end). A running session takes a new
  // length at once; one already passed ends it at its next full breath.
  void SetLength(int32_t minutes);
  int32_t LengthMinutes() const { return FLengthMinutes; }
  bool HasEnd() const { return FLengthMinutes > 0; }
  void SetBell(bool bell) { FBell = bell; }

  // The pacer has just started: the first practice begins with its inhale.
  void Begin();
  // Pauses a running practice, resumes a paused one, starts a new one after an end.
  void Toggle();
  // The workstation was locked: a running practice with an end pauses, so a
  // locked screen never completes it.
  void Locked();
  // Lumeno closes, or the user logs off: a practice that runs or is paused
  // is reported as not complete.
  void Close();

  TSessionState State() const { return FState; }
  int64_t ActiveMs() const;
  // What is left of the length (0 once it has passed, and without an end).
  int64_t RemainingMs() const;
  // After an end: what the bar shows, lines separated by '\n'.
  std::string Summary() const;

 private:
  bool ExhaleEnded(int64_t counter) override;
  void BreathingEnded() override;
  int64_t ActiveAt(int64_t counter) const;
  void Report(bool complete);
  void Changed();

  IClock& FClock;
  TBreathingPacer& FPacer;
  ISound& FSound;
  std::function<TLocalTime()> FLocalNow;
  ISessionView* FView = nullptr;
  IPracticeLog* FLog = nullptr;

  int32_t FLengthMinutes = 0;
  bool FBell = true;
  TSessionState FState = TSessionState::Running;
  TLocalTime FStartTime;
  int64_t FStartCount = 0;
  // Counter ticks spent paused, and when the current pause began.
  uint64_t FPausedTicks = 0;
  int64_t FPausedAt = 0;
  int64_t FEndCount = 0;
  int32_t FBreaths = 0;
};

// Remaining time as the panel shows it, m:ss, whole seconds rounded up.
std::string FormatRemaining(int64_t ms);
// Milliseconds until that text next changes (a second once it shows 0:00).
uint32_t MsUntilNextSecond(int64_t ms);

}  // namespace lumeno
