#include "exercise/Clock_win.h"

#include <windows.h>

namespace lumeno {

int64_t TPerformanceClock::Counter() {
  LARGE_INTEGER value{};
  if (!::QueryPerformanceCounter(&value)) return 0;
  return value.QuadPart;
}

int64_t TPerformanceClock::Frequency() {
  LARGE_INTEGER value{};
  if (!::QueryPerformanceFrequency(&value)) return 0;
  return value.QuadPart;
}

}  // namespace lumeno
