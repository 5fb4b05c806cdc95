// The history reader over any bytes, then the summary of what it read and the
// pending merge of the bytes' two halves. Nothing may crash; no more lines
// may be read or counted than there are; every practice read writes a line
// that reads back the same; and merging what was merged once adds nothing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exercise/PracticeSummary.h"
#include "persistence/PracticeHistory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace lumeno;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const int64_t now = LocalSeconds(2030, 1, 1, 0, 0, 0);
  TPracticeHistory history;
  ReadPracticeLines(bytes, now, history);
  const size_t lines = static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
  if (history.Records.size() + static_cast<size_t>(history.Damaged) > lines) std::abort();
  for (const TPracticeRecord& record : history.Records) {
    const std::string line = FormatPracticeLine(record);
    const auto again = ParsePracticeLine(std::string_view(line).substr(0, line.size() - 2), now);
    if (!again || !(*again == record)) std::abort();
  }
  const TPracticeSummary summary = Summarize(history.Records, DayOf(now), static_cast<int>(size % 7));
  if (summary.Practices != static_cast<int64_t>(history.Records.size()) || summary.CurrentRun > summary.LongestRun)
    std::abort();
  const std::string_view practice = bytes.substr(0, size / 2), pending = bytes.substr(size / 2);
  const std::string merged = PendingLinesToMerge(practice, pending);
  if (!PendingLinesToMerge(std::string(practice) + "\n" + merged, pending).empty()) std::abort();
  return 0;
}
