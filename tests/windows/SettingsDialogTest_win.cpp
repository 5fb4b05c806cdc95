// The settings dialog under Wine: its controls, the arrows acting on the live
// pattern and the six figures, OK / Cancel / "Default settings" against the
// registry, where it opens, and that the pacer keeps running behind it.
#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstdint>
#include <iterator>

#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

using TSettingsDialog = TLumenoFixture;

// Cycle, rate, breath in, hold in, breath out, hold out, as shown.
std::string Figures(TFormSettings& dialog) {
  std::string s;
  for (int id : {IDC_DURATION, IDC_BPM, IDC_BREATHIN, IDC_HOLDIN, IDC_BREATHOUT, IDC_HOLDOUT}) {
    if (!s.empty()) s += ' ';
    s += Narrow(TextOf(dialog.Figure(id)));
  }
  return s;
}

// What the up-down sends its parent when an arrow is pressed.
void Press(TFormSettings& dialog, int upDownId, int position, int delta) {
  NMUPDOWN nm{};
  nm.hdr.hwndFrom = dialog.UpDown(upDownId);
  nm.hdr.idFrom = static_cast<UINT_PTR>(upDownId);
  nm.hdr.code = UDN_DELTAPOS;
  nm.iPos = position;
  nm.iDelta = delta;
  SendMessageW(dialog.Handle(), WM_NOTIFY, static_cast<WPARAM>(upDownId), reinterpret_cast<LPARAM>(&nm));
}

void Presses(TFormSettings& dialog, int upDownId, int delta, int count) {
  for (int i = 0; i < count; ++i) Press(dialog, upDownId, 0, delta);
}

bool Checked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

TEST_F(TSettingsDialog, HasItsCaptionSizeTextsAndInitialStates) {
  Start();
  HWND dialog = Settings().Handle();
  Settings().EnsureControls();
  EXPECT_EQ(TextOf(dialog), L"Settings");
  RECT client{};
  GetClientRect(dialog, &client);
  EXPECT_EQ(client.right, 418);
  EXPECT_EQ(client.bottom, 285);
  EXPECT_FALSE(GetWindowLongW(dialog, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), Main().Handle());

  std::vector<std::wstring> texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    texts.push_back(TextOf(child));
  for (const wchar_t* text : {L"Cycle duration is ", L"It is ", L"breaths per minute.", L"Breath in for ",
                              L"Hold in for ", L"Breath out for ", L"Hold out for ", L"seconds.", L"stay on top",
                              L"enable sounds"}) {
    EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << Narrow(text);
  }
  EXPECT_FALSE(Checked(Settings().CheckBoxStayOnTop()));
  EXPECT_TRUE(Checked(Settings().ChEnableSounds()));

  const TBounds strip = ChildBounds(Settings().BottomPanel());
  EXPECT_EQ(ToString(strip), "0,234,418,51");
  EXPECT_EQ(TextOf(Settings().ButtonOK()), L"OK");
  EXPECT_EQ(TextOf(Settings().ButtonCancel()), L"Cancel");
  EXPECT_EQ(TextOf(Settings().ButtonDefaultSettings()), L"Default settings");
  // OK first in the tab order, then Cancel.
  EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), Settings().ButtonOK());
  EXPECT_EQ(GetNextDlgTabItem(dialog, Settings().ButtonOK(), FALSE), Settings().ButtonCancel());
  // No button is the dialog's default: Enter and Escape are bound to nothing.
  for (HWND button : {Settings().ButtonOK(), Settings().ButtonCancel(), Settings().ButtonDefaultSettings()})
    EXPECT_FALSE(GetWindowLongW(button, GWL_STYLE) & BS_DEFPUSHBUTTON);

  for (int id : {IDC_DURATION, IDC_BPM, IDC_BREATHIN, IDC_HOLDIN, IDC_BREATHOUT, IDC_HOLDOUT}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(ChildBounds(Settings().Figure(id)).Width, 25);
    EXPECT_TRUE(GetWindowLongW(Settings().Figure(id), GWL_STYLE) & SS_CENTER);
  }
  for (int id : {IDC_UDURATION, IDC_UBPM, IDC_UBREATHIN, IDC_UHOLDIN, IDC_UBREATHOUT, IDC_UHOLDOUT}) {
    SCOPED_TRACE(id);
    int low = 0;
    int high = 0;
    SendMessageW(Settings().UpDown(id), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, -10000);
    EXPECT_EQ(high, 10000);
    EXPECT_EQ(SendMessageW(Settings().UpDown(id), UDM_GETBUDDY, 0, 0), 0);
  }
}

