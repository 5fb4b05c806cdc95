// The history file on disk: a file held open without write sharing sends the
// line to the pending file, a pending file held too keeps it in memory, and
// the next end merges all of it in order after a line a power cut left short.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "persistence/PracticeHistory.h"
#include "persistence/PracticeJournal_win.h"

namespace lumeno::test {
namespace {

std::string Contents(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr);
  std::string bytes(1 << 16, '\0');
  DWORD read = 0;
  if (file == INVALID_HANDLE_VALUE) return "<none>";
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  return bytes.substr(0, read);
}

// Held as a spreadsheet holds a file: reading, and letting others only read.
HANDLE Hold(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
}

TEST(PracticeJournal, KeepsEveryLineThroughLockedFilesAndMergesThemOnceInOrder) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring root = std::wstring(temp) + L"lumeno-journal-\u0141\u00f3d\u017a-" + std::to_wstring(GetCurrentProcessId());
  TPracticeJournal journal(root + L"\\Quorvale\\Lumeno");
  TPracticeRecord r{LocalSeconds(2024, 3, 5, 7, 30, 0), 60, 60000, 6, 30, 5, 60, 5, true};
  std::string lines[4];
  for (std::string& line : lines) {
    line = FormatPracticeLine(r);
    r.StartLocalSeconds += 3600;
  }
  const int64_t now = r.StartLocalSeconds;
  const std::string header = std::string(kPracticeHeader) + "\r\n";
  int changes = 0;
  journal.OnChanged = [&] { ++changes; };

  journal.PracticeEnded({r.StartLocalSeconds, 0, 59999});  // under a minute: not kept
  EXPECT_EQ(Contents(journal.FilePath()), "<none>");
  r.StartLocalSeconds = LocalSeconds(2024, 3, 5, 7, 30, 0);
  journal.PracticeEnded(r);
  EXPECT_EQ(Contents(journal.FilePath()), header + lines[0]);

  HANDLE practice = Hold(journal.FilePath());
  r.StartLocalSeconds += 3600;
  journal.PracticeEnded(r);
  EXPECT_EQ(Contents(journal.FilePath()), header + lines[0]);
  EXPECT_EQ(Contents(journal.PendingPath()), header + lines[1]);
  HANDLE pending = Hold(journal.PendingPath());
  r.StartLocalSeconds += 3600;
  journal.PracticeEnded(r);
  TPracticeJournal::TLoaded loaded = journal.Load(now);
  EXPECT_EQ(loaded.History.Records.size(), 3u);
  EXPECT_EQ(loaded.Waiting, 2);
  CloseHandle(pending);
  CloseHandle(practice);

  // A power cut left a line short; the next line starts on a line of its own.
  HANDLE append = CreateFileW(journal.FilePath().c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  DWORD written = 0;
  WriteFile(append, "2024-03-0", 9, &written, nullptr);
  CloseHandle(append);
  r.StartLocalSeconds += 3600;
  journal.PracticeEnded(r);
  const std::string all = header + lines[0] + "2024-03-0\r\n" + lines[1] + lines[2] + lines[3];
  EXPECT_EQ(Contents(journal.FilePath()), all);
  EXPECT_EQ(Contents(journal.PendingPath()), "<none>");
  EXPECT_EQ(changes, 4);
  loaded = journal.Load(now);
  EXPECT_EQ(loaded.History.Records.size(), 4u);
  EXPECT_EQ(loaded.History.Damaged, 1);
  EXPECT_EQ(loaded.Waiting, 0);

  // A copy anywhere else; never over the history itself.
  EXPECT_EQ(journal.Export(root + L"\\copy.csv"), 0u);
  EXPECT_EQ(Contents(root + L"\\copy.csv"), all);
  EXPECT_NE(journal.Export(journal.FilePath()), 0u);
  EXPECT_EQ(Contents(journal.FilePath()), all);

  for (const std::wstring& file : {journal.FilePath(), root + L"\\copy.csv"}) DeleteFileW(file.c_str());
  for (const std::wstring& folder : {root + L"\\Quorvale\\Lumeno", root + L"\\Quorvale", root})
    RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace lumeno::test
