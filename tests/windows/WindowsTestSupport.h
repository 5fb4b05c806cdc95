// Shared by the window tests: Lumeno's four windows created the way start-up
// creates them, on an in-memory registry, a clock the test moves by hand and a
// sound that only records; helpers to pump messages and to act while a modal
// window runs its own loop.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/Application.h"
#include "controls/Accessible_win.h"
#include "persistence/FakeRegistry.h"
#include "windows/LumenoProgram.h"

namespace lumeno::test {

// One count per millisecond; every read is logged.
class TManualClock final : public IClock {
 public:
  explicit TManualClock(std::vector<std::string>& events) : FEvents(events) {}
  int64_t Counter() override {
    ++Reads;
    return Now;
  }
  int64_t Frequency() override {
    FEvents.push_back("frequency");
    return 1000;
  }
  int64_t Now = 0;
  int Reads = 0;

 private:
  std::vector<std::string>& FEvents;
};

class TRecordingSound final : public ISound {
 public:
  explicit TRecordingSound(std::vector<std::string>& events) : FEvents(events) {}
  void Start(const char* fileName) override { FEvents.push_back(std::string("start ") + fileName); }
  void Stop() override { FEvents.push_back("stop"); }
  void PlayOnce(const char* fileName) override { FEvents.push_back(std::string("once ") + fileName); }

 private:
  std::vector<std::string>& FEvents;
};

// What Lumeno asks of the taskbar button.
class TRecordingTaskbar final : public ITaskbarButton {
 public:
  void ButtonCreated(HWND owner) override { Calls.push_back(owner == Application().Handle() ? "created" : "?"); }
  void SetProgress(TProgress state, uint64_t done, uint64_t total) override {
    const char* name = state == TProgress::None ? "none " : state == TProgress::Normal ? "normal " : "paused ";
    Calls.push_back("progress " + (name + std::to_string(done)) + "/" + std::to_string(total));
  }
  void SetThumbButton(bool pauseSign, const wchar_t* tip) override {
    Calls.push_back(std::string(pauseSign ? "thumb || " : "thumb > ") + Narrow(tip));
  }
  std::vector<std::string> Calls;
};

struct TRecordingLog final : IPracticeLog {
  void PracticeEnded(const TPracticeRecord& record) override { Records.push_back(record); }
  std::vector<TPracticeRecord> Records;
};

// An object as a screen reader gets it from a window.
class TAccessibleOf {
 public:
  explicit TAccessibleOf(HWND hwnd) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), kIidIAccessible,
                               reinterpret_cast<void**>(&FAcc));
  }
  ~TAccessibleOf() {
    if (FAcc) FAcc->Release();
  }
  bool Found() const { return FAcc != nullptr; }
  long Role() const {
    VARIANT v{};
    if (!FAcc || FAILED(FAcc->get_accRole(Self(), &v)) || v.vt != VT_I4) return -1;
    return v.lVal;
  }
  long State() const {
    VARIANT v{};
    if (!FAcc || FAILED(FAcc->get_accState(Self(), &v)) || v.vt != VT_I4) return 0;
    return v.lVal;
  }
  std::wstring Name() const { return Text(&IAccessible::get_accName); }
  std::wstring Value() const { return Text(&IAccessible::get_accValue); }
  std::wstring DefaultAction() const { return Text(&IAccessible::get_accDefaultAction); }
  HRESULT DoDefaultAction() const { return FAcc ? FAcc->accDoDefaultAction(Self()) : E_FAIL; }

 private:
  static VARIANT Self() {
    VARIANT v{};
    v.vt = VT_I4;
    v.lVal = CHILDID_SELF;
    return v;
  }
  std::wstring Text(HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) const {
    BSTR text = nullptr;
    if (!FAcc || FAILED((FAcc->*get)(Self(), &text)) || !text) return L"<none>";
    std::wstring result(text, SysStringLen(text));
    SysFreeString(text);
    return result;
  }
  IAccessible* FAcc = nullptr;
};

// Dispatches whatever is queued; a quit message is taken and dropped.
inline void DrainMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Dispatches messages for about the given time.
inline void PumpFor(int milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  while (std::chrono::steady_clock::now() < until) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
      }
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

