// Lumeno without a mouse and through a screen reader's eyes: Tab order and
// keys run through the application's own loop step (dialog navigation
// included); names, roles and values are read through oleacc as a screen
// reader reads them.
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>
#include <shobjidl.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "controls/Accessible_win.h"
#include "windows/LumenoTexts.h"
#include "windows/LumenoPractice.h"
#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

// Runs the application's loop step on whatever arrives, for about the given
// time, and on every posted message that is still waiting then (a slow,
// shared machine must not make a key press go missing).
void RunLoopFor(int milliseconds) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  MSG msg;
  while (std::chrono::steady_clock::now() < until) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (msg.message == WM_QUIT) return;
      Application().ProcessMessage();
    } else {
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
  }
  // Posted messages come before paints and timers, so this ends.
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_POSTMESSAGE | PM_QS_SENDMESSAGE) &&
         msg.message != WM_QUIT)
    Application().ProcessMessage();
}

void SetShift(bool down) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_SHIFT] = down ? 0x80 : 0;
  SetKeyboardState(state);
}

// One key press on the focused control, with Shift held where asked.
void PressKey(WPARAM key, bool shift = false, UINT down = WM_KEYDOWN) {
  SetShift(shift);
  HWND to = GetFocus();
  PostMessageW(to, down, key, 1);
  PostMessageW(to, down == WM_KEYDOWN ? WM_KEYUP : WM_SYSKEYUP, key, static_cast<LPARAM>(0xC0000001u));
  RunLoopFor(40);
  SetShift(false);
}

// The focus after each of steps Tab (or Shift+Tab) presses, from start.
std::vector<HWND> TabWalk(HWND start, size_t steps, bool back) {
  SetFocus(start);
  std::vector<HWND> seen{GetFocus()};
  for (size_t i = 0; i < steps; ++i) {
    PressKey(VK_TAB, back);
    seen.push_back(GetFocus());
  }
  return seen;
}

std::vector<HWND> Reversed(std::vector<HWND> order) { return {order.rbegin(), order.rend()}; }

// Runs action while window shows modally, then closes it.
void WhileShown(TForm& window, std::function<void()> action) {
  TLater::After(60, [&window, action] {
    action();
    PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
  });
  window.ShowModal();
}

// Records what the link labels hand the shell, for as long as it lives.
class TShellRecorder {
 public:
  TShellRecorder() : FSaved(TLinkLabel::ShellOpen) {
    Calls().clear();
    TLinkLabel::ShellOpen = [](HWND, LPCSTR, LPCSTR file, LPCSTR, LPCSTR, INT) -> HINSTANCE {
      Calls().push_back(file ? file : "");
      return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
    };
  }
  ~TShellRecorder() { TLinkLabel::ShellOpen = FSaved; }
  const std::vector<std::string>& Opened() const { return Calls(); }

 private:
  static std::vector<std::string>& Calls() {
    static std::vector<std::string> calls;
    return calls;
  }
  TLinkLabel::TShellExecuteFn FSaved;
};

class TKeyboard : public TLumenoFixture {
 protected:
  void ShowMain() {
    Start();
    ShowWindow(Main().Handle(), SW_SHOW);
    SetForegroundWindow(Main().Handle());
    RunLoopFor(50);
  }
};

TEST_F(TKeyboard, TabRunsThroughTheMainWindowInReadingOrderAndBack) {
  ShowMain();
  const std::vector<HWND> order{Main().Bmenu(), Main().BInstruction(), Main().BSettings(), Main().BAbout(),
                                Main().Memo1(), Main().LinkLabel1(),   Main().Bmenu()};
  EXPECT_EQ(TabWalk(order.front(), order.size() - 1, false), order);
  EXPECT_EQ(TabWalk(order.front(), order.size() - 1, true), Reversed(order));
}

