// Loading the practice history: 100 000 lines read and summarised, as the
// Practice window does when it opens (the goal: under 0.2 s).
#include <benchmark/benchmark.h>

#include <string>

#include "exercise/PracticeSummary.h"
#include "persistence/PracticeHistory.h"

namespace {

using namespace lumeno;

// Several practices a day, going back far enough for 100 000 of them.
std::string HundredThousandLines() {
  std::string bytes = std::string(kPracticeHeader) + "\r\n";
  TPracticeRecord r{LocalSeconds(1990, 1, 1, 7, 30, 0), 60, 600000, 60, 30, 5, 60, 5, true};
  for (int i = 0; i < 100000; ++i) {
    bytes += FormatPracticeLine(r);
    r.StartLocalSeconds += 3 * 3600 + 7;
    r.Complete = i % 3 != 0;
  }
  return bytes;
}

void BM_HistoryLoad(benchmark::State& state) {
  const std::string bytes = HundredThousandLines();
  const int64_t now = LocalSeconds(2030, 1, 1, 0, 0, 0);
  for (auto _ : state) {
    TPracticeHistory history;
    ReadPracticeLines(bytes, now, history);
    const TPracticeSummary summary = Summarize(history.Records, DayOf(now), 0);
    benchmark::DoNotOptimize(summary);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_HistoryLoad)->Unit(benchmark::kMillisecond);

}  // namespace
