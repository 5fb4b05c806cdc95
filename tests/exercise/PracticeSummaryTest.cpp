// Days, weeks and runs from a table of practices.
#include <gtest/gtest.h>

#include <vector>

#include "exercise/PracticeSummary.h"

namespace lumeno::test {
namespace {

// Wednesday 2024-03-27; Europe's clocks went forward on Sunday the 31st.
const int64_t kToday = DayOf(LocalSeconds(2024, 3, 27, 12, 0, 0));

struct TPractice {
  int Month, Day, Hour, Minute;
  int Minutes;
  int32_t OffsetMinutes = 60;
};

struct TCase {
  const char* What;
  std::vector<TPractice> Practices;
  int64_t Today;
  int FirstDayOfWeek;
  // Minutes today and this week; current and longest run; minutes in the chart's slot (days ago, minutes).
  int64_t TodayMinutes, WeekMinutes, CurrentRun, LongestRun;
  std::vector<std::pair<int, int64_t>> Slots;
};

TEST(PracticeSummary, CountsLocalDaysWeeksAndRuns) {
  const TCase cases[] = {
      {"nothing", {}, kToday, 0, 0, 0, 0, 0, {{0, 0}}},
      {"a gap breaks the run",
       {{3, 20, 8, 0, 10}, {3, 21, 8, 0, 10}, {3, 22, 8, 0, 10}, {3, 25, 8, 0, 5}, {3, 26, 8, 0, 5}, {3, 27, 8, 0, 5}},
       kToday, 0, 5, 15, 3, 3, {{0, 5}, {4, 0}, {7, 10}}},
      {"today not practised yet", {{3, 25, 8, 0, 10}, {3, 26, 21, 0, 10}}, kToday, 0, 0, 20, 2, 2, {{1, 10}}},
      {"yesterday missed", {{3, 25, 8, 0, 10}}, kToday, 0, 0, 10, 0, 1, {{2, 10}}},
      {"crossing midnight counts on its start day", {{3, 26, 23, 50, 30}}, kToday, 0, 0, 30, 1, 1, {{1, 30}, {0, 0}}},
      {"the week starts on Sunday", {{3, 24, 9, 0, 7}, {3, 25, 9, 0, 3}}, kToday, 6, 0, 10, 0, 2, {}},
      {"the week starts on Monday", {{3, 24, 9, 0, 7}, {3, 25, 9, 0, 3}}, kToday, 0, 0, 3, 0, 2, {}},
      {"the 23-hour day is one day",
       {{3, 30, 23, 30, 10}, {3, 31, 0, 30, 10}, {3, 31, 3, 30, 10, 120}, {4, 1, 0, 30, 10, 120}},
       DayOf(LocalSeconds(2024, 4, 1, 12, 0, 0)), 0, 10, 10, 3, 3, {{0, 10}, {1, 20}, {2, 10}}},
      {"a practice from a zone ahead counts no later than today",
       {{3, 26, 20, 0, 10, -300}, {3, 28, 0, 30, 5, 540}}, kToday, 0, 5, 15, 2, 2, {{0, 5}, {1, 10}}},
      {"thirty days back is off the chart", {{2, 26, 8, 0, 10}, {2, 27, 8, 0, 20}}, kToday, 0, 0, 0, 0, 2, {{29, 20}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<TPracticeRecord> records;
    for (const TPractice& p : c.Practices) {
      TPracticeRecord r;
      r.StartLocalSeconds = LocalSeconds(2024, p.Month, p.Day, p.Hour, p.Minute, 0);
      r.UtcOffsetMinutes = p.OffsetMinutes;
      r.ActiveMilliseconds = p.Minutes * 60000;
      records.push_back(r);
    }
    const TPracticeSummary s = Summarize(records, c.Today, c.FirstDayOfWeek);
    EXPECT_EQ(WholeMinutes(s.Today), c.TodayMinutes);
    EXPECT_EQ(WholeMinutes(s.Week), c.WeekMinutes);
    EXPECT_EQ(s.CurrentRun, c.CurrentRun);
    EXPECT_EQ(s.LongestRun, c.LongestRun);
    int64_t total = 0;
    for (const TPractice& p : c.Practices) total += p.Minutes;
    EXPECT_EQ(WholeMinutes(s.Total), total);
    EXPECT_EQ(s.Practices, static_cast<int64_t>(c.Practices.size()));
    for (const auto& [daysAgo, minutes] : c.Slots) EXPECT_EQ(WholeMinutes(s.Days[kChartDays - 1 - daysAgo]), minutes);
  }
}

}  // namespace
}  // namespace lumeno::test
