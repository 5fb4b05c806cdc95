// One practice as the history keeps it, and where finished practices go.
#pragma once

#include <cstdint>

namespace lumeno {

struct TPracticeRecord {
  // When it started: the local date and time as seconds since 1970-01-01
  // 00:00 of the local calendar, and how far local time then was ahead of UTC.
  int64_t StartLocalSeconds = 0;
  int32_t UtcOffsetMinutes = 0;
  // Time in which the bar moved (paused time not counted).
  int64_t ActiveMilliseconds = 0;
  // Completed exhales.
  int32_t Breaths = 0;
  // The pattern, in tenths of a second.
  int32_t BreathIn = 0;
  int32_t HoldOut = 0;
  int32_t BreathOut = 0;
  int32_t HoldIn = 0;
  // A session that reached its end; otherwise Lumeno closed (or the user
  // logged off) first.
  bool Complete = false;

  friend bool operator==(const TPracticeRecord&, const TPracticeRecord&) = default;
};

// Told of every practice when it ends: a session reaching its end, Lumeno
// closing, the user logging off.
class IPracticeLog {
 public:
  virtual ~IPracticeLog() = default;
  virtual void PracticeEnded(const TPracticeRecord& record) = 0;
};

}  // namespace lumeno
