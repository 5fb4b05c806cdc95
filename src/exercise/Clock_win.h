// The pacer's clock on Windows: the high-resolution performance counter.
#pragma once

#include "exercise/BreathingPacer.h"
#include "exercise/PracticeSession.h"

namespace lumeno {

class TPerformanceClock : public IClock {
 public:
  // Both read 0 if the platform has no performance counter.
  int64_t Counter() override;
  int64_t Frequency() override;
};

// The system's local date and time now, with its offset from UTC.
TLocalTime SystemLocalNow();

}  // namespace lumeno
