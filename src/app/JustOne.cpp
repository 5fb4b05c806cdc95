#include "app/JustOne.h"

#include <vector>

namespace lumeno {

namespace {

struct TWindowSearch {
  const std::string* caption;
  DWORD ownProcess;
  HWND firstVisible;
  HWND firstHidden;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<TWindowSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process == search->ownProcess) return TRUE;
  // One character more than the caption: a longer text cannot pass as equal.
  const std::size_t capacity = search->caption->size() + 2;
  std::vector<char> text(capacity, '\0');
  const int length = GetWindowTextA(hwnd, text.data(), static_cast<int>(capacity));
  if (length < 0 || static_cast<std::size_t>(length) != search->caption->size() ||
      search->caption->compare(0, std::string::npos, text.data(), static_cast<std::size_t>(length)) != 0)
    return TRUE;
  if (IsWindowVisible(hwnd)) {
    search->firstVisible = hwnd;
    return FALSE;
  }
  if (!search->firstHidden) search->firstHidden = hwnd;
  return TRUE;
}

}  // namespace

HWND FindOtherInstanceWindow(const std::string& caption) {
  TWindowSearch search{&caption, GetCurrentProcessId(), nullptr, nullptr};
  EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.firstVisible ? search.firstVisible : search.firstHidden;
}

TXJustOne::TXJustOne(IGuardHost& host) : FHost(host) {}

TXJustOne::~TXJustOne() {
  if (FChecked && FMutexHandle) CloseHandle(FMutexHandle);
}

void TXJustOne::Loaded() {
  // A zero-terminated copy: the name ends at the first NUL, as the system sees it.
  const std::string title = FHost.Title().c_str();
  FChecked = false;
  FMutexHandle = CreateMutexA(nullptr, FALSE, title.c_str());
  const DWORD error = GetLastError();
  // A null handle (the name belongs to another kind of object, or access is
  // refused) counts as another instance too: better one window than two.
  if (error == ERROR_ALREADY_EXISTS || !FMutexHandle) {
    if (AlreadyExist) AlreadyExist(this);
    if (SwitchToPrevious) ActivatePrevious(title);
    FHost.SetShowMainForm(false);
    FHost.Terminate();
  }
  FChecked = true;
}

void TXJustOne::ActivatePrevious(const std::string& title) {
  // Our own application window carries the title too; clear it first, so a
  // third instance starting now cannot pick this one.
  if (HWND own = FHost.Handle()) SetWindowTextA(own, "");
  HWND previous = FindOtherInstanceWindow(title);
  if (!previous) return;
  if (IsIconic(previous))
    ShowWindow(previous, SW_RESTORE);
  else
    BringWindowToTop(previous);
  SetForegroundWindow(previous);
}

}  // namespace lumeno