TEST_F(TSettingsDialog, FiguresShowTheLoadedPattern) {
  StoreSettings(21, 40, 12, 3, false, true, false);
  Start();
  EXPECT_EQ(Figures(Settings()), "7.6 7.9 2.1 1.2 4.0 0.3");
  EXPECT_FALSE(Checked(Settings().ChEnableSounds()));
}

TEST_F(TSettingsDialog, KeepsTheLoadedStatesUntilItsControlsComeWithTheFirstShowing) {
  StoreSettings(21, 40, 12, 3, true, false, false);
  Start();
  EXPECT_EQ(GetWindow(Settings().Handle(), GW_CHILD), nullptr);
  EXPECT_TRUE(Settings().StayOnTopChecked());
  EXPECT_FALSE(Settings().SoundsEnabled());
  // A store load before the controls exist (Cancel reloads, for one).
  Settings().SetSoundsChecked(true);
  Settings().SetStayOnTopChecked(false);
  Settings().SetStayOnTopChecked(true);

  HWND sounds = nullptr;
  std::string figures;
  TLater::After(60, [&] {
    sounds = GetDlgItem(Settings().Handle(), IDC_ENABLESOUNDS);
    figures = Figures(Settings());
    PostMessageW(Settings().Handle(), WM_CLOSE, 0, 0);
  });
  Settings().ShowModal();
  ASSERT_NE(sounds, nullptr);
  EXPECT_EQ(sounds, Settings().ChEnableSounds());
  EXPECT_EQ(figures, "7.6 7.9 2.1 1.2 4.0 0.3");
  EXPECT_TRUE(Checked(Settings().ChEnableSounds()));
  EXPECT_TRUE(Checked(Settings().CheckBoxStayOnTop()));
  // From now on the boxes themselves are what counts.
  SendMessageW(Settings().ChEnableSounds(), BM_CLICK, 0, 0);
  EXPECT_FALSE(Settings().SoundsEnabled());
  EXPECT_TRUE(Settings().StayOnTopChecked());
}

TEST_F(TSettingsDialog, ArrowsChangeTheLivePatternAndTheFigures) {
  Start();
  TFormSettings& s = Settings();
  EXPECT_EQ(Figures(s), "10.0 6.0 3.0 0.5 6.0 0.5");
  Presses(s, IDC_UBREATHIN, +1, 5);
  EXPECT_EQ(Figures(s), "10.5 5.7 3.5 0.5 6.0 0.5");
  // The down arrow stops at 0.1: 5 -> 4 -> 3 -> 2 -> 1 -> 1 -> 1.
  Presses(s, IDC_UHOLDIN, -1, 6);
  EXPECT_EQ(Figures(s), "10.1 5.9 3.5 0.1 6.0 0.5");
  // Cycle 10.1 -> 11.5 s: exhale 60%, each hold 5%, the inhale the rest.
  Presses(s, IDC_UDURATION, +1, 14);
  EXPECT_EQ(Figures(s), "11.5 5.2 3.4 0.6 6.9 0.6");
  // Rate 5.2 -> 5.4 a minute: cycle round(6000 / 54) = 111.
  Presses(s, IDC_UBPM, +1, 2);
  EXPECT_EQ(Figures(s), "11.1 5.4 3.2 0.6 6.7 0.6");
  Presses(s, IDC_UBREATHOUT, -1, 7);
  Presses(s, IDC_UHOLDOUT, +1, 4);
  EXPECT_EQ(Figures(s), "10.8 5.6 3.2 0.6 6.0 1.0");
  // The pacer reads the same pattern.
  EXPECT_EQ(s.Pattern().FBreathOut, 60);
  EXPECT_EQ(&static_cast<const IPatternSource&>(s).Pattern(), &s.Pattern());
  // Nothing is saved before OK.
  EXPECT_EQ(*Stored("Breath In"), Dword(30));
}

TEST_F(TSettingsDialog, APressOnlyCountsWhenTheCounterCanMove) {
  Start();
  TFormSettings& s = Settings();
  Press(s, IDC_UBREATHIN, 10000, +1);
  Press(s, IDC_UBREATHIN, -10000, -1);
  Press(s, IDC_UBREATHIN, 0, 0);
  EXPECT_EQ(s.Pattern().FBreathIn, 30);
  Press(s, IDC_UBREATHIN, 9999, +1);
  EXPECT_EQ(s.Pattern().FBreathIn, 31);
  Press(s, IDC_UBREATHIN, -9999, -1);
  EXPECT_EQ(s.Pattern().FBreathIn, 30);
}

