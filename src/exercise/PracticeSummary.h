// What the practice history says at a glance: active time per local calendar
// day for the last 30 days, this week, runs of consecutive days with practice,
// and the totals. Days are days of the local calendar (a practice counts on
// the day it started, where it started), so a change to or from daylight
// saving time neither makes nor loses one.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "exercise/PracticeRecord.h"

namespace lumeno {

// The local calendar's date and time as seconds since 1970-01-01 00:00 (the
// Gregorian calendar's months and leap years; no range check).
int64_t LocalSeconds(int64_t year, int month, int day, int hour, int minute, int second);
// The calendar day of such seconds (days since 1970-01-01), and back.
int64_t DayOf(int64_t localSeconds);
struct TCivilDate {
  int64_t Year;
  int Month;
  int Day;
};
TCivilDate DateOfDay(int64_t day);

inline constexpr int kChartDays = 30;

struct TPracticeSummary {
  // Active milliseconds on each of the last kChartDays days, the oldest first, today last.
  std::array<int64_t, kChartDays> Days{};
  int64_t Today = 0;
  // Since the week's first day.
  int64_t Week = 0;
  // Consecutive days with practice up to today, or up to yesterday while
  // today has none yet; and the most there ever were.
  int64_t CurrentRun = 0;
  int64_t LongestRun = 0;
  int64_t Total = 0;
  int64_t Practices = 0;
};

// today: the local calendar day now. firstDayOfWeek: 0 Monday ... 6 Sunday.
// A practice whose day lies after today (it started in a time zone ahead of
// today's) counts today.
TPracticeSummary Summarize(const std::vector<TPracticeRecord>& records, int64_t today, int firstDayOfWeek);

// Milliseconds as whole minutes, a half rounded up.
inline int64_t WholeMinutes(int64_t milliseconds) { return milliseconds / 60000 + (milliseconds % 60000 >= 30000); }

}  // namespace lumeno
