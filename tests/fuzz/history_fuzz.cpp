// The history reader over any bytes, then the summary of what it read and the
// pending merge of the bytes' two halves. Nothing may crash; no more lines
// may be read or counted than there are; every practice read writes a line
// that reads back the same; and merging what was merged once adds nothing.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exercise/PracticeSummary.h"
#include "persistence/PracticeHistory.h"

namespace {

void Check(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "%s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumeno;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const int64_t now = LocalSeconds(2030, 1, 1, 0, 0, 0);
  TPracticeHistory history;
  ReadPracticeLines(bytes, now, history);
  const size_t lines = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  Check(history.Records.size() + static_cast<size_t>(history.Damaged) <= lines, "more lines read than there are");
  for (const TPracticeRecord& record : history.Records) {
    const std::string line = FormatPracticeLine(record);
    const auto again = ParsePracticeLine(std::string_view(line).substr(0, line.size() - 2), now);
    Check(again && *again == record, "a practice read does not read back the same from its own line");
  }
  const TPracticeSummary summary = Summarize(history.Records, DayOf(now), static_cast<int>(size % 7));
  Check(summary.Practices == static_cast<int64_t>(history.Records.size()), "practices miscounted");
  Check(summary.CurrentRun <= summary.LongestRun, "the current run is longer than the longest");

  const std::string_view practice = bytes.substr(0, size / 2), pending = bytes.substr(size / 2);
  const std::string merged = PendingLinesToMerge(practice, pending);
  Check(PendingLinesToMerge(std::string(practice) + "\n" + merged, pending).empty(), "a merge adds lines twice");
  return 0;
}