TEST_F(TKeyboard, TabRunsThroughTheSettingsFromOkThroughTheArrowsBoxesAndListBackToOk) {
  Start();
  TFormSettings& s = Settings();
  // The bottom strip, the six pairs of arrows in reading order, the check
  // boxes, the pattern list.
  const std::vector<HWND> order{s.ButtonOK(),           s.ButtonCancel(),         s.ButtonDefaultSettings(),
                                s.ButtonPractice(),
                                s.UpDown(IDC_UDURATION), s.UpDown(IDC_UBPM),       s.UpDown(IDC_UBREATHIN),
                                s.UpDown(IDC_UHOLDIN),   s.UpDown(IDC_UBREATHOUT), s.UpDown(IDC_UHOLDOUT),
                                s.CheckBoxStayOnTop(),   s.ChEnableSounds(),       s.ComboPattern(),
                                s.ButtonOK()};
  std::vector<HWND> forward, backward;
  HWND atStart = nullptr;
  WhileShown(s, [&] {
    atStart = GetFocus();
    forward = TabWalk(order.front(), order.size() - 1, false);
    backward = TabWalk(order.front(), order.size() - 1, true);
  });
  EXPECT_EQ(atStart, s.ButtonOK());
  EXPECT_EQ(forward, order);
  EXPECT_EQ(backward, Reversed(order));
}

TEST_F(TKeyboard, PracticeOpensFromTheSettingsRunsItsTabOrderAndClosesOnEscape) {
  Start();
  TFormSettings& s = Settings();
  bool closedByEscape = false;
  WhileShown(s, [&] {
    SetFocus(s.ButtonPractice());
    TLater::After(60, [&] {
      TFormPractice& p = *s.FormPractice();
      // The slider only where there is an audio session (not under Wine).
      std::vector<HWND> order{p.Control(IDC_SESSION), p.Control(IDC_ENDBELL), p.Control(IDC_SOUNDS),
                              p.Control(IDC_PAUSECUE)};
      if (IsWindowEnabled(p.Control(IDC_VOLUME))) order.push_back(p.Control(IDC_VOLUME));
      order.insert(order.end(), {p.Control(IDC_COLOURS), p.Control(IDC_HISTORY_CHART), p.Control(IDC_HISTORY_EXPORT),
                                    p.Control(IDC_HISTORY_FOLDER), p.Control(IDC_PRACTICE_CLOSE), p.Control(IDC_SESSION)});
      EXPECT_EQ(GetFocus(), order.front());
      EXPECT_EQ(TabWalk(order.front(), order.size() - 1, false), order);
      EXPECT_EQ(TabWalk(order.front(), order.size() - 1, true), Reversed(order));
      SetFocus(p.Control(IDC_ENDBELL));
      PressKey(VK_ESCAPE);
      closedByEscape = p.ModalResult() != mrNone;
    });
    PressKey(VK_SPACE);  // presses "Practice..."; its modal loop runs the above
  });
  EXPECT_TRUE(closedByEscape);
}

TEST_F(TKeyboard, TabMovesOnFromTheAboutWindowsTextBoxesToTheLink) {
  Start();
  TFormAbout& a = About();
  const std::vector<HWND> order{a.Button1(), a.Memo1(), a.Memo2(), a.LinkLabel1(), a.Button1()};
  std::vector<HWND> forward, backward;
  std::wstring notice;
  WhileShown(a, [&] {
    forward = TabWalk(order.front(), order.size() - 1, false);
    backward = TabWalk(order.front(), order.size() - 1, true);
    notice = TextOf(a.Memo1());
  });
  EXPECT_EQ(forward, order);
  EXPECT_EQ(backward, Reversed(order));
  // Tab moved on instead of landing in the text.
  EXPECT_EQ(notice.find(L'\t'), std::wstring::npos);
}

// The live pattern and the six figures, for comparing.
struct TSnapshot {
  TBreathingPattern Pattern;
  std::vector<std::wstring> Figures;
  int Counter;
  bool operator==(const TSnapshot&) const = default;
};

