// TFormLumeno, the main window: the breathing bar, the bottom panel with the
// menu button, the fold-out side menu, the context menu, and the components
// that live on it (placement store, single-instance guard, the pacer's timer).
// It owns the pacer's state; the settings dialog supplies the pattern.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/Application.h"
#include "app/JustOne.h"
#include "controls/ALProgressBar_win.h"
#include "controls/ColourSchemes.h"
#include "controls/LinkLabel_win.h"
#include "exercise/BreathingPacer.h"
#include "exercise/PracticeRecord.h"
#include "exercise/PracticeSession.h"
#include "exercise/SessionVolume.h"
#include "persistence/PracticeJournal_win.h"
#include "persistence/RegControls.h"
#include "persistence/Registry.h"
#include "windows/Form.h"
#include "windows/PacerAdapters.h"
#include "windows/Taskbar.h"

namespace lumeno {

class TFormSettings;
class TFormInstruction;
class TFormAbout;
class TPlayerThread;
class TOwnLook;

// What the main window's components are built on. The defaults are the real
// ones; tests put fakes in.
struct TLumenoServices {
  TRegistryFactory MakeRegistry = nullptr;  // null: the Win32 registry
  IClock* Clock = nullptr;                  // null: the performance counter
  ISound* Sound = nullptr;                  // null: the wave files beside the executable
  // Plays those wave files when Sound is null; null: the system's player.
  TPlayerThread* Player = nullptr;
  IPracticeLog* PracticeLog = nullptr;      // where finished practices go; null: the history file
  std::wstring PracticeFolder;              // the history file's folder; empty: %APPDATA%\Quorvale\Lumeno
  ISessionVolume* Volume = nullptr;         // null: Lumeno's own audio session
  // Asks for a sound file (title names which), starting at current; false
  // when the user cancels. Null: the system's Open dialog.
  std::function<bool(HWND owner, const wchar_t* title, std::wstring& path)> ChooseSoundFile;
  std::function<TLocalTime()> LocalNow;     // null: the system's local time
  ITaskbarButton* Taskbar = nullptr;        // null: the system's taskbar
  // Replaces the single-instance guard's after-load check (tests).
  std::function<void()> GuardLoaded;
};

// The main window's control and menu-item identifiers.
enum : int {
  IDC_BAR = 100,
  IDC_PANEL1,
  IDC_BMENU,
  IDC_PANELMENU,
  IDC_BINSTRUCTION,
  IDC_BSETTINGS,
  IDC_BABOUT,
  IDC_MEMO1,
  IDC_LINKLABEL1,
  IDC_PANELTEXT,
  IDM_INSTRUCTION1 = 200,
  IDM_SETTINGS1,
  IDM_ABOUT1,
  IDM_EXIT1,
};

class TFormLumeno final : public TForm, public IPlacementWindow, private ISessionView {
 public:
  static constexpr UINT_PTR kTimerBreatchId = 1;
  // Once a second while a session with an end runs: the time left.
  static constexpr UINT_PTR kTimerSessionId = 2;

  // Creates the window hidden with everything on it, runs each component's
  // after-load step (the placement store, then the guard) and FormCreate.
  TFormLumeno(TApplication& application, TLumenoServices services = {});
  ~TFormLumeno() override;

  // The windows the side menu and the context menu open.
  void SetForms(TFormSettings* settings, TFormInstruction* instruction, TFormAbout* about);

  TBreathingPacer& Pacer() { return *FPacer; }
  const TLumenoServices& Services() const { return FServices; }
  TPracticeSession& Session() { return *FSession; }
  // The session's length (0: no end) and bell, as chosen; a new length
  // applies to the running session.
  void ApplySession(int32_t minutes, bool bell);
  // The text beside the menu button (the time left, "Paused"); null until
  // first shown.
  HWND PanelText() const { return FPanelText; }
  TWindowTimer& TimerBreatch() { return FTimerBreatch; }
  TALProgressBar& AlBarOddech() { return FAlBarOddech; }
  TRegForm& RegForm() { return *FRegForm; }
  // The practice history's files, which the history view reads.
  TPracticeJournal& Journal() { return *FJournal; }
  // The local time now, as the practices are stamped with it.
  TLocalTime LocalNow() const { return FServices.LocalNow(); }
  TXJustOne* XJustOne1() { return FXJustOne1.get(); }
  HWND Panel1() const { return FPanel1; }
  HWND Bmenu() const { return FBmenu; }
  HWND PanelMenu() const { return FPanelMenu; }
  HWND BInstruction() const { return FBInstruction; }
  HWND BSettings() const { return FBSettings; }
  HWND BAbout() const { return FBAbout; }
  HWND Memo1() const { return FMemo1; }
  HWND LinkLabel1() const { return FLinkLabel1.Handle(); }
  HMENU PopupMenu() const { return FPopupMenu; }

  // The side menu's visibility alone: the window's width and the button's
  // caption stay (the settings store sets it this way).
  bool PanelMenuVisible() const { return FMenuVisible; }
  void SetPanelMenuVisible(bool visible);
  // Stay-on-top window style, or the normal one.
  void SetStayOnTop(bool stayOnTop);
  bool StayOnTop() const { return FStayOnTop; }
  int32_t BarWidth() const;

  // The chosen colour scheme, applied at once. While a high-contrast theme is
  // on the window takes the system's colours, whatever the scheme.
  void SetColourScheme(TColourSchemeId scheme);
  TColourSchemeId ColourScheme() const { return FColourScheme; }
  // The colours in effect.
  const TColourScheme& Colours() const { return *FColours; }