TEST_F(TSettingsDialog, ClickingTheRealArrowsStepsThePattern) {
  Start();
  TFormSettings& s = Settings();
  HWND ud = s.UpDown(IDC_UHOLDOUT);
  RECT r{};
  GetClientRect(ud, &r);
  auto click = [&](bool up) {
    const LPARAM at = MAKELPARAM(r.right / 2, up ? r.bottom / 4 : r.bottom * 3 / 4);
    SendMessageW(ud, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(ud, WM_LBUTTONUP, 0, at);
  };
  click(true);
  click(true);
  EXPECT_EQ(s.Pattern().FHoldOut, 7);
  click(false);
  EXPECT_EQ(s.Pattern().FHoldOut, 6);
  EXPECT_EQ(Figures(s), "10.1 5.9 3.0 0.5 6.0 0.6");
  // At the end of its counter the control reports no more presses that way.
  SendMessageW(ud, UDM_SETPOS32, 0, 10000);
  click(true);
  EXPECT_EQ(s.Pattern().FHoldOut, 6);
  click(false);
  EXPECT_EQ(s.Pattern().FHoldOut, 5);
}

TEST_F(TSettingsDialog, DefaultSettingsResetsThePatternSavesAndStaysOpen) {
  StoreSettings(21, 40, 12, 3, false, true, false);
  Start();
  TFormSettings& s = Settings();
  SendMessageW(s.CheckBoxStayOnTop(), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(s.ButtonDefaultSettings(), BM_CLICK, 0, 0);
  EXPECT_EQ(Figures(s), "10.0 6.0 3.0 0.5 6.0 0.5");
  EXPECT_EQ(*Stored("Breath In"), Dword(30));
  EXPECT_EQ(*Stored("Breath Out"), Dword(60));
  EXPECT_EQ(*Stored("Hold In"), Dword(5));
  EXPECT_EQ(*Stored("Hold Out"), Dword(5));
  // The check boxes are not reset, and are saved as they stand.
  EXPECT_TRUE(Checked(s.CheckBoxStayOnTop()));
  EXPECT_EQ(*Stored("Stay on top"), Dword(1));
}

TEST_F(TSettingsDialog, OkSavesAndCancelReloads) {
  Start();
  TFormSettings& s = Settings();
  Presses(s, IDC_UBREATHOUT, +1, 20);
  SendMessageW(s.ChEnableSounds(), BM_SETCHECK, BST_UNCHECKED, 0);
  SendMessageW(s.ButtonOK(), BM_CLICK, 0, 0);
  EXPECT_EQ(*Stored("Breath Out"), Dword(80));
  EXPECT_EQ(*Stored("Enable sounds"), Dword(0));

  Presses(s, IDC_UBREATHOUT, +1, 3);
  SendMessageW(s.ChEnableSounds(), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageW(s.ButtonCancel(), BM_CLICK, 0, 0);
  EXPECT_EQ(s.Pattern().FBreathOut, 80);
  EXPECT_EQ(Figures(s), "12.0 5.0 3.0 0.5 8.0 0.5");
  EXPECT_FALSE(Checked(s.ChEnableSounds()));
}

TEST_F(TSettingsDialog, CancelReappliesTheStoredStayOnTopAndSideMenu) {
  Start();
  EXPECT_TRUE(Main().PanelMenuVisible());
  StoreSettings(30, 60, 5, 5, true, false, true);
  // Ticking the box alone changes nothing on the main window.
  SendMessageW(Settings().CheckBoxStayOnTop(), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_FALSE(GetWindowLongW(Main().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  Settings().CancelClick();
  EXPECT_TRUE(GetWindowLongW(Main().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_FALSE(Main().PanelMenuVisible());
  EXPECT_EQ(WindowBounds(Main().Handle()).Width, 229);
}

TEST_F(TSettingsDialog, UncheckingSoundsTakesEffectForThePacerAtOnce) {
  Start();
  EXPECT_TRUE(Settings().SoundsEnabled());
  SendMessageW(Settings().ChEnableSounds(), BM_CLICK, 0, 0);
  EXPECT_FALSE(Settings().SoundsEnabled());
  Events.clear();
  Clock.Now = 3000;
  SendMessageW(Main().Handle(), WM_TIMER, TFormLumeno::kTimerBreatchId, 0);
  SendMessageW(Main().Handle(), WM_TIMER, TFormLumeno::kTimerBreatchId, 0);
  EXPECT_EQ(Main().Pacer().Tag, 2);
  EXPECT_TRUE(Events.empty()) << Events.front();
}

// Shows the dialog modally and closes it from inside its loop after a while,
// noting where it stood.
TBounds ShowAndClose(TFormSettings& s, int milliseconds = 60) {
  TBounds shown{};
  TLater::After(milliseconds, [&] {
    shown = WindowBounds(s.Handle());
    PostMessageW(s.Handle(), WM_CLOSE, 0, 0);
  });
  s.ShowModal();
  return shown;
}

TEST_F(TSettingsDialog, OpensCentredFirstThenBesideTheBar) {
  Start();
  HWND main = Main().Handle();
  ShowWindow(main, SW_SHOWNA);
  SetWindowPos(main, nullptr, 300, 200, 229, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  const TBounds self = WindowBounds(Settings().Handle());
  const TBounds first = ShowAndClose(Settings());
  EXPECT_EQ(first.Left, 300 + (229 - self.Width) / 2);
  EXPECT_EQ(first.Top, 200 + (480 - self.Height) / 2);

  SetWindowPos(main, nullptr, 100, 50, 229, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  const TBounds second = ShowAndClose(Settings());
  EXPECT_EQ(second.Left, 100 + ChildBounds(Main().AlBarOddech().Handle()).Width + 10);
  EXPECT_EQ(second.Top, first.Top);
}

TEST_F(TSettingsDialog, FirstCentringRaisesANegativeLeftOrTopToZero) {
  Start();
  HWND main = Main().Handle();
  ShowWindow(main, SW_SHOWNA);
  SetWindowPos(main, nullptr, 0, 0, 229, 200, SWP_NOZORDER | SWP_NOACTIVATE);
  const TBounds first = ShowAndClose(Settings());
  EXPECT_EQ(first.Left, 0);
  EXPECT_EQ(first.Top, 0);
}

TEST_F(TSettingsDialog, ModalLoopKeepsThePacerTickingAndTheOwnerDisabled) {
  Start();
  HWND main = Main().Handle();
  ShowWindow(main, SW_SHOWNA);
  const int before = Clock.Reads;
  bool ownerDisabled = false;
  TLater::After(300, [&] {
    ownerDisabled = !IsWindowEnabled(main);
    PostMessageW(Settings().Handle(), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(Settings().ShowModal(), mrCancel);
  // Ticks come every 10 ms or so; each inhale tick reads the clock.
  EXPECT_GT(Clock.Reads - before, 5);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(main));
  EXPECT_FALSE(IsWindowVisible(Settings().Handle()));
}

TEST_F(TSettingsDialog, CaptionCloseNeitherSavesNorReloads) {
  Start();
  Presses(Settings(), IDC_UBREATHIN, +1, 3);
  Hive().log.clear();
  TLater::After(50, [&] { PostMessageW(Settings().Handle(), WM_CLOSE, 0, 0); });
  Settings().ShowModal();
  EXPECT_EQ(Settings().Pattern().FBreathIn, 33);
  EXPECT_TRUE(Hive().log.empty());
}

TEST_F(TSettingsDialog, OkAndCancelCloseTheModalDialog) {
  Start();
  TLater::After(50, [&] { PostMessageW(Settings().ButtonOK(), BM_CLICK, 0, 0); });
  EXPECT_EQ(Settings().ShowModal(), mrOk);
  TLater::After(50, [&] { PostMessageW(Settings().ButtonCancel(), BM_CLICK, 0, 0); });
  EXPECT_EQ(Settings().ShowModal(), mrCancel);
}

// Keys as the keyboard would deliver them to the focused control.
void PostKey(HWND to, WPARAM key) {
  PostMessageW(to, WM_KEYDOWN, key, 1);
  PostMessageW(to, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

TEST_F(TSettingsDialog, EnterAndEscapeAreBoundToNothing) {
  Start();
  bool openAfterKeys = false;
  TLater::After(60, [&] {
    SetFocus(Settings().CheckBoxStayOnTop());
    PostKey(Settings().CheckBoxStayOnTop(), VK_ESCAPE);
    PostKey(Settings().CheckBoxStayOnTop(), VK_RETURN);
  });
  TLater::After(200, [&] {
    openAfterKeys = IsWindowVisible(Settings().Handle()) != FALSE;
    PostMessageW(Settings().Handle(), WM_CLOSE, 0, 0);
  });
  Settings().ShowModal();
  EXPECT_TRUE(openAfterKeys);
  EXPECT_FALSE(Checked(Settings().CheckBoxStayOnTop()));
}

TEST_F(TSettingsDialog, EnterPressesTheFocusedButtonAndTabMovesOn) {
  Start();
  HWND focusAtStart = nullptr;
  HWND focusAfterTab = nullptr;
  TLater::After(60, [&] {
    focusAtStart = GetFocus();
    PostKey(GetFocus(), VK_TAB);
  });
  TLater::After(150, [&] {
    focusAfterTab = GetFocus();
    PostKey(Settings().ButtonOK(), VK_RETURN);
  });
  TLater::After(1000, [&] { PostMessageW(Settings().Handle(), WM_CLOSE, 0, 0); });
  EXPECT_EQ(Settings().ShowModal(), mrOk);
  EXPECT_EQ(focusAtStart, Settings().ButtonOK());
  EXPECT_EQ(focusAfterTab, Settings().ButtonCancel());
}

TEST_F(TSettingsDialog, FiguresFollowTheLocaleDecimalSeparator) {
  wchar_t saved[8] = {};
  GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved, 8);
  Start();
  ASSERT_TRUE(SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, L","));
  SendMessageW(Settings().Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  EXPECT_EQ(Figures(Settings()), "10,0 6,0 3,0 0,5 6,0 0,5");
  SetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, saved);
  SendMessageW(Settings().Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
  EXPECT_EQ(Figures(Settings()), "10.0 6.0 3.0 0.5 6.0 0.5");
}

// What the list sends its parent when the user picks an entry.
void Choose(TFormSettings& dialog, int index) {
  HWND combo = dialog.ComboPattern();
  SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(dialog.Handle(), WM_COMMAND, MAKEWPARAM(IDC_PATTERN, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::string Chosen(TFormSettings& dialog) { return Narrow(TextOf(dialog.ComboPattern())); }

std::string Phases(const TBreathingPattern& p) {
  return std::to_string(p.FBreathIn) + " " + std::to_string(p.FHoldOut) + " " + std::to_string(p.FBreathOut) + " " +
         std::to_string(p.FHoldIn);
}

TEST_F(TSettingsDialog, PatternListSitsInTheLeftColumnBetweenTheCheckBoxesAndTheStrip) {
  Start();
  TFormSettings& s = Settings();
  HWND combo = s.ComboPattern();
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(Narrow(TextOf(GetDlgItem(s.Handle(), IDC_PATTERNLABEL))), "Pattern:");
  // The label comes just before the list, so it names it.
  EXPECT_EQ(GetWindow(combo, GW_HWNDPREV), GetDlgItem(s.Handle(), IDC_PATTERNLABEL));
  EXPECT_EQ(GetWindowLongW(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
  std::vector<std::string> entries;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[64] = {};
    if (SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0) < 64)
      SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    entries.push_back(Narrow(text));
  }
  EXPECT_EQ(entries, (std::vector<std::string>{"Default (6 per minute)", "Coherent (5.5 per minute)", "Box 4-4-4-4",
                                               "4-7-8 relaxing", "Long exhale 4-6", "Custom"}));
  EXPECT_EQ(Chosen(s), "Default (6 per minute)");

  // The check boxes and the line keep their places; label and list fit
  // between the boxes (to y 167) and the strip (from y 234), left of the line.
  EXPECT_EQ(ToString(ChildBounds(s.CheckBoxStayOnTop())), "12,124,170,17");
  EXPECT_EQ(ToString(ChildBounds(s.ChEnableSounds())), "12,150,170,17");
  for (HWND control : {GetDlgItem(s.Handle(), IDC_PATTERNLABEL), combo}) {
    const TBounds b = ChildBounds(control);
    SCOPED_TRACE(ToString(b));
    EXPECT_GE(b.Left, 12);
    EXPECT_LE(b.Left + b.Width, 196);
    EXPECT_GE(b.Top, 167);
    EXPECT_LE(b.Top + b.Height, 234);
  }
  EXPECT_LE(ChildBounds(GetDlgItem(s.Handle(), IDC_PATTERNLABEL)).Top + 13, ChildBounds(combo).Top);
  // A tab stop after the check boxes.
  EXPECT_TRUE(GetWindowLongW(combo, GWL_STYLE) & WS_TABSTOP);
  EXPECT_EQ(GetNextDlgTabItem(s.Handle(), s.ChEnableSounds(), FALSE), combo);
}

TEST_F(TSettingsDialog, EachEntrySetsTheLivePatternAndTheFigures) {
  Start();
  TFormSettings& s = Settings();
  const struct {
    int index;
    const char* phases;  // in, hold after in, out, hold after out
    const char* figures;
  } rows[] = {
      {2, "40 40 40 40", "16.0 3.8 4.0 4.0 4.0 4.0"},  {1, "55 0 55 0", "11.0 5.5 5.5 0.0 5.5 0.0"},
      {3, "40 70 80 0", "19.0 3.2 4.0 0.0 8.0 7.0"},   {4, "40 0 60 0", "10.0 6.0 4.0 0.0 6.0 0.0"},
      {0, "30 5 60 5", "10.0 6.0 3.0 0.5 6.0 0.5"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.index);
    Choose(s, row.index);
    EXPECT_EQ(Phases(s.Pattern()), row.phases);
    EXPECT_EQ(Figures(s), row.figures);
    EXPECT_EQ(SendMessageW(s.ComboPattern(), CB_GETCURSEL, 0, 0), row.index);
  }
  // Nothing is saved before OK.
  EXPECT_EQ(*Stored("Breath In"), Dword(30));
}

TEST_F(TSettingsDialog, CustomBringsBackTheFiguresFromBeforeTheFirstPreset) {
  StoreSettings(33, 66, 4, 7, false, true, true);
  Start();
  TFormSettings& s = Settings();
  const std::string own = Figures(s);
  Choose(s, 5);  // no preset chosen yet: nothing changes
  EXPECT_EQ(Figures(s), own);
  Choose(s, 2);
  Choose(s, 3);
  Choose(s, 5);
  EXPECT_EQ(Phases(s.Pattern()), "33 7 66 4");
  EXPECT_EQ(Figures(s), own);
  EXPECT_EQ(Chosen(s), "Custom");
}

TEST_F(TSettingsDialog, ThePacersNextPhasesTakeTheChosenPattern) {
  Start();
  TFormSettings& s = Settings();
  HWND main = Main().Handle();
  auto tick = [&] { SendMessageW(main, WM_TIMER, TFormLumeno::kTimerBreatchId, 0); };
  Choose(s, 3);  // "4-7-8 relaxing" during the first inhale
  // The running inhale keeps its 3.0 s; from its end on the new phases count.
  Clock.Now = 3000;
  tick();
  EXPECT_EQ(Main().Pacer().Tag, 1);
  EXPECT_EQ(Main().TimerBreatch().Interval(), 7000u);
  tick();
  EXPECT_EQ(Main().AlBarOddech().GetMax(), 8000);
  Clock.Now = 11000;
  tick();
  EXPECT_EQ(Main().Pacer().Tag, 3);
  // No pause with empty lungs: the shortest interval, one tick.
  EXPECT_EQ(Main().TimerBreatch().Interval(), 1u);
  tick();
  EXPECT_EQ(Main().Pacer().Tag, 0);
  EXPECT_EQ(Main().AlBarOddech().GetMax(), 4000);
}

TEST_F(TSettingsDialog, OkStoresTheChosenPatternAndCancelRestoresIt) {
  Start();
  TFormSettings& s = Settings();
  Choose(s, 3);
  SendMessageW(s.ButtonOK(), BM_CLICK, 0, 0);
  EXPECT_EQ(*Stored("Breath In"), Dword(40));
  EXPECT_EQ(*Stored("Hold In"), Dword(0));
  EXPECT_EQ(*Stored("Breath Out"), Dword(80));
  EXPECT_EQ(*Stored("Hold Out"), Dword(70));

  Choose(s, 2);
  SendMessageW(s.ButtonCancel(), BM_CLICK, 0, 0);
  EXPECT_EQ(Phases(s.Pattern()), "40 70 80 0");
  EXPECT_EQ(Figures(s), "19.0 3.2 4.0 0.0 8.0 7.0");
  EXPECT_EQ(Chosen(s), "4-7-8 relaxing");
}

TEST_F(TSettingsDialog, TheListFollowsThePattern) {
  StoreSettings(40, 40, 40, 40, false, true, true);
  Start();
  TFormSettings& s = Settings();
  EXPECT_EQ(Chosen(s), "Box 4-4-4-4");
  Presses(s, IDC_UHOLDIN, +1, 1);
  EXPECT_EQ(Chosen(s), "Custom");
  Presses(s, IDC_UHOLDIN, -1, 1);
  EXPECT_EQ(Chosen(s), "Box 4-4-4-4");
  // Cycle 10.0 split again gives the default pattern.
  Choose(s, 4);
  Presses(s, IDC_UDURATION, +1, 1);
  EXPECT_EQ(Chosen(s), "Custom");
  Presses(s, IDC_UDURATION, -1, 1);
  EXPECT_EQ(Chosen(s), "Default (6 per minute)");
  Choose(s, 1);
  SendMessageW(s.ButtonDefaultSettings(), BM_CLICK, 0, 0);
  EXPECT_EQ(Chosen(s), "Default (6 per minute)");

  // A load: 4-7-8 with its pauses the other way round is no entry, nor are
  // negative or huge stored values.
  for (const auto& stored : {std::array<int32_t, 4>{40, 80, 70, 0}, std::array<int32_t, 4>{-40, 80, 0, 70},
                             std::array<int32_t, 4>{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN}}) {
    StoreSettings(stored[0], stored[1], stored[2], stored[3], false, true, true);
    s.CancelClick();
    EXPECT_EQ(Chosen(s), "Custom");
  }
  StoreSettings(55, 55, 0, 0, false, true, true);
  s.CancelClick();
  EXPECT_EQ(Chosen(s), "Coherent (5.5 per minute)");
}

TEST_F(TSettingsDialog, ArrowKeysOnTheListApplyEachEntry) {
  Start();
  TFormSettings& s = Settings();
  HWND focusAfterTab = nullptr;
  std::vector<std::string> seen;
  TLater::After(60, [&] {
    SetFocus(s.ChEnableSounds());
    PostKey(s.ChEnableSounds(), VK_TAB);
  });
  TLater::After(150, [&] {
    focusAfterTab = GetFocus();
    PostKey(s.ComboPattern(), VK_DOWN);
  });
  TLater::After(250, [&] {
    seen.push_back(Chosen(s) + ": " + Phases(s.Pattern()));
    PostKey(s.ComboPattern(), VK_DOWN);
    PostKey(s.ComboPattern(), VK_DOWN);
  });
  TLater::After(350, [&] {
    seen.push_back(Chosen(s) + ": " + Phases(s.Pattern()));
    PostKey(s.ComboPattern(), VK_UP);
  });
  TLater::After(450, [&] {
    seen.push_back(Chosen(s) + ": " + Phases(s.Pattern()));
    PostMessageW(s.Handle(), WM_CLOSE, 0, 0);
  });
  s.ShowModal();
  EXPECT_EQ(focusAfterTab, s.ComboPattern());
  EXPECT_EQ(seen, (std::vector<std::string>{"Coherent (5.5 per minute): 55 0 55 0", "4-7-8 relaxing: 40 70 80 0",
                                            "Box 4-4-4-4: 40 40 40 40"}));
  EXPECT_EQ(Figures(s), "16.0 3.8 4.0 4.0 4.0 4.0");
}

// The text of the tooltip's tool at a point of window hwnd (client
// coordinates), empty when no tool is there.
std::wstring TipAt(HWND toolTip, HWND hwnd, POINT at) {
  TTHITTESTINFOW hit{};
  hit.hwnd = hwnd;
  hit.pt = at;
  hit.ti.cbSize = sizeof hit.ti;
  if (!SendMessageW(toolTip, TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit))) return {};
  wchar_t text[256] = {};
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = hit.ti.hwnd;
  tool.uId = hit.ti.uId;
  tool.lpszText = text;
  SendMessageW(toolTip, TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
  return text;
}

// The middle of a control, in its parent's client coordinates or its own.
POINT MiddleIn(HWND control, bool own) {
  const TBounds b = ChildBounds(control);
  return own ? POINT{b.Width / 2, b.Height / 2} : POINT{b.Left + b.Width / 2, b.Top + b.Height / 2};
}

HWND StaticWithText(HWND dialog, const wchar_t* text) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (TextOf(child) == text) return child;
  return nullptr;
}

TEST_F(TSettingsDialog, TooltipsSayWhereEachPauseFalls) {
  Start();
  TFormSettings& s = Settings();
  HWND tip = s.ToolTip();
  ASSERT_NE(tip, nullptr);
  const std::wstring holdIn = L"The pause with empty lungs: after breathing out, before breathing in.";
  const std::wstring holdOut = L"The pause with full lungs: after breathing in, before breathing out.";
  const std::wstring cycle =
      L"Changing the cycle splits it: 60% breathing out, 5% for each pause, the rest breathing in.";
  const std::wstring rate =
      L"Changing the rate splits the cycle it gives: 60% breathing out, 5% for each pause, the rest breathing in.";
  const struct {
    const wchar_t* text;
    int figure, upDown;
    const std::wstring& tip;
  } rows[] = {
      {L"Hold in for ", IDC_HOLDIN, IDC_UHOLDIN, holdIn},
      {L"Hold out for ", IDC_HOLDOUT, IDC_UHOLDOUT, holdOut},
      {L"Cycle duration is ", IDC_DURATION, IDC_UDURATION, cycle},
      {L"It is ", IDC_BPM, IDC_UBPM, rate},
  };
  HWND dialog = s.Handle();
  for (const auto& row : rows) {
    SCOPED_TRACE(Narrow(row.text));
    HWND text = StaticWithText(dialog, row.text);
    ASSERT_NE(text, nullptr);
    // Over the text and the value label the mouse reaches the dialog; over the arrows, the arrows.
    EXPECT_EQ(TipAt(tip, dialog, MiddleIn(text, false)), row.tip);
    EXPECT_EQ(TipAt(tip, dialog, MiddleIn(s.Figure(row.figure), false)), row.tip);
    EXPECT_EQ(TipAt(tip, s.UpDown(row.upDown), MiddleIn(s.UpDown(row.upDown), true)), row.tip);
  }
  EXPECT_EQ(TipAt(tip, s.ComboPattern(), MiddleIn(s.ComboPattern(), true)), L"Sets all four phases; OK saves them.");
  // The breathing rows and the check boxes have none.
  EXPECT_EQ(TipAt(tip, dialog, MiddleIn(StaticWithText(dialog, L"Breath in for "), false)), L"");
  EXPECT_EQ(TipAt(tip, dialog, MiddleIn(s.CheckBoxStayOnTop(), false)), L"");
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 9);
}

// What the tooltip shows once the pointer has rested on a row's text: its
// text and where its window is (empty and all zero when none shows).
struct TShownTip {
  std::wstring Text;
  RECT Window{};
  int LineHeight = 0;  // of the tip's font
};

TShownTip HoverRow(TFormSettings& s, HWND main, const wchar_t* rowText) {
  ShowWindow(main, SW_SHOWNA);
  TShownTip shown;
  // From elsewhere, so the pointer surely moves onto the row.
  TLater::After(60, [&] { SetCursorPos(0, 0); });
  TLater::After(150, [&] {
    RECT r{};
    GetWindowRect(StaticWithText(s.Handle(), rowText), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  });
  TLater::After(1500, [&] {
    wchar_t text[256] = {};
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.lpszText = text;
    if (SendMessageW(s.ToolTip(), TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
      SendMessageW(s.ToolTip(), TTM_GETTEXTW, std::size(text), reinterpret_cast<LPARAM>(&tool));
      shown.Text = text;
    }
    if (IsWindowVisible(s.ToolTip())) {
      GetWindowRect(s.ToolTip(), &shown.Window);
      HDC dc = GetDC(s.ToolTip());
      HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(s.ToolTip(), WM_GETFONT, 0, 0)));
      TEXTMETRICW tm{};
      GetTextMetricsW(dc, &tm);
      shown.LineHeight = tm.tmHeight;
      SelectObject(dc, old);
      ReleaseDC(s.ToolTip(), dc);
    }
    PostMessageW(s.Handle(), WM_CLOSE, 0, 0);
  });
  s.ShowModal();
  return shown;
}

TEST_F(TSettingsDialog, HoveringAHoldRowShowsItsTooltip) {
  Start();
  EXPECT_EQ(HoverRow(Settings(), Main().Handle(), L"Hold in for ").Text,
            L"The pause with empty lungs: after breathing out, before breathing in.");
}

TEST_F(TSettingsDialog, ALongTipWrapsWithinTheDialogsWidth) {
  Start();
  TFormSettings& s = Settings();
  // The rate row's tip is the longest: on one line it is wider than the dialog.
  const TShownTip shown = HoverRow(s, Main().Handle(), L"It is ");
  ASSERT_EQ(shown.Text.rfind(L"Changing the rate splits", 0), 0u) << Narrow(shown.Text);
  RECT client{};
  GetClientRect(s.Handle(), &client);
  const LONG width = shown.Window.right - shown.Window.left;
  const LONG height = shown.Window.bottom - shown.Window.top;
  EXPECT_GT(width, client.right / 3);
  EXPECT_LT(width, client.right);
  ASSERT_GT(shown.LineHeight, 0);
  EXPECT_GE(height, 2 * shown.LineHeight) << "one line " << shown.LineHeight << " px";
}

}  // namespace
}  // namespace lumeno::test