TSnapshot Snap(TFormSettings& s, HWND upDown) {
  TSnapshot snap{s.Pattern(), {}, static_cast<int>(SendMessageW(upDown, UDM_GETPOS32, 0, 0))};
  for (int id : {IDC_DURATION, IDC_BPM, IDC_BREATHIN, IDC_HOLDIN, IDC_BREATHOUT, IDC_HOLDOUT})
    snap.Figures.push_back(TextOf(s.Figure(id)));
  return snap;
}

void Restore(TFormSettings& s, HWND upDown, const TSnapshot& snap) {
  s.Pattern() = snap.Pattern;
  s.aktualizujWyswietlaneCyfry();
  SendMessageW(upDown, UDM_SETPOS32, 0, snap.Counter);
}

// A mouse click on the upper or lower arrow.
void Click(HWND upDown, bool up) {
  RECT r{};
  GetClientRect(upDown, &r);
  const LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
  SendMessageW(upDown, WM_LBUTTONDOWN, MK_LBUTTON, at);
  SendMessageW(upDown, WM_LBUTTONUP, 0, at);
}

TEST_F(TKeyboard, ArrowKeysOnAFocusedUpDownActExactlyAsAClick) {
  Start();
  TFormSettings& s = Settings();
  WhileShown(s, [&] {
    for (int id : {IDC_UDURATION, IDC_UBPM, IDC_UBREATHIN, IDC_UHOLDIN, IDC_UBREATHOUT, IDC_UHOLDOUT}) {
      for (bool up : {true, false}) {
        SCOPED_TRACE(testing::Message() << id << (up ? " up" : " down"));
        HWND ud = s.UpDown(id);
        const TSnapshot before = Snap(s, ud);
        SetFocus(ud);
        PressKey(up ? VK_UP : VK_DOWN);
        EXPECT_EQ(GetFocus(), ud);
        const TSnapshot byKey = Snap(s, ud);
        Restore(s, ud, before);
        Click(ud, up);
        const TSnapshot byClick = Snap(s, ud);
        EXPECT_EQ(byKey, byClick);
        EXPECT_EQ(byKey.Counter, before.Counter + (up ? 1 : -1));
        EXPECT_NE(byKey.Pattern, before.Pattern);
      }
    }
  });
}

TEST_F(TKeyboard, PageKeysAreTenPressesUpToTheCountersLimit) {
  Start();
  TFormSettings& s = Settings();
  WhileShown(s, [&] {
    HWND ud = s.UpDown(IDC_UBREATHIN);
    SetFocus(ud);
    PressKey(VK_PRIOR);
    EXPECT_EQ(s.Pattern().FBreathIn, 40);
    EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), 10);
    PressKey(VK_NEXT);
    EXPECT_EQ(s.Pattern().FBreathIn, 30);
    // Four presses short of the counter's end: only those four count.
    SendMessageW(ud, UDM_SETPOS32, 0, TFormSettings::kUpDownMax - 4);
    PressKey(VK_PRIOR);
    EXPECT_EQ(s.Pattern().FBreathIn, 34);
    EXPECT_EQ(SendMessageW(ud, UDM_GETPOS32, 0, 0), TFormSettings::kUpDownMax);
    EXPECT_EQ(TextOf(s.Figure(IDC_BREATHIN)), L"3.4");
  });
}

