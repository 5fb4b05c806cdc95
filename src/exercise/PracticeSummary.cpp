#include "exercise/PracticeSummary.h"

#include <algorithm>

namespace lumeno {

namespace {

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - (a % b != 0 && (a < 0) != (b < 0)); }
int64_t FloorMod(int64_t a, int64_t b) { return a - FloorDiv(a, b) * b; }

}  // namespace

int64_t LocalSeconds(int64_t year, int month, int day, int hour, int minute, int second) {
  // Days from the civil date (March-based years, so the leap day comes last).
  const int64_t y = year - (month <= 2);
  const int64_t era = FloorDiv(y, 400);
  const int64_t yearOfEra = y - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  const int64_t days = era * 146097 + dayOfEra - 719468;
  return days * 86400 + hour * 3600 + minute * 60 + second;
}

int64_t DayOf(int64_t localSeconds) { return FloorDiv(localSeconds, 86400); }

TCivilDate DateOfDay(int64_t day) {
  const int64_t z = day + 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  return {yearOfEra + era * 400 + (month <= 2), month, static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1)};
}

TPracticeSummary Summarize(const std::vector<TPracticeRecord>& records, int64_t today, int firstDayOfWeek) {
  TPracticeSummary s;
  // 1970-01-01 was a Thursday (3 counting from Monday).
  const int64_t weekStart = today - FloorMod(FloorMod(today + 3, 7) - firstDayOfWeek, 7);
  const int64_t chartStart = today - (kChartDays - 1);
  std::vector<int64_t> days;
  days.reserve(records.size());
  for (const TPracticeRecord& r : records) {
    const int64_t ms = std::max<int64_t>(r.ActiveMilliseconds, 0);
    const int64_t day = std::min(DayOf(r.StartLocalSeconds), today);
    s.Total += ms;
    ++s.Practices;
    if (day == today) s.Today += ms;
    if (day >= weekStart) s.Week += ms;
    if (day >= chartStart) s.Days[static_cast<size_t>(day - chartStart)] += ms;
    days.push_back(day);
  }
  std::sort(days.begin(), days.end());
  days.erase(std::unique(days.begin(), days.end()), days.end());
  int64_t run = 0;
  for (size_t i = 0; i < days.size(); ++i) {
    run = i > 0 && days[i] == days[i - 1] + 1 ? run + 1 : 1;
    s.LongestRun = std::max(s.LongestRun, run);
  }
  if (!days.empty() && days.back() >= today - 1) s.CurrentRun = run;
  return s;
}

}  // namespace lumeno
