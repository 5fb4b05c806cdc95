// The history file's text: a practice's line both ways, what the reader
// skips and counts, and the pending lines merged once and in order.
#include <gtest/gtest.h>

#include <string>

#include "persistence/PracticeHistory.h"

namespace lumeno::test {
namespace {

const int64_t kMarch5 = LocalSeconds(2024, 3, 5, 7, 30, 0);

TEST(PracticeLine, IsWrittenAndReadBack) {
  struct {
    TPracticeRecord Record;
    const char* Line;
    bool ReadsBackTheSame;  // false: rounded, or a negative written as 0
  } cases[] = {
      {{kMarch5, 60, 600000, 60, 30, 5, 60, 5, true}, "2024-03-05T07:30:00+01:00,10.0,60,3.0,0.5,6.0,0.5,complete", true},
      {{LocalSeconds(2023, 12, 31, 23, 59, 59), -330, 60000, 6, 40, 70, 80, 0, false},
       "2023-12-31T23:59:59-05:30,1.0,6,4.0,7.0,8.0,0.0,stopped", true},
      // 4.65 minutes: a half rounds up.
      {{kMarch5, 840, 279000, -1, -5, 2147483647, 1, 0, false},
       "2024-03-05T07:30:00+14:00,4.7,0,0.0,214748364.7,0.1,0.0,stopped", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    EXPECT_EQ(FormatPracticeLine(c.Record), std::string(c.Line) + "\r\n");
    const auto read = ParsePracticeLine(c.Line, kMarch5);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(*read == c.Record, c.ReadsBackTheSame);
    EXPECT_EQ(FormatPracticeLine(*read), std::string(c.Line) + "\r\n");
  }
  // As a spreadsheet may save it: quoted, "Z" for UTC, more decimals, whole numbers.
  EXPECT_EQ(ParsePracticeLine("\"2024-03-05T06:30:00Z\",\"10\",60,3,0.45,6.04,0.5,\"complete\"", kMarch5),
            (TPracticeRecord{kMarch5 - 3600, 0, 600000, 60, 30, 5, 60, 5, true}));
}

TEST(PracticeReader, SkipsAndCountsWhatItCannotRead) {
  const std::string good = "2024-03-05T07:30:00+01:00,10.0,60,3.0,0.5,6.0,0.5,complete";
  const char* const damaged[] = {
      "garbage",
      "2024-03-05T07:30:00+01:00,10.0,60,3.0,0.5,6.0,complete",
      "2024-03-05T07:30:00+01:00,10.0,60,3.0,0.5,6.0,0.5,complete,",
      "2024-03-05T07:30:00+01:00,-10.0,60,3.0,0.5,6.0,0.5,complete",
      "2024-03-05T07:30:00+01:00,1000000.1,60,3.0,0.5,6.0,0.5,complete",
      "2024-03-05T07:30:00+01:00,10.0,60,214748364.8,0.5,6.0,0.5,complete",
      "2024-03-05T07:30:00+01:00,10.0,60,3.0,0.5,6.0,0.5,done",
      "2023-02-29T07:30:00+01:00,10.0,60,3.0,0.5,6.0,0.5,complete",
      "2024-03-05T24:00:00+01:00,10.0,60,3.0,0.5,6.0,0.5,complete",
      "2024-03-05T07:30:00+19:00,10.0,60,3.0,0.5,6.0,0.5,complete",
      "2024-03-05T07:30:00,10.0,60,3.0,0.5,6.0,0.5,complete",
      "1969-12-31T23:00:00+00:00,10.0,60,3.0,0.5,6.0,0.5,complete",
      "2025-03-05T07:30:01+01:00,10.0,60,3.0,0.5,6.0,0.5,complete",  // a second after now
      "\"2024-03-05T07:30:00+01:00,10.0,60,3.0,0.5,6.0,0.5,complete",
  };
  std::string bytes = "\xEF\xBB\xBF" + std::string(kPracticeHeader) + "\r\n\r\n";
  for (const char* line : damaged) bytes += std::string(line) + "\n" + good + "\r\n";
  bytes += std::string(100000, 'x') + "\n" + std::string("\0\xFF\x01,\n", 5) + good.substr(0, 30);
  TPracticeHistory history;
  ReadPracticeLines(bytes, LocalSeconds(2025, 3, 5, 6, 30, 0), history);
  EXPECT_EQ(history.Records.size(), std::size(damaged));
  EXPECT_EQ(history.Damaged, static_cast<int64_t>(std::size(damaged)) + 3);
}

TEST(PracticePending, IsMergedOnceAndInOrder) {
  const std::string header = std::string(kPracticeHeader) + "\r\n";
  struct {
    std::string Practice, Pending, Merged;
  } cases[] = {
      {"", "", ""},
      {header + "a\r\n", header + "b\r\nc\r\n", "b\r\nc\r\n"},
      // The last merge wrote its lines but could not remove the pending file.
      {header + "a\r\nb\r\nc\r\n", header + "b\r\nc\r\n", ""},
      {header + "a\r\nb\r\n", header + "b\r\nc\nd", "c\r\nd\r\n"},
      {"a", "\r\nc\r\nc\r\nb\r\n", "c\r\nb\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Practice + "|" + c.Pending);
    EXPECT_EQ(PendingLinesToMerge(c.Practice, c.Pending), c.Merged);
  }
}

}  // namespace
}  // namespace lumeno::test