// What the screen shows of a window, row by row.
std::vector<COLORREF> OnScreen(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  std::vector<COLORREF> pixels;
  HDC screen = GetDC(nullptr);
  for (POINT p{r.left, r.top}; p.y < r.bottom; ++p.y)
    for (p.x = r.left; p.x < r.right; ++p.x) pixels.push_back(GetPixel(screen, p.x, p.y));
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST_F(TKeyboard, AFocusedUpDownShowsAFocusRectangle) {
  Start();
  TFormSettings& s = Settings();
  std::vector<COLORREF> unfocused, focused, left;
  WhileShown(s, [&] {
    HWND ud = s.UpDown(IDC_UHOLDIN);
    // Painted afresh, as every later picture is.
    RedrawWindow(ud, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RunLoopFor(50);
    unfocused = OnScreen(ud);
    SetFocus(ud);
    RunLoopFor(50);
    focused = OnScreen(ud);
    SetFocus(s.ButtonOK());
    RunLoopFor(50);
    left = OnScreen(ud);
  });
  ASSERT_FALSE(unfocused.empty());
  EXPECT_NE(focused, unfocused);
  EXPECT_EQ(left, unfocused);
}

TEST_F(TKeyboard, EnterOnTheFocusedLinkOpensItThroughTheShell) {
  TShellRecorder shell;
  ShowMain();
  SetFocus(Main().LinkLabel1());
  PressKey(VK_RETURN);
  PressKey(VK_SPACE);
  WhileShown(About(), [&] {
    SetFocus(About().LinkLabel1());
    PressKey(VK_RETURN);
  });
  const std::string target = std::string("http://") + kMakerHost;
  EXPECT_EQ(shell.Opened(), (std::vector<std::string>{target, target, target}));
}

// The menu that showed (closed again) after key went to the focused control,
// with where it showed.
HMENU MenuFromKey(WPARAM key, bool shift, UINT down, RECT& where) {
  HMENU shown = nullptr;
  TLater::After(150, [&] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) {
      shown = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
      GetWindowRect(menu, &where);
    }
    EndMenu();
  });
  PressKey(key, shift, down);
  RunLoopFor(250);
  return shown;
}

TEST_F(TKeyboard, ShiftF10AndTheMenuKeyOpenTheContextMenuAtTheBarsCentre) {
  ShowMain();
  RECT bar{};
  GetWindowRect(Main().AlBarOddech().Handle(), &bar);
  const POINT centre{(bar.left + bar.right) / 2, (bar.top + bar.bottom) / 2};
  struct TCase {
    WPARAM Key;
    bool Shift;
    UINT Down;
  };
  for (const TCase& c : {TCase{VK_F10, true, WM_SYSKEYDOWN}, TCase{VK_APPS, false, WM_KEYDOWN}}) {
    SCOPED_TRACE(c.Key);
    SetFocus(Main().BSettings());
    RECT where{};
    EXPECT_EQ(MenuFromKey(c.Key, c.Shift, c.Down, where), Main().PopupMenu());
    EXPECT_EQ(where.left, centre.x);
    EXPECT_EQ(where.top, centre.y);
  }
}

using TScreenReader = TKeyboard;

std::vector<HWND> gValueChanges;
void CALLBACK CountValueChange(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (event == EVENT_OBJECT_VALUECHANGE && object == OBJID_CLIENT && child == CHILDID_SELF)
    gValueChanges.push_back(hwnd);
}

// Counts value-change events for as long as it lives.
class TValueChangeCounter {
 public:
  TValueChangeCounter() {
    gValueChanges.clear();
    FHook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr, CountValueChange,
                            GetCurrentProcessId(), GetCurrentThreadId(), WINEVENT_OUTOFCONTEXT);
  }
  ~TValueChangeCounter() {
    if (FHook) UnhookWinEvent(FHook);
  }
  bool Hooked() const { return FHook != nullptr; }
  size_t For(HWND hwnd) const {
    DrainMessages();
    return static_cast<size_t>(std::count(gValueChanges.begin(), gValueChanges.end(), hwnd));
  }

 private:
  HWINEVENTHOOK FHook = nullptr;
};

TEST_F(TScreenReader, HearsTheBarsPhaseAndHowFarItIsAtPointsOfACycle) {
  Start();
  Main().TimerBreatch().SetEnabled(false);
  HWND bar = Main().AlBarOddech().Handle();
  TValueChangeCounter events;
  ASSERT_TRUE(events.Hooked());
  auto tick = [&] { SendMessageW(Main().Handle(), WM_TIMER, TFormLumeno::kTimerBreatchId, 0); };
  struct TPoint {
    int64_t Now;  // milliseconds since the start
    int Ticks;
    const wchar_t* Value;
    size_t Events;  // phase changes so far
  };
  const TPoint points[] = {
      {0, 1, L"Breathe in, 0%", 0},      {1350, 20, L"Breathe in, 45%", 0}, {3000, 1, L"Hold", 1},
      {3000, 1, L"Breathe out, 100%", 2}, {4200, 20, L"Breathe out, 80%", 2}, {9000, 1, L"Hold", 3},
      {9000, 1, L"Breathe in, 0%", 4},
  };
  for (const TPoint& p : points) {
    SCOPED_TRACE(p.Value);
    Clock.Now = p.Now;
    for (int i = 0; i < p.Ticks; ++i) tick();
    TAccessibleOf acc(bar);
    ASSERT_TRUE(acc.Found());
    EXPECT_EQ(acc.Role(), ROLE_SYSTEM_PROGRESSBAR);
    EXPECT_EQ(acc.Name(), L"Breathing");
    EXPECT_EQ(acc.Value(), p.Value);
    EXPECT_EQ(events.For(bar), p.Events);
  }
}

