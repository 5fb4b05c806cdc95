#include "windows/LumenoForm.h"

#include <commctrl.h>
#include <wtsapi32.h>

#include <algorithm>
#include <vector>

#include "base/SystemLibrary_win.h"
#include "exercise/Clock_win.h"
#include "exercise/Sound_win.h"
#include "persistence/Registry_win.h"
#include "persistence/SettingsStore.h"
#include "resource.h"
#include "windows/LumenoAbout.h"
#include "windows/LumenoInstruction.h"
#include "windows/LumenoLook.h"
#include "windows/LumenoSettings.h"
#include "windows/LumenoTexts.h"

namespace lumeno {

namespace {

constexpr wchar_t kClassName[] = L"TFormLumeno";
constexpr wchar_t kCaption[] = L"Lumeno";
constexpr TBounds kDesignBounds{416, 115, 229, 480};
// Red 254, green 191, blue 1.
constexpr TColor kBarColor2 = 114686;
constexpr int kMenuButtonLeft = 16;
constexpr int kMenuButtonWidth = 99;
constexpr int kMenuButtonHeight = 25;
constexpr int kMemoWidth = 109;
constexpr int kLinkWidth = 130;
// The panel's text: its gap from the menu button and the panel's edges, and
// the least room the button's caption keeps (design pixels).
constexpr int kPanelTextGap = 4;
constexpr int kPanelTextMargin = 2;
constexpr int kBmenuCaptionPadding = 8;
// The bar's default action, asked for by a screen reader from any thread,
// is done from the message loop.
constexpr UINT WM_APP_TOGGLE_PRACTICE = WM_APP + 20;
// The link label, centred on the side menu (it overhangs by a pixel or two).
constexpr TBounds kLinkDesign{Div2(kPanelMenuWidth - kLinkWidth), 160, kLinkWidth, 13};
// How long the sound's thread may take to stop and end when the window goes.
constexpr unsigned kPlayerEndMs = 2000;

// A child control's bounds in its parent's client coordinates.
TBounds ChildBoundsOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// A text's width in a control's own font.
int32_t TextWidthIn(HWND control, const std::wstring& text) {
  TScopedGetDc dc(control);
  if (!dc) return 0;
  TScopedSelect font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// What a click on the bar does now, as the bar's default action and the
// thumbnail button's tooltip name it.
const wchar_t* ToggleName(TSessionState state) {
  return state == TSessionState::Running ? L"Pause" : state == TSessionState::Paused ? L"Resume" : L"Start";
}

// The summary as a screen reader says it: its lines as sentences.
std::wstring SpokenSummary(const std::string& summary) {
  std::string spoken;
  for (char c : summary) spoken += c == '\n' ? std::string(". ") : std::string(1, c);
  return Widen(spoken + ".");
}

}  // namespace

TFormLumeno::TFormLumeno(TApplication& application, TLumenoServices services)
    : FApplication(application), FServices(std::move(services)) {
  if (!FServices.MakeRegistry) FServices.MakeRegistry = MakeWin32Registry;
  if (!FServices.Clock) {
    FOwnClock = std::make_unique<TPerformanceClock>();
    FServices.Clock = FOwnClock.get();
  }
  if (!FServices.Sound) {
    FPlayer = FServices.Player ? FServices.Player : &TPlayerThread::System();
    FOwnSound = std::make_unique<TWaveSound>(*FPlayer);
    FServices.Sound = FOwnSound.get();
  }
  // Only paths: nothing is read before the history is shown or written.
  FJournal = std::make_unique<TPracticeJournal>(FServices.PracticeFolder);
  if (!FServices.PracticeLog) FServices.PracticeLog = FJournal.get();
  FPacer = std::make_unique<TBreathingPacer>(*FServices.Clock, FTimerBreatch, FPacerBar, *FServices.Sound);
  if (!FServices.Taskbar) {
    FOwnTaskbar = MakeSystemTaskbarButton();
    FServices.Taskbar = FOwnTaskbar.get();
  }
  if (!FServices.LocalNow) FServices.LocalNow = SystemLocalNow;
  FSession = std::make_unique<TPracticeSession>(*FServices.Clock, *FPacer, *FServices.Sound, FServices.LocalNow);
  FSession->SetLog(FServices.PracticeLog);

  HINSTANCE instance = application.Instance() ? application.Instance() : GetModuleHandleW(nullptr);
  HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_LUMENO));
  TFormDesc desc{kClassName,
                 kCaption,
                 WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                 WS_EX_TOOLWINDOW,
                 kDesignBounds.Left,
                 kDesignBounds.Top,
                 kDesignBounds.Width,
                 kDesignBounds.Height,
                 false,
                 COLOR_BTNFACE,
                 icon,
                 application.Handle()};
  if (!CreateForm(desc)) return;
  application.SetMainWindow(FHandle);
  application.OnShowMainForm = [this](int showCommand) { ShowMainForm(showCommand); };
  application.KeyPreview = [this](const MSG& msg) { return KeyPreview(msg); };
  // The taskbar's messages go to the window that owns the button.
  FTaskbarButtonCreated = RegisterWindowMessageW(L"TaskbarButtonCreated");
  application.OnAppMessage = [this](UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    result = 0;
    if (msg == FTaskbarButtonCreated && msg != 0) {
      FServices.Taskbar->ButtonCreated(FApplication.Handle());
      UpdateTaskbar();
      return true;
    }
    if (msg == WM_COMMAND && IsThumbButtonClick(wp)) {
      AlBarOddechClick();
      return true;
    }
    return false;
  };

