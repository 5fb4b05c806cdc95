#include "persistence/PracticeHistory.h"

#include <cstdio>
#include <cstring>
#include <unordered_set>

namespace lumeno {

namespace {

// Beyond these a line holds no practice: about two years of active time, and
// the largest phase the settings can hold.
constexpr int64_t kMostActiveTenthsOfMinutes = 10'000'000;
constexpr int64_t kLongestPhaseTenths = INT32_MAX;
constexpr int kFields = 8;

bool IsLeap(int64_t year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int DaysInMonth(int64_t year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Calls line(text) for every line of bytes, without its LF.
template <typename F>
void ForEachLine(std::string_view bytes, F line) {
  while (!bytes.empty()) {
    const void* end = std::memchr(bytes.data(), '\n', bytes.size());
    const size_t length = end ? static_cast<size_t>(static_cast<const char*>(end) - bytes.data()) : bytes.size();
    line(bytes.substr(0, length));
    bytes.remove_prefix(end ? length + 1 : length);
  }
}

std::string_view WithoutCr(std::string_view line) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  return line;
}

// A field as it is meant: a quoted one without its quotes. A doubled quote
// inside belongs to no field of a practice, so it makes the field unusable.
bool Unquote(std::string_view& field) {
  if (field.empty() || field.front() != '"') return field.find('"') == std::string_view::npos;
  if (field.size() < 2 || field.back() != '"') return false;
  field = field.substr(1, field.size() - 2);
  return field.find('"') == std::string_view::npos;
}

// Splits at commas outside quotes; false unless there are exactly kFields.
bool SplitFields(std::string_view line, std::string_view (&fields)[kFields]) {
  int count = 0;
  size_t start = 0;
  bool quoted = false;
  for (size_t i = 0; i <= line.size(); ++i) {
    if (i < line.size() && line[i] == '"') quoted = !quoted;
    if (i < line.size() && (quoted || line[i] != ',')) continue;
    if (count == kFields) return false;
    fields[count] = line.substr(start, i - start);
    if (!Unquote(fields[count])) return false;
    ++count;
    start = i + 1;
  }
  return count == kFields && !quoted;
}

bool Digits(std::string_view text, size_t at, size_t count, int& value) {
  if (text.size() < at + count) return false;
  value = 0;
  for (size_t i = at; i < at + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

bool AllDigits(std::string_view text) { return text.find_first_not_of("0123456789") == std::string_view::npos; }

// Up to 12 decimal digits, at most limit.
std::optional<int64_t> ParseCount(std::string_view text, int64_t limit) {
  if (text.empty() || text.size() > 12 || !AllDigits(text)) return std::nullopt;
  int64_t value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  if (value > limit) return std::nullopt;
  return value;
}

// "12", "12.5", "12.25" (a half rounded up) as tenths, at most limit.
std::optional<int64_t> ParseTenths(std::string_view text, int64_t limit) {
  const size_t point = text.find('.');
  const std::optional<int64_t> whole = ParseCount(text.substr(0, point), limit / 10);
  if (!whole) return std::nullopt;
  int64_t tenths = *whole * 10;
  if (point != std::string_view::npos) {
    const std::string_view fraction = text.substr(point + 1);
    if (fraction.empty() || !AllDigits(fraction)) return std::nullopt;
    tenths += (fraction[0] - '0') + (fraction.size() > 1 && fraction[1] >= '5');
  }
  if (tenths > limit) return std::nullopt;
  return tenths;
}

// "2024-03-05T07:30:00+01:00" (or "...Z").
bool ParseStart(std::string_view text, TPracticeRecord& record) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (text.size() < 20 || !Digits(text, 0, 4, year) || text[4] != '-' || !Digits(text, 5, 2, month) ||
      text[7] != '-' || !Digits(text, 8, 2, day) || text[10] != 'T' || !Digits(text, 11, 2, hour) ||
      text[13] != ':' || !Digits(text, 14, 2, minute) || text[16] != ':' || !Digits(text, 17, 2, second)) {
    return false;
  }
  if (year < 1970 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 ||
      minute > 59 || second > 59) {
    return false;
  }
  int offset = 0;
  const std::string_view zone = text.substr(19);
  if (zone != "Z") {
    int offsetHours = 0, offsetMinutes = 0;
    if (zone.size() != 6 || (zone[0] != '+' && zone[0] != '-') || !Digits(zone, 1, 2, offsetHours) ||
        zone[3] != ':' || !Digits(zone, 4, 2, offsetMinutes) || offsetMinutes > 59) {
      return false;
    }
    offset = offsetHours * 60 + offsetMinutes;
    if (offset > 18 * 60) return false;
    if (zone[0] == '-') offset = -offset;
  }
  record.StartLocalSeconds = LocalSeconds(year, month, day, hour, minute, second);
  record.UtcOffsetMinutes = offset;
  return true;
}

bool IsHeader(std::string_view line) {
  std::string_view first = line.substr(0, line.find(','));
  return Unquote(first) && first == "Start";
}

void AppendTenths(std::string& out, int64_t tenths) {
  if (tenths < 0) tenths = 0;
  out += std::to_string(tenths / 10);
  out += '.';
  out += static_cast<char>('0' + tenths % 10);
}

}  // namespace

std::string FormatPracticeLine(const TPracticeRecord& r) {
  const int64_t day = DayOf(r.StartLocalSeconds);
  const int64_t secondOfDay = r.StartLocalSeconds - day * 86400;
  const TCivilDate date = DateOfDay(day);
  const int64_t offset = r.UtcOffsetMinutes;
  const int64_t offsetSize = offset < 0 ? -offset : offset;
  char start[64];
  std::snprintf(start, sizeof start, "%04lld-%02d-%02dT%02d:%02d:%02d%c%02lld:%02lld",
                static_cast<long long>(date.Year), date.Month, date.Day, static_cast<int>(secondOfDay / 3600),
                static_cast<int>(secondOfDay / 60 % 60), static_cast<int>(secondOfDay % 60), offset < 0 ? '-' : '+',
                static_cast<long long>(offsetSize / 60), static_cast<long long>(offsetSize % 60));
  std::string line = start;
  line += ',';
  const int64_t ms = r.ActiveMilliseconds < 0 ? 0 : r.ActiveMilliseconds;
  AppendTenths(line, ms / 6000 + (ms % 6000 >= 3000));
  line += ',';
  line += std::to_string(r.Breaths < 0 ? 0 : r.Breaths);
  for (int32_t phase : {r.BreathIn, r.HoldOut, r.BreathOut, r.HoldIn}) {
    line += ',';
    AppendTenths(line, phase);
  }
  line += r.Complete ? ",complete\r\n" : ",stopped\r\n";
  return line;
}

std::optional<TPracticeRecord> ParsePracticeLine(std::string_view line, int64_t nowUtcSeconds) {
  std::string_view f[kFields];
  TPracticeRecord r;
  if (!SplitFields(line, f) || !ParseStart(f[0], r)) return std::nullopt;
  if (r.StartLocalSeconds - int64_t{r.UtcOffsetMinutes} * 60 > nowUtcSeconds) return std::nullopt;
  const auto minutes = ParseTenths(f[1], kMostActiveTenthsOfMinutes);
  const auto breaths = ParseCount(f[2], INT32_MAX);
  if (!minutes || !breaths) return std::nullopt;
  r.ActiveMilliseconds = *minutes * 6000;
  r.Breaths = static_cast<int32_t>(*breaths);
  int32_t* phases[] = {&r.BreathIn, &r.HoldOut, &r.BreathOut, &r.HoldIn};
  for (int i = 0; i < 4; ++i) {
    const auto tenths = ParseTenths(f[3 + i], kLongestPhaseTenths);
    if (!tenths) return std::nullopt;
    *phases[i] = static_cast<int32_t>(*tenths);
  }
  if (f[7] != "complete" && f[7] != "stopped") return std::nullopt;
  r.Complete = f[7] == "complete";
  return r;
}

void ReadPracticeLines(std::string_view bytes, int64_t nowUtcSeconds, TPracticeHistory& history) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  ForEachLine(bytes, [&](std::string_view line) {
    if (line.size() > kLongestPracticeLine) {
      ++history.Damaged;
      return;
    }
    line = WithoutCr(line);
    if (line.empty() || IsHeader(line)) return;
    if (auto record = ParsePracticeLine(line, nowUtcSeconds)) {
      history.Records.push_back(*record);
    } else {
      ++history.Damaged;
    }
  });
}

std::string PendingLinesToMerge(std::string_view practice, std::string_view pending) {
  std::unordered_set<std::string_view> present;
  ForEachLine(practice, [&](std::string_view line) { present.insert(WithoutCr(line)); });
  std::string merged;
  ForEachLine(pending, [&](std::string_view line) {
    line = WithoutCr(line);
    if (line.empty() || IsHeader(line) || !present.insert(line).second) return;
    merged.append(line);
    merged += "\r\n";
  });
  return merged;
}

}  // namespace lumeno