TEST_F(TScreenReader, NamesEachUpDownAfterItsRowWithItsFigureAndUnitAsValue) {
  Start();
  TFormSettings& s = Settings();
  struct TRowCase {
    int Id;
    const wchar_t* Name;
    const wchar_t* Value;
  };
  const TRowCase rows[] = {
      {IDC_UDURATION, L"Cycle duration is", L"10.0 seconds"}, {IDC_UBPM, L"It is", L"6.0 breaths per minute"},
      {IDC_UBREATHIN, L"Breath in for", L"3.0 seconds"},       {IDC_UHOLDIN, L"Hold in for", L"0.5 seconds"},
      {IDC_UBREATHOUT, L"Breath out for", L"6.0 seconds"},     {IDC_UHOLDOUT, L"Hold out for", L"0.5 seconds"},
  };
  for (const TRowCase& row : rows) {
    SCOPED_TRACE(Narrow(row.Name));
    TAccessibleOf acc(s.UpDown(row.Id));
    ASSERT_TRUE(acc.Found());
    EXPECT_EQ(acc.Role(), ROLE_SYSTEM_SPINBUTTON);
    EXPECT_EQ(acc.Name(), row.Name);
    EXPECT_EQ(acc.Value(), row.Value);
  }
  // A step is told as a new value of the up-downs whose figures changed.
  TValueChangeCounter events;
  s.UBreathInClick(TStep::Up);
  EXPECT_EQ(events.For(s.UpDown(IDC_UBREATHIN)), 1u);
  EXPECT_EQ(events.For(s.UpDown(IDC_UDURATION)), 1u);
  EXPECT_EQ(events.For(s.UpDown(IDC_UHOLDIN)), 0u);
  EXPECT_EQ(TAccessibleOf(s.UpDown(IDC_UBREATHIN)).Value(), L"3.1 seconds");
}

TEST_F(TScreenReader, FindsBothLinksAsLinksThatJumpAndTheTextBoxesAsTheirText) {
  TShellRecorder shell;
  Start();
  const std::string target = std::string("http://") + kMakerHost;
  for (HWND link : {Main().LinkLabel1(), About().LinkLabel1()}) {
    TAccessibleOf acc(link);
    ASSERT_TRUE(acc.Found());
    EXPECT_EQ(acc.Role(), ROLE_SYSTEM_LINK);
    EXPECT_EQ(acc.Name(), kMakerHostW);
    EXPECT_EQ(acc.Value(), Widen(target));
    EXPECT_EQ(acc.DefaultAction(), L"Jump");
    EXPECT_TRUE(acc.State() & STATE_SYSTEM_LINKED);
    EXPECT_EQ(acc.DoDefaultAction(), S_OK);
    DrainMessages();
  }
  EXPECT_EQ(shell.Opened(), (std::vector<std::string>{target, target}));

  for (HWND box : {Main().Memo1(), About().Memo1(), About().Memo2()}) {
    TAccessibleOf acc(box);
    ASSERT_TRUE(acc.Found());
    EXPECT_EQ(acc.Value(), TextOf(box));
  }
}

