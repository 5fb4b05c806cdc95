#include "persistence/PracticeJournal_win.h"

#include <algorithm>

#include "base/WinHandles.h"

namespace lumeno {

namespace {

// Append-only: with FILE_APPEND_DATA and no FILE_WRITE_DATA every write goes
// to the end, whatever the file pointer says. Reading is for the last byte.
constexpr DWORD kAppendAccess = FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// Nothing Lumeno wrote comes near this; of a bigger file only its end is read.
constexpr int64_t kMostBytesRead = 64 << 20;

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

TUniqueKernelHandle Open(const std::wstring& path, DWORD access, DWORD share, DWORD disposition) {
  return TUniqueKernelHandle(
      CreateFileW(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool ReadAt(HANDLE file, int64_t offset, char* into, DWORD size) {
  OVERLAPPED at{};
  at.Offset = static_cast<DWORD>(offset);
  at.OffsetHigh = static_cast<DWORD>(offset >> 32);
  DWORD read = 0;
  return ReadFile(file, into, size, &read, &at) && read == size;
}

// The file's bytes, or of a bigger one its last kMostBytesRead from the first
// line that starts there (cut tells).
bool ReadTail(HANDLE file, std::string& bytes, bool* cut = nullptr) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return false;
  const int64_t start = std::max<int64_t>(0, size.QuadPart - kMostBytesRead);
  bytes.resize(static_cast<size_t>(size.QuadPart - start));
  for (size_t done = 0; done < bytes.size();) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 24));
    if (!ReadAt(file, start + static_cast<int64_t>(done), bytes.data() + done, chunk)) return false;
    done += chunk;
  }
  const size_t firstBreak = bytes.find('\n');
  if (start > 0) bytes.erase(0, firstBreak == std::string::npos ? bytes.size() : firstBreak + 1);
  if (cut) *cut = start > 0;
  return true;
}

// What precedes new lines: the header in a new file, a line break after a
// last line that lacks one (a write cut short by a power cut).
bool Lead(HANDLE file, std::string& text) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return false;
  char last = '\n';
  if (size.QuadPart == 0) {
    text = std::string(kPracticeHeader) + "\r\n";
  } else if (!ReadAt(file, size.QuadPart - 1, &last, 1)) {
    return false;
  } else if (last != '\n') {
    text = "\r\n";
  }
  return true;
}

// One write, then to the disk.
bool WriteWhole(HANDLE file, const std::string& text) {
  DWORD written = 0;
  return text.size() <= MAXDWORD &&
         WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
         written == text.size() && FlushFileBuffers(file);
}

bool AppendTo(const std::wstring& path, const std::string& lines) {
  TUniqueKernelHandle file = Open(path, kAppendAccess, FILE_SHARE_READ, OPEN_ALWAYS);
  std::string text;
  return file && Lead(file.get(), text) && WriteWhole(file.get(), text + lines);
}

std::string ReadIfThere(const std::wstring& path, bool& unreadable, bool* cut = nullptr) {
  std::string bytes;
  TUniqueKernelHandle file = Open(path, GENERIC_READ, kShareAll, OPEN_EXISTING);
  const DWORD error = file ? ERROR_SUCCESS : GetLastError();
  if (file ? !ReadTail(file.get(), bytes, cut) : error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
    unreadable = true;
  }
  return bytes;
}

bool SameFile(const std::wstring& a, const std::wstring& b) {
  TUniqueKernelHandle first = Open(a, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING);
  TUniqueKernelHandle second = Open(b, FILE_READ_ATTRIBUTES, kShareAll, OPEN_EXISTING);
  BY_HANDLE_FILE_INFORMATION x{}, y{};
  return first && second && GetFileInformationByHandle(first.get(), &x) &&
         GetFileInformationByHandle(second.get(), &y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
         x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
}

}  // namespace

int FirstDayOfWeek() {
  wchar_t day[4] = {};
  const bool read = GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IFIRSTDAYOFWEEK, day, 4) > 0;
  return read && day[0] >= L'0' && day[0] <= L'6' ? day[0] - L'0' : 0;
}

