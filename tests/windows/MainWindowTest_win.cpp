// The main window under Wine: its look as designed, the fold-out menu, the
// menu button's centring, the context menu, closing, logging off, the pacer's
// timer, and restored placements of every kind.
#include <limits>

#include "windows/LayoutMath.h"
#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

using TMainWindow = TLumenoFixture;

TEST_F(TMainWindow, OpensHiddenAtItsDesignBoundsAsAToolWindow) {
  Start();
  HWND main = Main().Handle();
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_EQ(TextOf(main), L"Lumeno");
  EXPECT_EQ(ToString(WindowBounds(main)), "416,115,229,480");
  const LONG style = GetWindowLongW(main, GWL_STYLE);
  const LONG ex = GetWindowLongW(main, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_FALSE(ex & WS_EX_TOPMOST);
  // The application window carries the taskbar button and owns the main window.
  EXPECT_EQ(GetWindow(main, GW_OWNER), Application().Handle());
  EXPECT_EQ(Application().MainWindow(), main);
}

TEST_F(TMainWindow, ControlsSitWhereTheDescriptionPutsThem) {
  Start();
  RECT client{};
  GetClientRect(Main().Handle(), &client);
  const int cw = client.right;
  const int ch = client.bottom;
  EXPECT_EQ(ToString(ChildBounds(Main().Panel1())), ToString({0, ch - 41, cw, 41}));
  EXPECT_EQ(ToString(ChildBounds(Main().PanelMenu())), ToString({cw - 127, 0, 127, ch - 41}));
  EXPECT_EQ(ToString(ChildBounds(Main().AlBarOddech().Handle())), ToString({0, 0, cw - 127, ch - 41}));
  // Centred under the bar: ((229 - 127) div 2) - (57 div 2).
  EXPECT_EQ(ToString(ChildBounds(Main().Bmenu())), "23,8,57,25");
  EXPECT_EQ(TextOf(Main().Bmenu()), L"Menu  >>");

  struct TButtonRow {
    HWND Button;
    const wchar_t* Caption;
    int Top;
  };
  for (const TButtonRow& row : {TButtonRow{Main().BInstruction(), L"Instrukcja", 14},
                                TButtonRow{Main().BSettings(), L"Ustawienia", 46},
                                TButtonRow{Main().BAbout(), L"O programie", 80}}) {
    SCOPED_TRACE(Narrow(row.Caption));
    EXPECT_EQ(GetParent(row.Button), Main().PanelMenu());
    EXPECT_EQ(TextOf(row.Button), row.Caption);
    EXPECT_EQ(ToString(ChildBounds(row.Button)), ToString({16, row.Top, 99, 25}));
  }
  const TBounds memo = ChildBounds(Main().Memo1());
  EXPECT_EQ(memo.Top, 120);
  EXPECT_EQ(memo.Width, 109);
  EXPECT_EQ(memo.Height, 41);
  EXPECT_EQ(TextOf(Main().Memo1()), L"Jeśli chcesz mieć \r\nnajnowszą wersję \r\nprogramu, kliknij na");
  EXPECT_FALSE(GetWindowLongW(Main().Memo1(), GWL_STYLE) & ES_READONLY);
  // The text gets the whole box width.
  EXPECT_EQ(SendMessageW(Main().Memo1(), EM_GETMARGINS, 0, 0), 0);
  const TBounds link = ChildBounds(Main().LinkLabel1());
  EXPECT_EQ(link.Top, 160);
  EXPECT_EQ(link.Width, 130);
  EXPECT_EQ(GetParent(Main().LinkLabel1()), Main().PanelMenu());
}

TEST_F(TMainWindow, BarIsSetUpAsDesignedAndSizedForTheFirstInhale) {
  Start();
  TALProgressBar& bar = Main().AlBarOddech();
  EXPECT_EQ(bar.GetDirection(), pdBottomToTop);
  EXPECT_EQ(bar.GetBarColorStyle(), cs3Colors);
  EXPECT_EQ(bar.GetBarColor1(), clActiveCaption);
  EXPECT_EQ(bar.GetBarColor2(), 114686u);
  EXPECT_EQ(bar.GetBarColor3(), 114686u);
  EXPECT_FALSE(bar.GetShowPosText());
  EXPECT_EQ(bar.GetPosition(), 100);
  EXPECT_EQ(bar.GetMax(), 3000);
}

TEST_F(TMainWindow, FoldingTheMenuAwayAndBackRestoresTheWidthExactly) {
  Start();
  HWND main = Main().Handle();
  const int32_t barWidth = ChildBounds(Main().AlBarOddech().Handle()).Width;

  SendMessageW(Main().Bmenu(), BM_CLICK, 0, 0);
  EXPECT_EQ(WindowBounds(main).Width, 102);
  EXPECT_EQ(TextOf(Main().Bmenu()), L"Menu >>");
  EXPECT_FALSE(Main().PanelMenuVisible());
  EXPECT_FALSE(GetWindowLongW(Main().PanelMenu(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(ChildBounds(Main().AlBarOddech().Handle()).Width, barWidth);

  SendMessageW(Main().Bmenu(), BM_CLICK, 0, 0);
  EXPECT_EQ(WindowBounds(main).Width, 229);
  EXPECT_EQ(TextOf(Main().Bmenu()), L"Menu <<");
  EXPECT_TRUE(GetWindowLongW(Main().PanelMenu(), GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(ChildBounds(Main().AlBarOddech().Handle()).Width, barWidth);
}

TEST_F(TMainWindow, MenuButtonStaysCentredWhileResizing) {
  Start();
  HWND main = Main().Handle();
  for (int width : {229, 230, 300, 451, 102}) {
    SCOPED_TRACE(width);
    SetWindowPos(main, nullptr, 0, 0, width, 480, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    // From the outer width while the menu is open, truncating toward zero.
    EXPECT_EQ(ChildBounds(Main().Bmenu()).Left, (width - 127) / 2 - 28);
  }
  Main().BmenuClick();
  SetWindowPos(main, nullptr, 0, 0, 300, 480, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT panel{};
  GetClientRect(Main().Panel1(), &panel);
  EXPECT_EQ(ChildBounds(Main().Bmenu()).Left, panel.right / 2 - 28);
}

TEST_F(TMainWindow, ShrinksToTheBarAloneButNoFurther) {
  Start();
  SetWindowPos(Main().Handle(), nullptr, 0, 0, 40, 480, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(WindowBounds(Main().Handle()).Width, kMainMinTrackWidth);
  // The bar never gets a negative size, with the side menu wider than the client area.
  const TBounds bar = ChildBounds(Main().AlBarOddech().Handle());
  EXPECT_EQ(bar.Width, 0);
  EXPECT_GE(bar.Height, 0);
}

TEST_F(TMainWindow, ContextMenuHoldsTheFourCommands) {
  Start();
  HMENU menu = Main().PopupMenu();
  ASSERT_EQ(GetMenuItemCount(menu), 6);
  const wchar_t* expected[] = {L"Instruction", nullptr, L"Settings", L"About", nullptr, L"Exit"};
  for (int i = 0; i < 6; ++i) {
    SCOPED_TRACE(i);
    MENUITEMINFOW mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &mi);
    if (!expected[i]) {
      EXPECT_TRUE(mi.fType & MFT_SEPARATOR);
      continue;
    }
    wchar_t text[64] = {};
    GetMenuStringW(menu, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, expected[i]);
  }
}

// Sends the right-click message the way the system does and returns the menu
// that showed (closing it again), or null.
HMENU ContextMenuShown(HWND target, POINT screen) {
  HMENU shown = nullptr;
  TLater::After(150, [&shown] {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu && IsWindowVisible(menu)) shown = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
    EndMenu();
  });
  SendMessageW(target, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target), MAKELPARAM(screen.x, screen.y));
  PumpFor(250);
  return shown;
}

TEST_F(TMainWindow, RightClickOnTheBarOrAPanelOpensTheContextMenu) {
  Start();
  HWND main = Main().Handle();
  ShowWindow(main, SW_SHOW);
  for (HWND target : {Main().AlBarOddech().Handle(), Main().Panel1(), Main().PanelMenu()}) {
    RECT r{};
    GetWindowRect(target, &r);
    EXPECT_EQ(ContextMenuShown(target, {(r.left + r.right) / 2, (r.top + r.bottom) / 2}), Main().PopupMenu());
  }
  // Over the caption it is the system menu's place.
  RECT w{};
  GetWindowRect(main, &w);
  EXPECT_NE(ContextMenuShown(main, {(w.left + w.right) / 2, w.top + 5}), Main().PopupMenu());
}

TEST_F(TMainWindow, ExitSavesPlacementThenSettingsAndEndsTheLoop) {
  Start();
  Settings().UBreathInClick(TStep::Up);
  Hive().log.clear();
  SendMessageW(Main().Handle(), WM_COMMAND, MAKEWPARAM(IDM_EXIT1, 0), 0);
  EXPECT_TRUE(TakeQuit());
  ASSERT_TRUE(Stored("RCLeft").has_value());
  EXPECT_EQ(*Stored("RCLeft"), Dword(416));
  EXPECT_EQ(*Stored("RCWidth"), Dword(229));
  EXPECT_EQ(*Stored("Breath In"), Dword(31));
  // The placement store writes first, then the settings.
  auto at = [](const std::string& prefix) {
    for (size_t i = 0; i < Hive().log.size(); ++i)
      if (Hive().log[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
    return -1;
  };
  EXPECT_LT(at("WriteInteger RCLeft"), at("WriteInteger Breath In"));
}

TEST_F(TMainWindow, RefusedCloseQueryKeepsTheWindowAndSavesNothing) {
  Start();
  TCloseQueryEvent installed = Main().OnCloseQuery();
  Main().OnCloseQuery() = [](void*, bool& canClose) { canClose = false; };
  Hive().log.clear();
  SendMessageW(Main().Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(TakeQuit());
  EXPECT_TRUE(IsWindow(Main().Handle()));
  EXPECT_FALSE(Stored("RCLeft").has_value());
  Main().OnCloseQuery() = installed;
}

TEST_F(TMainWindow, LoggingOffSavesThePlacementAtTheQueryAndTheSettingsAtTheEnd) {
  Start();
  Settings().UBreathInClick(TStep::Up);
  EXPECT_EQ(SendMessageW(Main().Handle(), WM_QUERYENDSESSION, 0, 0), TRUE);
  EXPECT_TRUE(Stored("RCLeft").has_value());
  EXPECT_EQ(*Stored("Breath In"), Dword(30));
  EXPECT_FALSE(TakeQuit());
  // A logoff called off (another program refused it) saves nothing more.
  SendMessageW(Main().Handle(), WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(*Stored("Breath In"), Dword(30));
  EXPECT_FALSE(TakeQuit());
  SendMessageW(Main().Handle(), WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(*Stored("Breath In"), Dword(31));
  EXPECT_TRUE(TakeQuit());
}

TEST_F(TMainWindow, TimerTicksMoveTheBarThroughAPhaseChange) {
  Start();
  TWindowTimer& timer = Main().TimerBreatch();
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(timer.Interval(), 1u);
  Events.clear();
  HWND main = Main().Handle();
  Clock.Now = 1500;
  SendMessageW(main, WM_TIMER, TFormLumeno::kTimerBreatchId, 0);
  EXPECT_EQ(Main().AlBarOddech().GetPosition(), 1500);
  Clock.Now = 3000;
  SendMessageW(main, WM_TIMER, TFormLumeno::kTimerBreatchId, 0);
  EXPECT_EQ(Main().AlBarOddech().GetPosition(), 3000);
  EXPECT_EQ(Main().Pacer().Tag, 1);
  EXPECT_EQ(timer.Interval(), 500u);
  SendMessageW(main, WM_TIMER, TFormLumeno::kTimerBreatchId, 0);
  EXPECT_EQ(Main().AlBarOddech().GetMax(), 6000);
  EXPECT_EQ(Main().Pacer().Tag, 2);
  EXPECT_EQ(timer.Interval(), 1u);
  EXPECT_EQ(Events, (std::vector<std::string>{"stop", "start ex.wav"}));
  // Another timer's message is not a pacer tick.
  SendMessageW(main, WM_TIMER, TFormLumeno::kTimerBreatchId + 7, 0);
  EXPECT_EQ(Main().Pacer().Tag, 2);
}

TEST_F(TMainWindow, TimerKeepsItsCountdownForTheSameIntervalAndRestartsForAnother) {
  Start();
  TWindowTimer& timer = Main().TimerBreatch();
  const uint32_t restarts = timer.Restarts();
  timer.SetInterval(1);
  EXPECT_EQ(timer.Restarts(), restarts);
  timer.SetInterval(500);
  EXPECT_EQ(timer.Restarts(), restarts + 1);
  timer.SetInterval(0);
  EXPECT_EQ(timer.Interval(), 1u);
}

TEST_F(TMainWindow, StoredStayOnTopMakesTheWindowTopMostBeforeAndAfterItShows) {
  StoreSettings(30, 60, 5, 5, true, true, false);
  Start();
  EXPECT_TRUE(GetWindowLongW(Main().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  Main().ShowMainForm(SW_SHOWNORMAL);
  EXPECT_TRUE(GetWindowLongW(Main().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  // The dialogs stay above their owner, and every window keeps its owner.
  EXPECT_TRUE(GetWindowLongW(Settings().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(Main().Handle(), GW_OWNER), Application().Handle());
  EXPECT_EQ(GetWindow(Settings().Handle(), GW_OWNER), Main().Handle());
  Main().SetStayOnTop(false);
  EXPECT_FALSE(GetWindowLongW(Main().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(GetWindowLongW(About().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetWindow(Main().Handle(), GW_OWNER), Application().Handle());
  EXPECT_EQ(GetWindow(About().Handle(), GW_OWNER), Main().Handle());
}

TEST_F(TMainWindow, StoredZOrderMakesItTopMostAndTheNormalStyleLeavesThatAlone) {
  StoreSettings(30, 60, 5, 5, false, true, true);
  TFakeSeeder seeder("Software\\Quorvale\\Lumeno");
  seeder.Put("RCWindowState", Binary({0}));
  for (const char* name : {"RCLeft", "RCTop", "RCWidth", "RCHeight"}) seeder.Put(name, Dword(300));
  seeder.Put("ZOrder", Dword(1));
  Start();
  // "Stay on top" off asks for the normal style, which the window already has.
  EXPECT_FALSE(Main().StayOnTop());
  EXPECT_TRUE(GetWindowLongW(Main().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  Main().SetStayOnTop(true);
  Main().SetStayOnTop(false);
  EXPECT_FALSE(GetWindowLongW(Main().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(TMainWindow, StoredClosedMenuHidesItWithoutChangingWidthOrCaption) {
  StoreSettings(30, 60, 5, 5, false, false, true);
  Start();
  EXPECT_FALSE(Main().PanelMenuVisible());
  EXPECT_EQ(WindowBounds(Main().Handle()).Width, 229);
  EXPECT_EQ(TextOf(Main().Bmenu()), L"Menu  >>");
  RECT client{};
  GetClientRect(Main().Handle(), &client);
  EXPECT_EQ(ChildBounds(Main().AlBarOddech().Handle()).Width, client.right);
  Main().BmenuClick();
  EXPECT_TRUE(Main().PanelMenuVisible());
  EXPECT_EQ(TextOf(Main().Bmenu()), L"Menu <<");
}

TEST_F(TMainWindow, TypingRepaintsTheMenuNoteWithNoOldGlyphsLeft) {
  Start();
  Main().ShowMainForm(SW_SHOWNORMAL);
  DrainMessages();
  std::vector<COLORREF> fresh;
  const std::vector<COLORREF> typed = TypeAndCompare(Main().Memo1(), 2, L"\u015bli ch", fresh);
  EXPECT_TRUE(typed == fresh);
}

TEST_F(TMainWindow, StoredMaximisedStateShowsMaximisedOverTheDesignBounds) {
  TFakeSeeder seeder("Software\\Quorvale\\Lumeno");
  seeder.Put("RCWindowState", Binary({2}));
  seeder.Put("RCLeft", Dword(10));
  Start();
  EXPECT_EQ(ToString(WindowBounds(Main().Handle())), "416,115,229,480");
  EXPECT_EQ(Main().GetWindowState(), 2);
  Main().ShowMainForm(SW_SHOWNORMAL);
  DrainMessages();
  HWND main = Main().Handle();
  EXPECT_TRUE(IsZoomed(main));
  EXPECT_EQ(Main().GetWindowState(), 2);
  // Maximised, it covers the work area (a frame may hang over its edges).
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT shown{};
  GetWindowRect(main, &shown);
  EXPECT_LE(shown.left, work.left);
  EXPECT_LE(shown.top, work.top);
  EXPECT_GE(shown.right, work.right);
  EXPECT_GE(shown.bottom, work.bottom);
  // One restore, as from the caption or the system menu, gives the designed bounds.
  SendMessageW(main, WM_SYSCOMMAND, SC_RESTORE, 0);
  DrainMessages();
  EXPECT_FALSE(IsZoomed(main));
  EXPECT_EQ(ToString(WindowBounds(main)), "416,115,229,480");
}

TEST_F(TMainWindow, MinimisedWindowReportsItsNormalBounds) {
  StorePlacement(1, 100, 200, 300, 400);
  Start();
  Main().ShowMainForm(SW_SHOWNORMAL);
  EXPECT_TRUE(IsIconic(Main().Handle()));
  EXPECT_EQ(Main().GetWindowState(), 1);
  // Saved as the bounds it comes back to, not where the icon sits.
  EXPECT_EQ(Main().GetLeft(), 100);
  EXPECT_EQ(Main().GetTop(), 200);
  EXPECT_EQ(Main().GetWidth(), 300);
  EXPECT_EQ(Main().GetHeight(), 400);
}

struct TPlacementCase {
  const char* Name;
  int32_t Left, Top, Width, Height;
};

class TAbsurdPlacement : public TLumenoFixture, public ::testing::WithParamInterface<TPlacementCase> {};

TEST_P(TAbsurdPlacement, NeverBreaksAndShowsAReachableWindow) {
  const TPlacementCase& c = GetParam();
  StorePlacement(0, c.Left, c.Top, c.Width, c.Height);
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("ZOrder", Dword(0));
  Start();
  Main().ShowMainForm(SW_SHOWNORMAL);
  const TBounds b = WindowBounds(Main().Handle());
  EXPECT_GE(b.Width, kMainMinTrackWidth);
  EXPECT_GT(b.Height, 0);
  RECT r{b.Left, b.Top, b.Left + b.Width, b.Top + b.Height};
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  ASSERT_TRUE(GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi));
  EXPECT_TRUE(CaptionReachable(b, {mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom}))
      << ToString(b);
  // Still answering and breathing.
  Clock.Now = 1000;
  SendMessageW(Main().Handle(), WM_TIMER, TFormLumeno::kTimerBreatchId, 0);
  EXPECT_EQ(Main().AlBarOddech().GetPosition(), 1000);
}

void PrintTo(const TPlacementCase& c, std::ostream* os) { *os << c.Name; }

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Placements, TAbsurdPlacement,
    ::testing::Values(TPlacementCase{"zero", 0, 0, 0, 0}, TPlacementCase{"negative", -1, -1, -1, -1},
                      TPlacementCase{"int32_min", kMin, kMin, kMin, kMin},
                      TPlacementCase{"int32_max", kMax, kMax, kMax, kMax},
                      TPlacementCase{"far_left_top", -30000, -30000, 229, 480},
                      TPlacementCase{"far_right_bottom", 30000, 30000, 229, 480},
                      TPlacementCase{"huge_and_negative", 0, 0, kMax, kMin},
                      TPlacementCase{"caption_above_screen", 300, -470, 229, 480}),
    [](const ::testing::TestParamInfo<TPlacementCase>& info) { return std::string(info.param.Name); });

TEST_F(TMainWindow, ReachableStoredBoundsAreKeptExactly) {
  StorePlacement(0, 100, 200, 102, 470);
  Start();
  Main().ShowMainForm(SW_SHOWNORMAL);
  EXPECT_EQ(ToString(WindowBounds(Main().Handle())), "100,200,102,470");
}

// Placement writes that change nothing reach neither the system nor the layout.
TEST_F(TMainWindow, SettingTheBoundsItAlreadyHasMovesNothing) {
  Start();
  HWND main = Main().Handle();
  int changes = 0;
  auto count = [](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) -> LRESULT {
    if (msg == WM_WINDOWPOSCHANGING) ++*reinterpret_cast<int*>(data);
    return DefSubclassProc(hwnd, msg, wp, lp);
  };
  ASSERT_TRUE(SetWindowSubclass(main, count, 1, reinterpret_cast<DWORD_PTR>(&changes)));
  const TBounds before = WindowBounds(main);
  Main().SetLeft(Main().GetLeft());
  Main().SetTop(Main().GetTop());
  Main().SetWidth(Main().GetWidth());
  Main().SetHeight(Main().GetHeight());
  EXPECT_EQ(changes, 0);
  Main().SetLeft(before.Left + 7);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(WindowBounds(main).Left, before.Left + 7);
  RemoveWindowSubclass(main, count, 1);
}

TEST_F(TMainWindow, ASessionWithAnEndShowsItsTimeAndProgressAndALockPausesIt) {
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Session Minutes", Dword(10));
  Start();
  HWND main = Main().Handle();
  SendMessageW(Application().Handle(), RegisterWindowMessageW(L"TaskbarButtonCreated"), 0, 0);
  Clock.Now = 90'000;
  SendMessageW(main, WM_TIMER, TFormLumeno::kTimerSessionId, 0);
  EXPECT_EQ(TextOf(Main().PanelText()), L"8:30");
  SendMessageW(main, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
  Clock.Now = 95'000;
  SendMessageW(main, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
  EXPECT_EQ(Main().Session().State(), TSessionState::Paused);
  EXPECT_EQ(TextOf(Main().PanelText()), L"Paused");
  // Asked of the taskbar once its button exists: the time so far, then paused.
  EXPECT_EQ(Taskbar.Calls[Taskbar.Calls.size() - 7], "created");
  EXPECT_EQ(std::vector<std::string>(Taskbar.Calls.end() - 4, Taskbar.Calls.end()),
            (std::vector<std::string>{"progress normal 90000/600000", "thumb || Pause", "progress paused 90000/600000",
                                      "thumb > Resume"}));
  // Closing reports the practice, not complete.
  Main().Exit1Click();
  ASSERT_EQ(Log.Records.size(), 1u);
  EXPECT_EQ(Log.Records[0].ActiveMilliseconds, 90'000);
  EXPECT_FALSE(Log.Records[0].Complete);
}

}  // namespace
}  // namespace lumeno::test