// Pausing and resuming by every way there is: the bar keeps its pixels, no
// sound is called while paused, and the phase goes on where it stopped.
TEST_F(TScreenReader, ClickKeysDefaultActionAndThumbnailPauseAndResume) {
  const std::pair<const char*, std::function<void(TFormLumeno&)>> ways[] = {
      {"click", [](TFormLumeno& m) { SendMessageW(m.AlBarOddech().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0); }},
      {"P", [](TFormLumeno&) { PressKey('P'); }},
      {"Pause", [](TFormLumeno&) { PressKey(VK_PAUSE); }},
      {"MSAA", [](TFormLumeno& m) { TAccessibleOf(m.AlBarOddech().Handle()).DoDefaultAction(); RunLoopFor(9); }},
      {"thumb", [](TFormLumeno&) { SendMessageW(Application().Handle(), WM_COMMAND, MAKEWPARAM(1, THBN_CLICKED), 0); }},
  };
  for (const auto& [what, toggle] : ways) {
    SCOPED_TRACE(what);
    Program.reset();
    Clock.Now = 0;
    ShowMain();
    HWND bar = Main().AlBarOddech().Handle();
    auto tickAt = [&](int64_t ms) { Clock.Now = ms; Main().TimerBreatchTimer(); };
    tickAt(1500);
    Events.clear();
    toggle(Main());
    const std::vector<COLORREF> frozen = ClientPixels(bar);
    tickAt(2500);
    RunLoopFor(20);
    EXPECT_EQ(ClientPixels(bar), frozen);
    EXPECT_FALSE(Main().TimerBreatch().Enabled());
    EXPECT_EQ(Events, (std::vector<std::string>{"stop"}));
    EXPECT_EQ(TAccessibleOf(bar).Value(), L"Paused");
    EXPECT_EQ(TAccessibleOf(bar).DefaultAction(), L"Resume");
    EXPECT_EQ(TextOf(Main().PanelText()), L"Paused");
    toggle(Main());
    tickAt(2600);
    EXPECT_EQ(Events, (std::vector<std::string>{"stop", "start in.wav"}));
    EXPECT_EQ(TAccessibleOf(bar).Value(), L"Breathe in, 53%");
    EXPECT_FALSE(IsWindowVisible(Main().PanelText()));
  }
}

TEST_F(TScreenReader, TheClickThatOnlyBringsLumenoToTheFrontDoesNotPause) {
  Start();  // never shown, so never in front
  HWND bar = Main().AlBarOddech().Handle();
  SendMessageW(bar, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(Main().Handle()), MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN));
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(Main().Session().State(), TSessionState::Running);
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(Main().Session().State(), TSessionState::Paused);
}

TEST_F(TScreenReader, AtTheEndTheBarRestsUnderTheSummaryAndAClickStartsAnew) {
  StoreSettings(10, 10, 0, 0, false, true, true);
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Session Minutes", Dword(1));
  ShowMain();
  HWND bar = Main().AlBarOddech().Handle();
  TValueChangeCounter events;
  // One-second inhales and exhales without pauses, ticked every 50 ms; 60 s
  // falls in an exhale, which ends the session 850 ms later.
  auto tick = [&] { Clock.Now += 50; Main().TimerBreatchTimer(); };
  while (Clock.Now < 60'000) tick();
  const size_t eventsBefore = events.For(bar);
  for (int i = 0; i < 100 && !Main().Pacer().Ended(); ++i) tick();
  ASSERT_TRUE(Main().Pacer().Ended());
  EXPECT_EQ(Main().AlBarOddech().GetNote(), Main().Session().Summary());
  EXPECT_EQ(events.For(bar), eventsBefore + 1);
  TAccessibleOf acc(bar);
  EXPECT_EQ(acc.Value(), L"Session complete. 1 minute, 29 breaths. Click the bar or press P to start again.");
  EXPECT_EQ(acc.DefaultAction(), L"Start");
  // The same click starts anew.
  SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(Main().AlBarOddech().GetNote(), "");
  EXPECT_TRUE(Main().TimerBreatch().Enabled());
  EXPECT_EQ(Events.back(), "start in.wav");
}

}  // namespace
}  // namespace lumeno::test