TPracticeJournal::TPracticeJournal(std::wstring folder) : FFolder(std::move(folder)) {
  if (!FFolder.empty()) return;
  wchar_t appData[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
  if (length > 0 && length < MAX_PATH) FFolder = std::wstring(appData) + L"\\Quorvale\\Lumeno";
}

std::wstring TPracticeJournal::MakeFolder() const {
  if (FFolder.empty()) return {};
  // Each missing folder on the way, the root's drive or share aside.
  for (size_t at = FFolder.find(L'\\', 3); at != std::wstring::npos; at = FFolder.find(L'\\', at + 1)) {
    CreateDirectoryW(FFolder.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryW(FFolder.c_str(), nullptr);
  const DWORD attributes = GetFileAttributesW(FFolder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? FFolder : std::wstring();
}

void TPracticeJournal::PracticeEnded(const TPracticeRecord& record) {
  if (record.ActiveMilliseconds < kShortestPracticeMilliseconds) return;
  FWaiting.push_back(FormatPracticeLine(record));
  WriteWaiting();
  if (OnChanged) OnChanged();
}

void TPracticeJournal::WriteWaiting() {
  if (FWaiting.empty() || MakeFolder().empty()) return;
  std::string lines;
  for (const std::string& line : FWaiting) lines += line;
  if (AppendToHistory(lines) || AppendTo(PendingPath(), lines)) FWaiting.clear();
}

bool TPracticeJournal::AppendToHistory(const std::string& lines) {
  TUniqueKernelHandle file = Open(FilePath(), kAppendAccess, FILE_SHARE_READ, OPEN_ALWAYS);
  std::string text;
  if (!file || !Lead(file.get(), text)) return false;
  TUniqueKernelHandle pending;
  if (Exists(PendingPath())) {
    // Held without sharing from reading to removal. If it cannot be read,
    // these lines go after it rather than ahead of it.
    pending = Open(PendingPath(), GENERIC_READ | DELETE, 0, OPEN_EXISTING);
    std::string practice, waiting;
    if (!pending || !ReadTail(pending.get(), waiting) || !ReadTail(file.get(), practice)) return false;
    text += PendingLinesToMerge(practice, waiting);
  }
  if (!WriteWhole(file.get(), text + lines)) return false;
  if (pending) {
    // Should this fail, the next merge finds these lines written already.
    FILE_DISPOSITION_INFO remove{TRUE};
    SetFileInformationByHandle(pending.get(), FileDispositionInfo, &remove, sizeof remove);
  }
  return true;
}

std::string TPracticeJournal::WaitingLines(const std::string& practice) const {
  bool unreadable = false;
  std::string lines = PendingLinesToMerge(practice, ReadIfThere(PendingPath(), unreadable));
  for (const std::string& line : FWaiting) lines += line;
  return lines;
}

TPracticeJournal::TLoaded TPracticeJournal::Load(int64_t nowUtcSeconds) const {
  TLoaded loaded;
  // Without a folder nothing can be read (what waits in memory is still shown).
  loaded.Unreadable = FFolder.empty();
  bool cut = false;
  const std::string practice = ReadIfThere(FilePath(), loaded.Unreadable, &cut);
  ReadPracticeLines(practice, nowUtcSeconds, loaded.History);
  // The start of an oversized file, unread.
  if (cut) ++loaded.History.Damaged;
  const size_t before = loaded.History.Records.size();
  const int64_t damagedBefore = loaded.History.Damaged;
  ReadPracticeLines(WaitingLines(practice), nowUtcSeconds, loaded.History);
  loaded.Waiting = static_cast<int64_t>(loaded.History.Records.size() - before) +
                   (loaded.History.Damaged - damagedBefore);
  return loaded;
}

DWORD TPracticeJournal::Export(const std::wstring& path) const {
  if (SameFile(path, FilePath()) || SameFile(path, PendingPath())) return ERROR_ACCESS_DENIED;
  bool unreadable = false, cut = false;
  std::string text = ReadIfThere(FilePath(), unreadable, &cut);
  if (unreadable) return ERROR_SHARING_VIOLATION;
  // Only the end of an oversized history was read: no copy rather than half of one.
  if (cut) return ERROR_FILE_TOO_LARGE;
  if (text.empty()) text = std::string(kPracticeHeader) + "\r\n";
  if (text.back() != '\n') text += "\r\n";
  text += WaitingLines(text);
  TUniqueKernelHandle file = Open(path, GENERIC_WRITE, 0, CREATE_ALWAYS);
  if (!file) return GetLastError();
  return WriteWhole(file.get(), text) ? ERROR_SUCCESS : GetLastError();
}

}  // namespace lumeno
