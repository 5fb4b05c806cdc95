// The single-instance guard across two real processes: this test executable
// starts itself again as a stand-in for a running Lumeno (it holds the mutex
// and shows a window under the title) and plays the starting instance itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <string>

#include "app/JustOne.h"
#include "base/WinHandles.h"

namespace lumeno {
namespace {

constexpr char kHolderFlag[] = "--justone-holder=";
constexpr char kWindowClass[] = "LumenoJustOneTestWindow";

void RegisterTestClass() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kWindowClass;
  RegisterClassA(&wc);
}

HWND CreateTopLevel(const std::string& caption, bool visible) {
  HWND hwnd = CreateWindowExA(0, kWindowClass, caption.c_str(), WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                              nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (hwnd && visible) ShowWindow(hwnd, SW_SHOWNORMAL);
  return hwnd;
}

void PumpFor(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(5);
  } while (GetTickCount64() < end);
}

// The stand-in for a running instance: the mutex, a hidden application window
// and a main window under the title, shown normally or minimised ("min").
// It ends when the parent sets <title>-quit, or after a minute at most.
int RunHolder(const std::string& spec) {
  const std::size_t bar = spec.find('|');
  const std::string title = spec.substr(0, bar);
  const bool minimised = bar != std::string::npos && spec.substr(bar + 1) == "min";
  TUniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, title.c_str()));
  if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) return 3;
  RegisterTestClass();
  HWND application = CreateTopLevel(title, false);
  HWND main = CreateTopLevel(title, true);
  if (!application || !main) return 4;
  if (minimised) ShowWindow(main, SW_MINIMIZE);
  PumpFor(50);
  TUniqueKernelHandle ready(OpenEventA(EVENT_MODIFY_STATE, FALSE, (title + "-ready").c_str()));
  TUniqueKernelHandle quit(OpenEventA(SYNCHRONIZE, FALSE, (title + "-quit").c_str()));
  if (!ready || !quit) return 5;
  SetEvent(ready.get());
  const ULONGLONG end = GetTickCount64() + 60000;
  HANDLE waitOn = quit.get();
  while (GetTickCount64() < end) {
    if (MsgWaitForMultipleObjects(1, &waitOn, FALSE, 100, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  }
  DestroyWindow(main);
  DestroyWindow(application);
  return 0;
}

// Runs before the tests: the re-launched executable plays the holder only.
[[maybe_unused]] const bool kIsHolder = [] {
  const std::string line = GetCommandLineA();
  const std::size_t at = line.find(kHolderFlag);
  if (at == std::string::npos) return false;
  ExitProcess(static_cast<UINT>(RunHolder(line.substr(at + sizeof(kHolderFlag) - 1))));
}();

std::string UniqueTitle() {
  static std::atomic<int> counter{0};
  return "LumenoTest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount64()) + "-" +
         std::to_string(++counter);
}

class THolderProcess {
 public:
  ~THolderProcess() { Stop(); }

  bool Start(const std::string& title, bool minimised) {
    title_ = title;
    ready_.reset(CreateEventA(nullptr, TRUE, FALSE, (title + "-ready").c_str()));
    quit_.reset(CreateEventA(nullptr, TRUE, FALSE, (title + "-quit").c_str()));
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string command = "\"" + std::string(self) + "\" " + kHolderFlag + title + (minimised ? "|min" : "|normal");
    STARTUPINFOA si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return false;
    CloseHandle(pi.hThread);
    process_.reset(pi.hProcess);
    processId_ = pi.dwProcessId;
    HANDLE both[2] = {ready_.get(), process_.get()};
    return WaitForMultipleObjects(2, both, FALSE, 20000) == WAIT_OBJECT_0;
  }

  // The holder's main window: its visible window under the title.
  HWND MainWindow() const {
    struct TFind {
      DWORD pid;
      const std::string* title;
      HWND found;
    } find{processId_, &title_, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
          auto* f = reinterpret_cast<TFind*>(param);
          DWORD pid = 0;
          GetWindowThreadProcessId(hwnd, &pid);
          char text[256] = {};
          GetWindowTextA(hwnd, text, sizeof(text));
          if (pid != f->pid || !IsWindowVisible(hwnd) || *f->title != text) return TRUE;
          f->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&find));
    return find.found;
  }

  // Lets the holder end by itself; true once it has.
  bool Stop() {
    if (!process_) return true;
    SetEvent(quit_.get());
    const bool ended = WaitForSingleObject(process_.get(), 10000) == WAIT_OBJECT_0;
    if (!ended) TerminateProcess(process_.get(), 1);
    process_.reset();
    return ended;
  }

 private:
  std::string title_;
  TUniqueKernelHandle ready_, quit_, process_;
  DWORD processId_ = 0;
};