  CreateControls();
  // The controls start in the classic colours; a high-contrast theme changes them now.
  RefreshHighContrast();
  ApplyColours(false);

  // The placement store hooks the close query while the description is read.
  FRegForm = std::make_unique<TRegForm>(*this, FServices.MakeRegistry);
  FRegForm->RegEnabled = true;
  FRegForm->SetRegLocation(TRegLocation::CurrentUser);
  FRegForm->SetRegKey(kLumenoKey);
  FRegForm->SetZOrder(static_cast<uint8_t>(TRegFormZOrder::zoNormal));

  FGuardHost = std::make_unique<TApplicationGuardHost>(application);
  FXJustOne1 = std::make_unique<TXJustOne>(*FGuardHost);
  FXJustOne1->SwitchToPrevious = true;

  CreatePopupMenu();
  FTimerBreatch.Attach(FHandle);

  // Every component's after-load step, in description order.
  FLoading = false;
  FAlBarOddech.SetLoading(false);
  Relayout();
  FRegForm->LoadPlacement();
  if (FServices.GuardLoaded) {
    FServices.GuardLoaded();
  } else {
    FXJustOne1->Loaded();
  }

  FSession->SetView(this);
  FormCreate();
}

TFormLumeno::~TFormLumeno() {
  if (FHandle && FApplication.MainWindow() == FHandle) {
    FApplication.OnShowMainForm = nullptr;
    FApplication.KeyPreview = nullptr;
    FApplication.OnAppMessage = nullptr;
    FApplication.SetMainWindow(nullptr);
  }
  if (FLockWatched && FHandle) {
    BOOL(WINAPI * unregister)(HWND) = nullptr;
    ResolveProc(GetModuleHandleW(L"wtsapi32.dll"), "WTSUnRegisterSessionNotification", unregister);
    if (unregister) unregister(FHandle);
  }
  FSession->SetView(nullptr);
  FTimerBreatch.SetEnabled(false);
  DestroyForm();
  if (FPopupMenu) DestroyMenu(FPopupMenu);
  // Everything is saved by now. The sound stops and its thread ends; one
  // stuck inside the system's player would keep the process alive after
  // WinMain returns, so then the process ends here.
  if (FPlayer && !FPlayer->End(kPlayerEndMs))
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(FApplication.ExitCode()));
}

void TFormLumeno::SetForms(TFormSettings* settings, TFormInstruction* instruction, TFormAbout* about) {
  FFormSettings = settings;
  FFormInstruction = instruction;
  FFormAbout = about;
}

