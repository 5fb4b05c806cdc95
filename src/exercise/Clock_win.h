// The pacer's clock on Windows: the high-resolution performance counter.
#pragma once

#include "exercise/BreathingPacer.h"

namespace lumeno {

class TPerformanceClock : public IClock {
 public:
  // Both read 0 if the platform has no performance counter.
  int64_t Counter() override;
  int64_t Frequency() override;
};

}  // namespace lumeno
