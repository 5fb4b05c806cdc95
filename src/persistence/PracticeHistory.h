// The practice history as text: one CSV line per practice (RFC 4180, UTF-8,
// the decimal point), a reader that takes any bytes and skips and counts the
// lines it cannot use without ever stopping at them, and the merge of lines
// that had to wait in the pending file. No file access here: the Win32 side
// hands in bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exercise/PracticeRecord.h"
#include "exercise/PracticeSummary.h"

namespace lumeno {

// The first line of a new file.
inline constexpr std::string_view kPracticeHeader =
    "Start,Active minutes,Breaths,Breath in (s),Hold out (s),Breath out (s),Hold in (s),End";

// Practices with less active time are not kept.
inline constexpr int64_t kShortestPracticeMilliseconds = 60000;

// Lines longer than this are not practices; the reader skips them unread.
inline constexpr size_t kLongestPracticeLine = 512;

// The record's line, ending in CRLF: "2024-03-05T07:30:00+01:00,10.0,60,3.0,0.5,6.0,0.5,complete".
// Minutes and seconds have one decimal, a half rounded up; a negative count
// or phase is written as 0.
std::string FormatPracticeLine(const TPracticeRecord& record);

// One line without its break. Nothing when it is not eight fields (each may
// be quoted) of the forms above, when a number is negative or beyond what a
// practice can hold, when the date does not exist, or when the start is later
// than nowUtcSeconds (seconds since 1970 UTC).
std::optional<TPracticeRecord> ParsePracticeLine(std::string_view line, int64_t nowUtcSeconds);

struct TPracticeHistory {
  // In the order of the lines.
  std::vector<TPracticeRecord> Records;
  // Lines skipped because they could not be read.
  int64_t Damaged = 0;
};

// Reads the lines of bytes (LF or CRLF; a UTF-8 byte order mark at the start,
// empty lines and header lines are passed over) into history, adding to what
// it holds. Any bytes at all: what does not parse is counted and skipped.
void ReadPracticeLines(std::string_view bytes, int64_t nowUtcSeconds, TPracticeHistory& history);

// What the pending file's lines add to the history file: each line of pending
// that practice does not already hold, in pending's order, ending in CRLF
// (empty and header lines dropped). A merge cut short after its write, before
// the pending file was removed, is therefore not written twice.
std::string PendingLinesToMerge(std::string_view practice, std::string_view pending);

}  // namespace lumeno
