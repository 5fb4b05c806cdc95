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

namespace {

int64_t UnixSeconds(const SYSTEMTIME& time) {
  FILETIME file{};
  if (!::SystemTimeToFileTime(&time, &file)) return 0;
  const uint64_t hundreds = (uint64_t{file.dwHighDateTime} << 32) | file.dwLowDateTime;
  // File times count 100 ns from 1601-01-01.
  return static_cast<int64_t>(hundreds / 10'000'000u) - 11'644'473'600;
}

}  // namespace

TLocalTime SystemLocalNow() {
  SYSTEMTIME utc{}, local{};
  ::GetSystemTime(&utc);
  if (!::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
  const int64_t localSeconds = UnixSeconds(local);
  // Both readings share their milliseconds, so the difference is exact.
  return {localSeconds, static_cast<int32_t>((localSeconds - UnixSeconds(utc)) / 60)};
}

}  // namespace lumeno