void TFormLumeno::CreateControls() {
  // Design units: the controls' places scale with the window; Relayout then
  // docks them to the client area as it is.
  RECT client{};
  GetClientRect(FHandle, &client);
  const TMainLayout layout = LayOutMain(DesignOf(client.right), DesignOf(client.bottom), true);

  FAlBarOddech.SetLoading(true);
  FAlBarOddech.SetDirection(pdBottomToTop);
  FAlBarOddech.SetBarColorStyle(cs3Colors);
  FAlBarOddech.SetBarColor1(clActiveCaption);
  FAlBarOddech.SetBarColor2(kBarColor2);
  FAlBarOddech.SetBarColor3(kBarColor2);
  FAlBarOddech.SetShowPosText(false);
  FAlBarOddech.SetPosition(100);
  FAlBarOddech.SetAccessibleName(L"Breathing");
  FAlBarOddech.SetAccessibleAction(L"Pause");
  FAlBarOddech.OnClick = [this] { AlBarOddechClick(); };
  FAlBarOddech.OnAccessibleAction = [this] { PostMessageW(FHandle, WM_APP_TOGGLE_PRACTICE, 0, 0); };
  const TBounds bar = Scale(layout.Bar);
  FAlBarOddech.SetBorderWidth(Scale(1));
  FAlBarOddech.Create(FHandle, bar.Left, bar.Top, bar.Width, bar.Height, IDC_BAR);
  FAlBarOddech.SetFont(Font());

  const DWORD panelStyle = WS_CLIPSIBLINGS;
  FPanel1 = AddControl(FHandle, {PanelClass(), L"", panelStyle, WS_EX_CONTROLPARENT, layout.Panel1.Left,
                                 layout.Panel1.Top, layout.Panel1.Width, layout.Panel1.Height, IDC_PANEL1});
  FBmenu = AddControl(FPanel1, {L"BUTTON", L"Menu  >>", BS_PUSHBUTTON | WS_TABSTOP, 0,
                                BmenuLeft(kDesignBounds.Width, layout.Panel1.Width, true), kBmenuTop, kBmenuWidth,
                                kBmenuHeight, IDC_BMENU});

  FPanelMenu = AddControl(FHandle, {PanelClass(), L"", panelStyle, WS_EX_CONTROLPARENT, layout.PanelMenu.Left,
                                    layout.PanelMenu.Top, layout.PanelMenu.Width, layout.PanelMenu.Height,
                                    IDC_PANELMENU});
  FBInstruction = AddControl(FPanelMenu, {L"BUTTON", L"Instrukcja", BS_PUSHBUTTON | WS_TABSTOP, 0, kMenuButtonLeft,
                                          14, kMenuButtonWidth, kMenuButtonHeight, IDC_BINSTRUCTION});
  FBSettings = AddControl(FPanelMenu, {L"BUTTON", L"Ustawienia", BS_PUSHBUTTON | WS_TABSTOP, 0, kMenuButtonLeft, 46,
                                       kMenuButtonWidth, kMenuButtonHeight, IDC_BSETTINGS});
  FBAbout = AddControl(FPanelMenu, {L"BUTTON", L"O programie", BS_PUSHBUTTON | WS_TABSTOP, 0, kMenuButtonLeft, 80,
                                    kMenuButtonWidth, kMenuButtonHeight, IDC_BABOUT});
  FMemo1 = AddControl(FPanelMenu,
                      {L"EDIT", L"Jeśli chcesz mieć \r\nnajnowszą wersję \r\nprogramu, kliknij na",
                       ES_MULTILINE | ES_CENTER | ES_WANTRETURN | WS_TABSTOP, 0,
                       Div2(kPanelMenuWidth - kMemoWidth), 120, kMemoWidth, 41, IDC_MEMO1});
  // Three lines in a box three lines high: the edit's own margins go to the
  // text, so a slightly wider substitute font still fits without wrapping.
  SendMessageW(FMemo1, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  SwallowEscape(FMemo1);
  MoveOnWithTab(FMemo1);

  FLinkLabel1.SetAutoSize(false);
  FLinkLabel1.SetAlignment(TLinkAlignment::Center);
  const TBounds link = Scale(kLinkDesign);
  FLinkLabel1.Create(FPanelMenu, link.Left, link.Top, link.Width, link.Height, IDC_LINKLABEL1);
  FLinkLabel1.SetFont(Font());
  FLinkLabel1.SetCaption(kMakerHostW);
  FLinkLabel1.SetLinkType(lthttp);
  FLinkLabel1.SetHyperLink(kMakerHost);
}

void TFormLumeno::DpiChanged() {
  // A new font brings the edit's default margins back.
  if (FMemo1) SendMessageW(FMemo1, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  FAlBarOddech.SetBorderWidth(Scale(1));
  FAlBarOddech.SetFont(Font());
  if (HWND link = FLinkLabel1.Handle()) {
    const TBounds b = Scale(kLinkDesign);
    SetWindowPos(link, nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  FLinkLabel1.SetFont(Font());
  Relayout();
}

void TFormLumeno::CreatePopupMenu() {
  FPopupMenu = ::CreatePopupMenu();
  AppendMenuW(FPopupMenu, MF_STRING, IDM_INSTRUCTION1, L"Instruction");
  AppendMenuW(FPopupMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(FPopupMenu, MF_STRING, IDM_SETTINGS1, L"Settings");
  AppendMenuW(FPopupMenu, MF_STRING, IDM_ABOUT1, L"About");
  AppendMenuW(FPopupMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(FPopupMenu, MF_STRING, IDM_EXIT1, L"Exit");
}

int32_t TFormLumeno::BarWidth() const {
  RECT client{};
  if (FHandle) GetClientRect(FHandle, &client);
  return LayOutMain(client.right, client.bottom, FMenuVisible, Dpi()).Bar.Width;
}

void TFormLumeno::Relayout() {
  if (!FHandle || !FPanel1 || !FPanelMenu) return;
  RECT client{};
  GetClientRect(FHandle, &client);
  const TMainLayout l = LayOutMain(client.right, client.bottom, FMenuVisible, Dpi());
  HDWP dwp = BeginDeferWindowPos(3);
  auto place = [&dwp](HWND hwnd, const TBounds& b) {
    // A control already in place is left alone: start-up lays the window out
    // several times over, mostly to the same places, and under Wine every
    // move costs a trip to the display.
    if (hwnd && dwp && !(ChildBoundsOf(hwnd) == b))
      dwp = DeferWindowPos(dwp, hwnd, nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  place(FAlBarOddech.Handle(), l.Bar);
  place(FPanel1, l.Panel1);
  place(FPanelMenu, l.PanelMenu);
  if (dwp) EndDeferWindowPos(dwp);
  FormResize();
}

void TFormLumeno::FormResize() {
  if (!FBmenu || !FPanel1) return;
  RECT panel{};
  GetClientRect(FPanel1, &panel);
  TBounds menu{BmenuLeft(Bounds().Width, panel.right, FMenuVisible, Scale(kPanelMenuWidth), Scale(kBmenuWidth)),
               Scale(kBmenuTop), Scale(kBmenuWidth), Scale(kBmenuHeight)};
  if (PanelTextShown()) {
    const TPanelTextLayout l = LayOutPanelText(
        panel.right, menu.Left, menu.Width, TextWidthIn(FBmenu, WindowText(FBmenu)) + Scale(kBmenuCaptionPadding),
        TextWidthIn(FPanelText, WindowText(FPanelText)), Scale(kPanelTextGap), Scale(kPanelTextMargin));
    menu.Left = l.BmenuLeft;
    menu.Width = l.BmenuWidth;
    const TBounds text{l.TextLeft, menu.Top, l.TextWidth, menu.Height};
    if (!(ChildBoundsOf(FPanelText) == text))
      SetWindowPos(FPanelText, nullptr, text.Left, text.Top, text.Width, text.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (ChildBoundsOf(FBmenu) == menu) return;
  SetWindowPos(FBmenu, nullptr, menu.Left, menu.Top, menu.Width, menu.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFormLumeno::SetPanelMenuVisible(bool visible) {
  ShowPanelMenu(visible);
  // The bar takes over (or gives back) the menu's room; the button stays
  // centred under it.
  Relayout();
}

void TFormLumeno::ShowPanelMenu(bool visible) {
  FMenuVisible = visible;
  if (FPanelMenu) ShowWindow(FPanelMenu, visible ? SW_SHOWNA : SW_HIDE);
}

void TFormLumeno::BmenuClick() {
  const bool visible = !FMenuVisible;
  ShowPanelMenu(visible);
  SetWindowTextW(FBmenu, visible ? L"Menu <<" : L"Menu >>");
  // The window grows or shrinks by the menu, so the bar keeps its width.
  TBounds b = Bounds();
  const int32_t menuWidth = Scale(kPanelMenuWidth);
  b.Width = Saturate32(int64_t{b.Width} + (visible ? menuWidth : -menuWidth));
  SetBounds(b);
  Relayout();
}

void TFormLumeno::SetStayOnTop(bool stayOnTop) {
  // A window style: setting the style it already has changes nothing, so a
  // z-order the placement store applied stays.
  if (stayOnTop == FStayOnTop) return;
  FStayOnTop = stayOnTop;
  SetTopMost(stayOnTop);
}

void TFormLumeno::SetTopMost(bool stayOnTop) {
  if (!FHandle) return;
  HWND insertAfter = stayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST;
  constexpr UINT kFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
  SetWindowPos(FHandle, insertAfter, 0, 0, 0, 0, kFlags);
  if (((GetWindowLongW(FHandle, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0) == stayOnTop) return;
  // Wine moves the owned windows (the hidden dialogs) instead of their owner,
  // and keeps an owned window next to its own owner, leaving the style as it
  // was. The change is made with all of them let go for a moment, then each
  // dialog follows.
  struct TOwned {
    HWND Owner;
    std::vector<HWND> Windows;
  } owned{FHandle, {}};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM lp) -> BOOL {
        auto* list = reinterpret_cast<TOwned*>(lp);
        if (GetWindow(hwnd, GW_OWNER) == list->Owner) list->Windows.push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&owned));
  HWND owner = GetWindow(FHandle, GW_OWNER);
  for (HWND hwnd : owned.Windows) SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, 0);
  if (owner) SetWindowLongPtrW(FHandle, GWLP_HWNDPARENT, 0);
  SetWindowPos(FHandle, insertAfter, 0, 0, 0, 0, kFlags);
  if (owner) SetWindowLongPtrW(FHandle, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
  for (HWND hwnd : owned.Windows) {
    SetWindowPos(hwnd, insertAfter, 0, 0, 0, 0, kFlags);
    SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(FHandle));
  }
}

void TFormLumeno::ApplyZOrder(bool topmost) { SetTopMost(topmost); }

void TFormLumeno::SetColourScheme(TColourSchemeId scheme) {
  FColourScheme = scheme;
  ApplyColours(false);
}

void TFormLumeno::ApplyColours(bool force) {
  const TColourScheme& c = HighContrast() ? HighContrastColours() : lumeno::ColourScheme(FColourScheme);
  if (&c == FColours && !force) return;
  FColours = &c;
  FAlBarOddech.SetColors(BarColors(c));
  FLinkLabel1.SetColor(ToColorRef(c.Link));
  // The controls take the new look before the old one goes.
  std::unique_ptr<TOwnLook> previous = std::move(FOwnLook);
  if (c.OwnPanels) FOwnLook = std::make_unique<TOwnLook>(c);
  const TPanelColors* panel = FOwnLook ? &FOwnLook->Panel() : nullptr;
  SetPanelColors(FPanel1, panel);
  SetPanelColors(FPanelMenu, panel);
  for (HWND button : {FBmenu, FBInstruction, FBSettings, FBAbout}) SetButtonLook(button, FOwnLook.get());
  if (c.DarkTitleBar != FDarkTitleBar) {
    FDarkTitleBar = c.DarkTitleBar;
    if (UseDarkTitleBar) UseDarkTitleBar(FHandle, FDarkTitleBar);
  }
  if (FHandle) RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TFormLumeno::BInstructionClick() {
  if (FFormInstruction) FFormInstruction->ShowModal();
}

void TFormLumeno::BSettingsClick() {
  if (FFormSettings) FFormSettings->ShowModal();
}

void TFormLumeno::BAboutClick() {
  if (FFormAbout) FFormAbout->ShowModal();
}

void TFormLumeno::Exit1Click() { Close(); }

void TFormLumeno::FormCreate() { FPacer->FormCreate(); }

void TFormLumeno::TimerBreatchTimer() { FPacer->TimerBreatchTimer(); }

void TFormLumeno::AlBarOddechClick() { FSession->Toggle(); }

void TFormLumeno::ApplySession(int32_t minutes, bool bell) {
  FSession->SetBell(bell);
  FSession->SetLength(minutes);
}

void TFormLumeno::SessionChanged() {
  const TSessionState state = FSession->State();
  if (state == TSessionState::Closed || !FHandle) return;
  const TSessionState was = FShownState;
  FShownState = state;
  // The bar, and what a screen reader hears of it: one event for each change.
  if (state == TSessionState::Ended && was != TSessionState::Ended) {
    const std::string summary = FSession->Summary();
    FAlBarOddech.SetNote(summary);
    FAlBarOddech.SetAccessibleValue(SpokenSummary(summary), false);
  } else if (state != TSessionState::Ended && was == TSessionState::Ended) {
    // Started again: the pacer has announced the inhale.
    FAlBarOddech.SetNote("");
  } else if (state == TSessionState::Paused && was != TSessionState::Paused) {
    FAlBarOddech.SetAccessibleValue(L"Paused", false);
  } else if (state == TSessionState::Running && was == TSessionState::Paused) {
    FPacerBar.PhaseChanged(FPacer->Tag);
  }
  FAlBarOddech.SetAccessibleAction(ToggleName(state));
  // The panel: "Paused", or the time left, which its own timer shows from
  // the next message on, once a second.
  const bool counting = state == TSessionState::Running && FSession->HasEnd();
  if (counting) {
    SetTimer(FHandle, kTimerSessionId, 1, nullptr);
  } else {
    KillTimer(FHandle, kTimerSessionId);
    ShowPanelText(state == TSessionState::Paused ? L"Paused" : L"");
  }
  UpdateTaskbar();
}

void TFormLumeno::TimerSessionTimer() {
  if (FSession->State() != TSessionState::Running || !FSession->HasEnd()) {
    KillTimer(FHandle, kTimerSessionId);
    return;
  }
  WatchLock();
  const int64_t remaining = FSession->RemainingMs();
  ShowPanelText(Widen(FormatRemaining(remaining)));
  UpdateTaskbar();
  // Again when the text would next change.
  SetTimer(FHandle, kTimerSessionId, MsUntilNextSecond(remaining), nullptr);
}

void TFormLumeno::UpdateTaskbar() {
  const TSessionState state = FSession->State();
  ITaskbarButton& taskbar = *FServices.Taskbar;
  const bool shown = FSession->HasEnd() && (state == TSessionState::Running || state == TSessionState::Paused);
  if (shown) {
    const uint64_t total = uint64_t(FSession->LengthMinutes()) * 60'000u;
    const uint64_t done = std::min<uint64_t>(static_cast<uint64_t>(FSession->ActiveMs()), total);
    taskbar.SetProgress(state == TSessionState::Paused ? ITaskbarButton::TProgress::Paused
                                                       : ITaskbarButton::TProgress::Normal,
                        done, total);
  } else {
    taskbar.SetProgress(ITaskbarButton::TProgress::None, 0, 0);
  }
  taskbar.SetThumbButton(state == TSessionState::Running, ToggleName(state));
}

void TFormLumeno::ShowPanelText(const std::wstring& text) {
  if (text.empty()) {
    if (!PanelTextShown()) return;
    ShowWindow(FPanelText, SW_HIDE);
    FormResize();
    return;
  }
  // Made when first needed: with no end and no pause it never is.
  if (!FPanelText)
    FPanelText = AddControl(FPanel1, {L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_CENTERIMAGE, 0, 0, 0, 0,
                                      0, IDC_PANELTEXT});
  if (!FPanelText) return;
  const std::wstring before = WindowText(FPanelText);
  if (before != text) SetWindowTextW(FPanelText, text.c_str());
  // Only a new width moves anything.
  if (!PanelTextShown() || TextWidthIn(FPanelText, before) != TextWidthIn(FPanelText, text)) {
    ShowWindow(FPanelText, SW_SHOWNA);
    FormResize();
  }
}

bool TFormLumeno::PanelTextShown() const {
  // Its own flag: the window around it may be hidden yet.
  return FPanelText && (GetWindowLongW(FPanelText, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool TFormLumeno::KeyPreview(const MSG& msg) {
  if (msg.wParam != 'P' && msg.wParam != VK_PAUSE) return false;
  if (!FHandle || (msg.hwnd != FHandle && !IsChild(FHandle, msg.hwnd))) return false;
  // Typed into the note, or with Ctrl or Alt, P is not ours.
  if (msg.wParam == 'P' && (msg.hwnd == FMemo1 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0))
    return false;
  // A key held down repeats; only its first press counts.
  if ((msg.lParam & (LPARAM{1} << 30)) == 0) AlBarOddechClick();
  return true;
}

void TFormLumeno::WatchLock() {
  if (FLockAsked) return;
  FLockAsked = true;
  BOOL(WINAPI * watch)(HWND, DWORD) = nullptr;
  ResolveProc(LoadSystemLibrary(L"wtsapi32.dll"), "WTSRegisterSessionNotification", watch);
  FLockWatched = watch && watch(FHandle, NOTIFY_FOR_THIS_SESSION);
}

void TFormLumeno::FormClose() {
  // A practice still running or paused ends here, not complete.
  FSession->Close();
  if (FFormSettings) FFormSettings->zapiszRejestr();
  // Practices that could be written nowhere so far get one more try.
  FJournal->WriteWaiting();
}

bool TFormLumeno::CloseQuery() {
  bool canClose = true;
  if (FOnCloseQuery) FOnCloseQuery(this, canClose);
  return canClose;
}

void TFormLumeno::FormCloseRequest() {
  if (!CloseQuery()) return;
  FormClose();
  FApplication.Terminate();
}

void TFormLumeno::ShowMainForm(int) {
  if (!FHandle) return;
  if (!FShownOnce) {
    FShownOnce = true;
    const TBounds b = NormalBounds();
    RECT r{b.Left, b.Top, b.Left + b.Width, b.Top + b.Height};
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    if (GetMonitorInfoW(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &mi)) {
      const TEdges work{mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom};
      const TBounds reachable = KeepReachable(b, work);
      if (!(reachable == b)) SetNormalBounds(reachable);
    }
    Relayout();
  }
  int command = SW_SHOWNORMAL;
  if (FWindowState == 1) command = SW_SHOWMINIMIZED;
  if (FWindowState == 2) command = SW_SHOWMAXIMIZED;
  ShowWindow(FHandle, command);
  if (command != SW_SHOWMINIMIZED) SetForegroundWindow(FHandle);
  UpdateWindow(FHandle);
}

TBounds TFormLumeno::NormalBounds() const {
  if (FHandle && IsIconic(FHandle)) {
    // A tool window's normal position is in screen coordinates.
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (GetWindowPlacement(FHandle, &wp)) {
      const RECT& r = wp.rcNormalPosition;
      return {r.left, r.top, r.right - r.left, r.bottom - r.top};
    }
  }
  return Bounds();
}

void TFormLumeno::SetNormalBounds(const TBounds& bounds) {
  if (!FHandle) return;
  if (IsIconic(FHandle) || IsZoomed(FHandle)) {
    const TBounds b = SanitizeBounds(bounds);
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (GetWindowPlacement(FHandle, &wp)) {
      wp.rcNormalPosition = {b.Left, b.Top, b.Left + b.Width, b.Top + b.Height};
      wp.flags = 0;
      wp.showCmd = IsIconic(FHandle) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED;
      SetWindowPlacement(FHandle, &wp);
    }
    return;
  }
  SetBounds(bounds);
}

int32_t TFormLumeno::GetLeft() const { return NormalBounds().Left; }
int32_t TFormLumeno::GetTop() const { return NormalBounds().Top; }
int32_t TFormLumeno::GetWidth() const { return NormalBounds().Width; }
int32_t TFormLumeno::GetHeight() const { return NormalBounds().Height; }

void TFormLumeno::SetNormalEdge(int32_t TBounds::*edge, int32_t value) {
  TBounds b = NormalBounds();
  b.*edge = value;
  SetNormalBounds(b);
}

void TFormLumeno::SetLeft(int32_t value) { SetNormalEdge(&TBounds::Left, value); }
void TFormLumeno::SetTop(int32_t value) { SetNormalEdge(&TBounds::Top, value); }
void TFormLumeno::SetWidth(int32_t value) { SetNormalEdge(&TBounds::Width, value); }
void TFormLumeno::SetHeight(int32_t value) { SetNormalEdge(&TBounds::Height, value); }

uint8_t TFormLumeno::GetWindowState() const {
  if (!FShownOnce || !FHandle) return FWindowState;
  if (IsIconic(FHandle)) return 1;
  if (IsZoomed(FHandle)) return 2;
  return 0;
}

void TFormLumeno::SetWindowState(uint8_t state) {
  // Only the three states exist; anything else stored is taken as normal.
  if (state > 2) state = 0;
  FWindowState = state;
  if (!FShownOnce || !FHandle) return;
  ShowWindow(FHandle, state == 1 ? SW_MINIMIZE : state == 2 ? SW_MAXIMIZE : SW_RESTORE);
}

void TFormLumeno::ShowPopupMenu(LPARAM screenPoint) {
  // One menu at a time: a second request while it is open is dropped.
  if (!FPopupMenu || FMenuTracking) return;
  POINT pt{0, 0};
  if (screenPoint == -1) {
    // From the keyboard (Shift+F10, the Menu key): at the bar's centre.
    RECT bar{};
    GetWindowRect(FAlBarOddech.Handle(), &bar);
    pt = {bar.left + (bar.right - bar.left) / 2, bar.top + (bar.bottom - bar.top) / 2};
  } else {
    pt = {static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
  }
  FMenuTracking = true;
  SetForegroundWindow(FHandle);
  TrackPopupMenu(FPopupMenu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, FHandle, nullptr);
  // Lets the menu close properly when the user clicks elsewhere.
  PostMessageW(FHandle, WM_NULL, 0, 0);
  FMenuTracking = false;
}

void TFormLumeno::Command(int id) {
  switch (id) {
    case IDC_BMENU:
      BmenuClick();
      break;
    case IDC_BINSTRUCTION:
      BInstructionClick();
      break;
    case IDC_BSETTINGS:
      BSettingsClick();
      break;
    case IDC_BABOUT:
      BAboutClick();
      break;
    case IDM_INSTRUCTION1:
      Instruction1Click();
      break;
    case IDM_SETTINGS1:
      Settings1Click();
      break;
    case IDM_ABOUT1:
      About1Click();
      break;
    case IDM_EXIT1:
      Exit1Click();
      break;
    default:
      break;
  }
}

LRESULT TFormLumeno::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SIZE:
      if (wp != SIZE_MINIMIZED) Relayout();
      break;
    case WM_GETMINMAXINFO: {
      LRESULT r = DefaultProc(msg, wp, lp);
      // The window folds down to the bar alone.
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize.x = MainMinTrackWidth(Dpi());
      return r;
    }
    case WM_TIMER:
      if (wp == kTimerBreatchId) {
        TimerBreatchTimer();
        return 0;
      }
      if (wp == kTimerSessionId) {
        TimerSessionTimer();
        return 0;
      }
      break;
    case WM_APP_TOGGLE_PRACTICE:
      AlBarOddechClick();
      return 0;
    case WM_WTSSESSION_CHANGE:
      if (wp == WTS_SESSION_LOCK) FSession->Locked();
      return 0;
    case WM_COMMAND:
      // Buttons report BN_CLICKED, menu items 0; edits' notifications are not ours.
      if (HIWORD(wp) == BN_CLICKED) {
        Command(LOWORD(wp));
        return 0;
      }
      break;
    case WM_CONTEXTMENU: {
      // Over the caption or the frame the system menu opens instead.
      if (lp != -1 && DefaultProc(WM_NCHITTEST, 0, lp) != HTCLIENT) break;
      ShowPopupMenu(lp);
      return 0;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == FMemo1 || (FPanelText && reinterpret_cast<HWND>(lp) == FPanelText)) {
        // The note and the panel's text sit on their panel's colour.
        HDC dc = reinterpret_cast<HDC>(wp);
        SetTextColor(dc, ToColorRef(Colours().Text));
        if (FOwnLook) {
          SetBkColor(dc, FOwnLook->Panel().Face);
          return reinterpret_cast<LRESULT>(FOwnLook->Panel().FaceBrush);
        }
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    case WM_QUERYENDSESSION:
      // Logging off runs the close query: the placement is saved there.
      return CloseQuery() ? TRUE : FALSE;
    case WM_ENDSESSION:
      if (wp) {
        // The session ends without a normal close; save the settings too, so
        // that edits kept since the last OK are not lost.
        FormClose();
        FApplication.Terminate();
      }
      return 0;
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace lumeno