// The application object as the guard sees it, with its own hidden
// application window under the title.
class TFakeHost : public IGuardHost {
 public:
  explicit TFakeHost(std::string title) : title_(std::move(title)) {
    RegisterTestClass();
    window_ = CreateTopLevel(title_, false);
  }
  ~TFakeHost() override { DestroyWindow(window_); }
  std::string Title() const override { return title_; }
  HWND Handle() const override { return window_; }
  void SetShowMainForm(bool show) override { showMainForm = show; }
  void Terminate() override { ++terminateRequests; }

  std::string Caption() const {
    char text[256] = {};
    GetWindowTextA(window_, text, sizeof(text));
    return text;
  }

  bool showMainForm = true;
  int terminateRequests = 0;

 private:
  std::string title_;
  HWND window_ = nullptr;
};

class JustOneTest : public ::testing::Test {
 protected:
  // Starts the running instance and finds its main window.
  void StartFirst(bool minimised) {
    ASSERT_TRUE(first.Start(title, minimised));
    previous = first.MainWindow();
    ASSERT_NE(previous, nullptr);
    ASSERT_EQ(IsIconic(previous) != FALSE, minimised);
  }

  const std::string title = UniqueTitle();
  THolderProcess first;
  HWND previous = nullptr;
};

TEST_F(JustOneTest, FirstStartKeepsTheMutexUntilDestroyed) {
  TFakeHost host(title);
  int events = 0;
  {
    TXJustOne guard(host);
    EXPECT_TRUE(guard.SwitchToPrevious);
    EXPECT_FALSE(guard.Checked());
    guard.AlreadyExist = [&](TXJustOne*) { ++events; };
    guard.Loaded();
    EXPECT_TRUE(guard.Checked());
    EXPECT_NE(guard.MutexHandle(), nullptr);
    EXPECT_EQ(events, 0);
    EXPECT_TRUE(host.showMainForm);
    EXPECT_EQ(host.terminateRequests, 0);
    EXPECT_EQ(host.Caption(), title);

    // While it lives, the name is taken.
    TUniqueKernelHandle probe(CreateMutexA(nullptr, FALSE, title.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  }
  // The destructor closed the handle: the next start is a first start again.
  TXJustOne next(host);
  next.Loaded();
  EXPECT_EQ(host.terminateRequests, 0);
  EXPECT_TRUE(host.showMainForm);
}

TEST_F(JustOneTest, SecondStartRestoresTheMinimisedFirstAndEnds) {
  StartFirst(true);

  TFakeHost host(title);
  // Our own windows carry the title too, one of them visible and on top;
  // the guard must still pick the other process's window.
  HWND ownVisible = CreateTopLevel(title, true);
  PumpFor(50);
  TXJustOne guard(host);
  guard.Loaded();
  PumpFor(200);

  EXPECT_FALSE(IsIconic(previous));
  EXPECT_EQ(GetForegroundWindow(), previous);
  EXPECT_FALSE(host.showMainForm);
  EXPECT_EQ(host.terminateRequests, 1);
  EXPECT_EQ(host.Caption(), "");
  EXPECT_TRUE(guard.Checked());
  DestroyWindow(ownVisible);
}

TEST_F(JustOneTest, SecondStartRaisesTheOpenFirst) {
  StartFirst(false);
  // Something else of ours in front of it.
  RegisterTestClass();
  HWND cover = CreateTopLevel("Cover", true);
  SetForegroundWindow(cover);
  PumpFor(100);
  ASSERT_NE(GetForegroundWindow(), previous);

  TFakeHost host(title);
  TXJustOne guard(host);
  guard.Loaded();
  PumpFor(200);

  EXPECT_FALSE(IsIconic(previous));
  EXPECT_EQ(GetForegroundWindow(), previous);
  EXPECT_EQ(host.terminateRequests, 1);
  DestroyWindow(cover);
}

TEST_F(JustOneTest, WithoutSwitchToPreviousNoWindowIsTouched) {
  StartFirst(true);

  TFakeHost host(title);
  TXJustOne guard(host);
  guard.SwitchToPrevious = false;
  int events = 0;
  guard.AlreadyExist = [&](TXJustOne*) { ++events; };
  guard.Loaded();
  PumpFor(200);

  EXPECT_EQ(events, 1);
  EXPECT_TRUE(IsIconic(previous));
  EXPECT_EQ(host.Caption(), title);
  EXPECT_FALSE(host.showMainForm);
  EXPECT_EQ(host.terminateRequests, 1);
}

TEST_F(JustOneTest, AlreadyExistComesOnceBeforeAnyWindowIsTouched) {
  StartFirst(true);

  TFakeHost host(title);
  TXJustOne guard(host);
  int events = 0;
  TXJustOne* sender = nullptr;
  guard.AlreadyExist = [&](TXJustOne* s) {
    ++events;
    sender = s;
    EXPECT_EQ(host.Caption(), title);
    EXPECT_TRUE(IsIconic(previous));
    EXPECT_TRUE(host.showMainForm);
    EXPECT_EQ(host.terminateRequests, 0);
  };
  guard.Loaded();
  EXPECT_EQ(events, 1);
  EXPECT_EQ(sender, &guard);
  EXPECT_EQ(host.terminateRequests, 1);
}

TEST_F(JustOneTest, AfterTheFirstEndsTheNextStartIsAFirstStart) {
  StartFirst(false);
  {
    TFakeHost second(title);
    TXJustOne guard(second);
    guard.Loaded();
    EXPECT_EQ(second.terminateRequests, 1);
  }
  ASSERT_TRUE(first.Stop());

  TFakeHost third(title);
  TXJustOne guard(third);
  guard.Loaded();
  EXPECT_EQ(third.terminateRequests, 0);
  EXPECT_TRUE(third.showMainForm);
  EXPECT_EQ(third.Caption(), title);
}

TEST_F(JustOneTest, NameTakenByAnotherKindOfObjectCountsAsAnotherInstance) {
  TUniqueKernelHandle event(CreateEventA(nullptr, TRUE, FALSE, title.c_str()));
  ASSERT_TRUE(event);
  TFakeHost host(title);
  int events = 0;
  {
    TXJustOne guard(host);
    guard.AlreadyExist = [&](TXJustOne*) { ++events; };
    guard.Loaded();
    EXPECT_EQ(guard.MutexHandle(), nullptr);
    EXPECT_TRUE(guard.Checked());
  }  // nothing to close
  EXPECT_EQ(events, 1);
  EXPECT_FALSE(host.showMainForm);
  EXPECT_EQ(host.terminateRequests, 1);
}

TEST_F(JustOneTest, SearchSkipsOurOwnWindowsAndPrefersAVisibleOne) {
  RegisterTestClass();
  HWND own = CreateTopLevel(title, true);
  EXPECT_EQ(FindOtherInstanceWindow(title), nullptr);
  StartFirst(false);
  // The holder also has a hidden application window under the title; the
  // visible main window is the one to bring forward.
  EXPECT_EQ(FindOtherInstanceWindow(title), previous);
  EXPECT_EQ(FindOtherInstanceWindow(title + "x"), nullptr);
  EXPECT_EQ(FindOtherInstanceWindow(title.substr(0, title.size() - 1)), nullptr);
  // Captions compare case by case, as mutex names do: under another case of
  // the title runs another program.
  std::string upper = title;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  ASSERT_NE(upper, title);
  EXPECT_EQ(FindOtherInstanceWindow(upper), nullptr);
  DestroyWindow(own);
}

}  // namespace
}  // namespace lumeno
