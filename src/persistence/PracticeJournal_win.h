// The practice history on disk. practice.csv (in %APPDATA%\Quorvale\Lumeno)
// is only ever appended to, a whole line per write, flushed at once; it is
// never rewritten, truncated or reordered. Lines that cannot go there (the
// file held open by a spreadsheet, read-only, no rights) go to
// practice-pending.csv beside it and are moved over, in order and once, the
// next time practice.csv can be written; lines that can go to neither wait in
// memory until the next practice ends or Lumeno closes. Nothing is read or
// made before it is needed, and no failure is ever shown in a box.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "exercise/PracticeRecord.h"
#include "persistence/PracticeHistory.h"

namespace lumeno {

// The locale's first day of the week: 0 Monday ... 6 Sunday.
int FirstDayOfWeek();

class TPracticeJournal final : public IPracticeLog {
 public:
  // folder: where the files live; empty: %APPDATA%\Quorvale\Lumeno.
  explicit TPracticeJournal(std::wstring folder = {});

  // Keeps a practice of a minute or more, with whatever still waits before it.
  void PracticeEnded(const TPracticeRecord& record) override;
  // Tries again to write what waits in memory (at closing).
  void WriteWaiting();

  struct TLoaded {
    // The file's practices, then those still waiting to be written.
    TPracticeHistory History;
    int64_t Waiting = 0;
    // The file is there but could not be read just now.
    bool Unreadable = false;
  };
  TLoaded Load(int64_t nowUtcSeconds) const;

  // Saves a copy of the history (the file as it is, then what waits) as
  // path; 0 or the error. The history's own files are refused, and so is a
  // history too big to be read whole.
  DWORD Export(const std::wstring& path) const;

  // The folder, made if it is missing; empty when there is none.
  std::wstring MakeFolder() const;
  // The two files' paths (empty without a folder).
  std::wstring FilePath() const { return InFolder(L"practice.csv"); }
  std::wstring PendingPath() const { return InFolder(L"practice-pending.csv"); }

  // Told after each practice kept (the history view shows it).
  std::function<void()> OnChanged;

 private:
  std::wstring InFolder(const wchar_t* name) const { return FFolder.empty() ? FFolder : FFolder + L"\\" + name; }
  bool AppendToHistory(const std::string& lines);
  // The lines waiting in the pending file (not yet in practice) and in memory.
  std::string WaitingLines(const std::string& practice) const;

  std::wstring FFolder;
  std::vector<std::string> FWaiting;
};

}  // namespace lumeno