// True when the quit message is waiting (it is taken).
inline bool TakeQuit() {
  MSG msg;
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

// Runs an action from inside whatever loop runs, after a delay: the way to
// act on a modal window while ShowModal has not returned.
class TLater {
 public:
  static void After(int milliseconds, std::function<void()> action) {
    const UINT_PTR id = SetTimer(nullptr, 0, static_cast<UINT>(milliseconds), &TLater::Fire);
    if (id) Actions()[id] = std::move(action);
  }

 private:
  static std::map<UINT_PTR, std::function<void()>>& Actions() {
    static std::map<UINT_PTR, std::function<void()>> actions;
    return actions;
  }
  static void CALLBACK Fire(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto it = Actions().find(id);
    if (it == Actions().end()) return;
    auto action = std::move(it->second);
    Actions().erase(it);
    action();
  }
};

inline TBounds WindowBounds(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// A child's rectangle relative to its parent's client area.
inline TBounds ChildBounds(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

inline std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

inline std::string ToString(const TBounds& b) {
  return std::to_string(b.Left) + "," + std::to_string(b.Top) + "," + std::to_string(b.Width) + "," +
         std::to_string(b.Height);
}

// A window's client area as it now shows (what its last paints left).
inline std::vector<COLORREF> ClientPixels(HWND hwnd) {
  RECT rc{};
  GetClientRect(hwnd, &rc);
  std::vector<COLORREF> pixels;
  HDC dc = GetDC(hwnd);
  for (int y = 0; y < rc.bottom; ++y)
    for (int x = 0; x < rc.right; ++x) pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(hwnd, dc);
  return pixels;
}

// Types text into an edit at a character position, key by key, letting it
// paint after each, and returns what it shows; then repaints it whole and
// returns that in fresh.
inline std::vector<COLORREF> TypeAndCompare(HWND edit, int at, const wchar_t* text,
                                            std::vector<COLORREF>& fresh) {
  SetFocus(edit);
  SendMessageW(edit, EM_SETSEL, at, at);
  for (const wchar_t* c = text; *c; ++c) {
    SendMessageW(edit, WM_CHAR, *c, 1);
    UpdateWindow(edit);
    DrainMessages();
  }
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  HideCaret(edit);
  UpdateWindow(edit);
  std::vector<COLORREF> typed = ClientPixels(edit);
  InvalidateRect(edit, nullptr, TRUE);
  UpdateWindow(edit);
  fresh = ClientPixels(edit);
  ShowCaret(edit);
  return typed;
}

// The seven settings in the fake registry, as a previous run left them.
inline void StoreSettings(int32_t breathIn, int32_t breathOut, int32_t holdIn, int32_t holdOut, bool stayOnTop,
                          bool menuOpen, bool sounds) {
  TFakeSeeder seeder("Software\\Quorvale\\Lumeno");
  seeder.Put("Breath In", Dword(breathIn));
  seeder.Put("Breath Out", Dword(breathOut));
  seeder.Put("Hold In", Dword(holdIn));
  seeder.Put("Hold Out", Dword(holdOut));
  seeder.Put("Stay on top", Dword(stayOnTop ? 1 : 0));
  seeder.Put("Menu open", Dword(menuOpen ? 1 : 0));
  seeder.Put("Enable sounds", Dword(sounds ? 1 : 0));
}

// The window's placement in the fake registry: its state byte and bounds.
inline void StorePlacement(uint8_t state, int32_t left, int32_t top, int32_t width, int32_t height) {
  TFakeSeeder seeder("Software\\Quorvale\\Lumeno");
  seeder.Put("RCWindowState", Binary({state}));
  seeder.Put("RCLeft", Dword(left));
  seeder.Put("RCTop", Dword(top));
  seeder.Put("RCWidth", Dword(width));
  seeder.Put("RCHeight", Dword(height));
}

inline std::optional<TStoredValue> Stored(const std::string& name) {
  return TFakeSeeder("Software\\Quorvale\\Lumeno").Get(name);
}

// Lumeno's windows as start-up creates them, with fakes underneath.
class TLumenoFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    Hive().Reset();
    DrainMessages();
  }
  void TearDown() override {
    Program.reset();
    DrainMessages();
  }

  // Creates the application object and the four windows. The guard's check is
  // replaced by guard (nothing by default).
  void Start(std::function<void()> guard = {}) {
    TLumenoServices services;
    services.MakeRegistry = MakeFakeRegistry;
    services.Clock = &Clock;
    services.Sound = &Sound;
    services.GuardLoaded = guard ? std::move(guard) : [] {};
    services.Taskbar = &Taskbar;
    services.PracticeLog = &Log;
    services.LocalNow = [] { return TLocalTime{1'750'000'000, 120}; };
    if (Adjust) Adjust(services);
    Program = std::make_unique<TLumenoProgram>(services);
    Program->Create(GetModuleHandleW(nullptr));
  }

  TFormLumeno& Main() { return *Program->FormLumeno; }
  TFormSettings& Settings() { return *Program->FormSettings; }
  TFormAbout& About() { return *Program->FormAbout; }
  TFormInstruction& Instruction() { return *Program->FormInstruction; }

  // Changes the services before Start creates the program (other fakes).
  std::function<void(TLumenoServices&)> Adjust;
  std::vector<std::string> Events;
  TManualClock Clock{Events};
  TRecordingSound Sound{Events};
  TRecordingTaskbar Taskbar;
  TRecordingLog Log;
  std::unique_ptr<TLumenoProgram> Program;
};

}  // namespace lumeno::test
