// The history file on disk: a file held open without write sharing sends the
// line to the pending file, a pending file held too keeps it in memory, and
// the next end merges all of it in order after a line a power cut left short.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "persistence/PracticeJournal_win.h"

namespace lumeno::test {
namespace {

std::string Contents(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<none>";
}

// As a spreadsheet holds a file: reading, and letting others only read.
HANDLE Hold(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(PracticeJournal, KeepsEveryLineThroughLockedFilesAndMergesThemOnceInOrder) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = temp + (L"lumeno-journal-\u0141\u00f3d\u017a-" + std::to_wstring(GetCurrentProcessId()));
  TPracticeJournal journal(root + L"\\Quorvale\\Lumeno");
  TPracticeRecord r{LocalSeconds(2024, 3, 5, 7, 30, 0), 60, 59999, 6, 30, 5, 60, 5, true};
  // Ends a practice an hour after the last; returns its line.
  auto end = [&] {
    r.StartLocalSeconds += 3600;
    r.ActiveMilliseconds = 60000;
    journal.PracticeEnded(r);
    return FormatPracticeLine(r);
  };
  journal.PracticeEnded(r);  // under a minute: not kept
  EXPECT_EQ(Contents(journal.FilePath()), "<none>");
  const std::string header = std::string(kPracticeHeader) + "\r\n", first = end();
  EXPECT_EQ(Contents(journal.FilePath()), header + first);

  HANDLE practice = Hold(journal.FilePath());
  const std::string second = end();
  EXPECT_EQ(Contents(journal.PendingPath()), header + second);
  HANDLE pending = Hold(journal.PendingPath());
  const std::string third = end();
  EXPECT_EQ(journal.Load(r.StartLocalSeconds).Waiting, 2);
  CloseHandle(pending);
  CloseHandle(practice);

  // A power cut left a line short; the next line starts on a line of its own.
  HANDLE append = CreateFileW(journal.FilePath().c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD written = 0;
  WriteFile(append, "2024-03-0", 9, &written, nullptr);
  CloseHandle(append);
  const std::string all = header + first + "2024-03-0\r\n" + second + third + end();
  EXPECT_EQ(Contents(journal.FilePath()), all);
  EXPECT_EQ(Contents(journal.PendingPath()), "<none>");

  // A copy anywhere else; never over the history itself.
  EXPECT_EQ(journal.Export(root + L"\\copy.csv"), 0u);
  EXPECT_EQ(Contents(root + L"\\copy.csv"), all);
  EXPECT_NE(journal.Export(journal.FilePath()), 0u);
  EXPECT_EQ(Contents(journal.FilePath()), all);
  for (const std::wstring& file : {journal.FilePath(), root + L"\\copy.csv"}) DeleteFileW(file.c_str());
  for (const wchar_t* folder : {L"\\Quorvale\\Lumeno", L"\\Quorvale", L""}) RemoveDirectoryW((root + folder).c_str());
}

}  // namespace
}  // namespace lumeno::test