  // The loop's first showing: in the recorded window state, with the bounds
  // moved onto the screen when the caption could not be reached.
  void ShowMainForm(int showCommand);

  // Event handlers.
  void FormCreate();
  void FormResize();
  void BmenuClick();
  void BInstructionClick();
  void BSettingsClick();
  void BAboutClick();
  void Instruction1Click() { BInstructionClick(); }
  void Settings1Click() { BSettingsClick(); }
  void About1Click() { BAboutClick(); }
  void Exit1Click();
  // Pauses, resumes, or starts again after an end; so do P, the Pause key,
  // the bar's default action and the taskbar's thumbnail button.
  void AlBarOddechClick();
  void FormClose();
  void TimerBreatchTimer();
  void TimerSessionTimer();
  // The close query: the chained handlers may refuse; true when closing may go on.
  bool CloseQuery();

  // IPlacementWindow: outer bounds in screen coordinates.
  int32_t GetLeft() const override;
  int32_t GetTop() const override;
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  void SetLeft(int32_t value) override;
  void SetTop(int32_t value) override;
  void SetWidth(int32_t value) override;
  void SetHeight(int32_t value) override;
  uint8_t GetWindowState() const override;
  void SetWindowState(uint8_t state) override;
  bool HandleAllocated() override { return FHandle != nullptr; }
  void ApplyZOrder(bool topmost) override;
  bool Loading() const override { return FLoading; }
  int32_t GetDpi() const override { return Dpi(); }
  TCloseQueryEvent& OnCloseQuery() override { return FOnCloseQuery; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormCloseRequest() override;
  void DpiChanged() override;
  void ColoursChanged() override { ApplyColours(true); }

 private:
  void CreateControls();
  void CreatePopupMenu();
  // Docks the panels and the bar to the client area, then FormResize.
  void Relayout();
  // Normal (restored) bounds, also while minimised.
  TBounds NormalBounds() const;
  void SetNormalBounds(const TBounds& bounds);
  // One of the placement store's four writes.
  void SetNormalEdge(int32_t TBounds::*edge, int32_t value);
  void ShowPopupMenu(LPARAM screenPoint);
  void ShowPanelMenu(bool visible);
  // Top-most or not, whatever the style says (the placement store's z-order).
  void SetTopMost(bool topMost);
  void Command(int id);
  // Hands the colours in effect to the bar, the panels, the buttons, the link
  // and the caption, and repaints; unless forced, only when they changed.
  void ApplyColours(bool force);
  // ISessionView: the bar's summary and value, the panel's text, the timer of
  // the time left and the taskbar follow the session.
  void SessionChanged() override;
  void UpdateTaskbar();
  // Shows text beside the menu button; empty hides it.
  void ShowPanelText(const std::wstring& text);
  bool PanelTextShown() const;
  // P and Pause while the main window is active.
  bool KeyPreview(const MSG& msg);
  // Locking the workstation pauses a session with an end: asked for once
  // such a session runs (wtsapi32 is loaded then, not at start-up).
  void WatchLock();

  TApplication& FApplication;
  TLumenoServices FServices;
  // Description order: the bar, the bottom panel with the menu button, the
  // side menu with the link label, the placement store, the guard, the
  // context menu, the timer.
  TALProgressBar FAlBarOddech;
  HWND FPanel1 = nullptr;
  HWND FBmenu = nullptr;
  HWND FPanelMenu = nullptr;
  HWND FBInstruction = nullptr;
  HWND FBSettings = nullptr;
  HWND FBAbout = nullptr;
  HWND FMemo1 = nullptr;
  TLinkLabel FLinkLabel1;
  std::unique_ptr<TRegForm> FRegForm;
  std::unique_ptr<TApplicationGuardHost> FGuardHost;
  std::unique_ptr<TXJustOne> FXJustOne1;
  HMENU FPopupMenu = nullptr;
  TWindowTimer FTimerBreatch{kTimerBreatchId};

  std::unique_ptr<IClock> FOwnClock;
  std::unique_ptr<ISound> FOwnSound;
  std::unique_ptr<TPracticeJournal> FJournal;
  // The thread FOwnSound plays on, ended with the window.
  TPlayerThread* FPlayer = nullptr;
  TPacerBar FPacerBar{FAlBarOddech};
  std::unique_ptr<TBreathingPacer> FPacer;
  std::unique_ptr<TPracticeSession> FSession;
  std::unique_ptr<ITaskbarButton> FOwnTaskbar;
  UINT FTaskbarButtonCreated = 0;
  HWND FPanelText = nullptr;
  TSessionState FShownState = TSessionState::Running;
  bool FLockAsked = false;
  bool FLockWatched = false;

  TFormSettings* FFormSettings = nullptr;
  TFormInstruction* FFormInstruction = nullptr;
  TFormAbout* FFormAbout = nullptr;

  TCloseQueryEvent FOnCloseQuery;
  bool FLoading = true;
  bool FMenuVisible = true;
  bool FShownOnce = false;
  bool FMenuTracking = false;
  bool FStayOnTop = false;
  uint8_t FWindowState = 0;

  TColourSchemeId FColourScheme = TColourSchemeId::Classic;
  // What the controls were created in.
  const TColourScheme* FColours = &lumeno::ColourScheme(TColourSchemeId::Classic);
  // The panels and buttons while Lumeno paints them itself.
  std::unique_ptr<TOwnLook> FOwnLook;
  bool FDarkTitleBar = false;
};

}  // namespace lumeno
