// Days, weeks and runs from a table of practices.
#include <gtest/gtest.h>

#include <vector>

#include "exercise/PracticeSummary.h"

namespace lumeno::test {
namespace {

TEST(PracticeSummary, CountsLocalDaysWeeksAndRuns) {
  // Wednesday 2024-03-27; in Europe the clocks went forward on Sunday the 31st.
  const int64_t wednesday = DayOf(LocalSeconds(2024, 3, 27, 12, 0, 0)), april1 = wednesday + 5;
  struct TPractice {
    int Month, Day, Hour, Minute, Minutes, Offset = 60;
  };
  struct {
    const char* What;
    std::vector<TPractice> Practices;
    int64_t Today;
    int FirstDayOfWeek;
    int64_t TodayMinutes, WeekMinutes, CurrentRun, LongestRun;
    std::vector<std::pair<int, int64_t>> MinutesDaysAgo;
  } cases[] = {
      {"nothing", {}, wednesday, 0, 0, 0, 0, 0, {{0, 0}}},
      {"a gap breaks the run",
       {{3, 20, 8, 0, 10}, {3, 21, 8, 0, 10}, {3, 22, 8, 0, 10}, {3, 25, 8, 0, 5}, {3, 26, 8, 0, 5}, {3, 27, 8, 0, 5}},
       wednesday, 0, 5, 15, 3, 3, {{0, 5}, {4, 0}, {7, 10}}},
      {"today not practised yet", {{3, 25, 8, 0, 10}, {3, 26, 21, 0, 10}}, wednesday, 0, 0, 20, 2, 2, {{1, 10}}},
      {"yesterday missed", {{3, 25, 8, 0, 10}}, wednesday, 0, 0, 10, 0, 1, {{2, 10}}},
      {"crossing midnight", {{3, 26, 23, 50, 30}}, wednesday, 0, 0, 30, 1, 1, {{1, 30}, {0, 0}}},
      {"weeks from Sunday", {{3, 24, 9, 0, 7}, {3, 25, 9, 0, 3}}, wednesday, 6, 0, 10, 0, 2, {}},
      {"weeks from Monday", {{3, 24, 9, 0, 7}, {3, 25, 9, 0, 3}}, wednesday, 0, 0, 3, 0, 2, {}},
      {"the 23-hour day is one day",
       {{3, 30, 23, 30, 10}, {3, 31, 0, 30, 10}, {3, 31, 3, 30, 10, 120}, {4, 1, 0, 30, 10, 120}},
       april1, 0, 10, 10, 3, 3, {{0, 10}, {1, 20}, {2, 10}}},
      {"a change of time zone: a day after today counts today",
       {{3, 26, 20, 0, 10, -300}, {3, 28, 0, 30, 5, 540}}, wednesday, 0, 5, 15, 2, 2, {{0, 5}, {1, 10}}},
      {"30 days ago is off the chart", {{2, 26, 8, 0, 10}, {2, 27, 8, 0, 20}}, wednesday, 0, 0, 0, 0, 2, {{29, 20}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<TPracticeRecord> records;
    int64_t total = 0;
    for (const TPractice& p : c.Practices) {
      records.push_back({LocalSeconds(2024, p.Month, p.Day, p.Hour, p.Minute, 0), p.Offset, p.Minutes * 60000});
      total += p.Minutes;
    }
    const TPracticeSummary s = Summarize(records, c.Today, c.FirstDayOfWeek);
    EXPECT_EQ(WholeMinutes(s.Today), c.TodayMinutes);
    EXPECT_EQ(WholeMinutes(s.Week), c.WeekMinutes);
    EXPECT_EQ(s.CurrentRun, c.CurrentRun);
    EXPECT_EQ(s.LongestRun, c.LongestRun);
    EXPECT_EQ(WholeMinutes(s.Total), total);
    for (const auto& [daysAgo, minutes] : c.MinutesDaysAgo) EXPECT_EQ(WholeMinutes(s.Days[29 - daysAgo]), minutes);
  }
}

}  // namespace
}  // namespace lumeno::test
