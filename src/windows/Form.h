// The small window framework Lumeno's four windows are built on: one static
// window procedure dispatching to a virtual handler, windows created once and
// hidden, modal showing through a nested message loop, child controls laid out
// from tables, and a plain panel control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "windows/LayoutMath.h"
#include "base/WinHandles.h"

namespace lumeno {

enum TModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2 };

// The fixed dialog border of the secondary windows. They are owned overlapped
// windows, not popups: under Wine a hidden owned popup keeps its owner from
// becoming top-most (the owner is put below the popup instead).
inline constexpr DWORD kDialogStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;

// One child control of a window description. Positions are relative to the
// parent's client area; WS_CHILD and WS_VISIBLE are added.
struct TControlDesc {
  const wchar_t* ClassName;
  const wchar_t* Text;
  DWORD Style;
  DWORD ExStyle;
  int X, Y, Width, Height;
  int Id;
};

// The top-level window's own look and place, as the description gives it.
struct TFormDesc {
  const wchar_t* ClassName;
  const wchar_t* Caption;
  DWORD Style;
  DWORD ExStyle;
  // Outer bounds; with ClientSized the width and height are the client area's.
  int X, Y, Width, Height;
  bool ClientSized;
  // System colour index of the background (COLOR_BTNFACE, COLOR_INFOBK ...).
  int BackgroundColor;
  HICON Icon;
  HWND Owner;
};

// A secondary window on the button face with a fixed client area, owned by
// owner and placed by its first showing.
inline TFormDesc DialogDesc(const wchar_t* className, const wchar_t* caption, int clientWidth, int clientHeight,
                            HWND owner, DWORD extraStyle = 0) {
  return {className, caption, kDialogStyle | extraStyle, kDialogExStyle, 0, 0, clientWidth, clientHeight, true,
          COLOR_BTNFACE, nullptr, owner};
}

// The DPI a window is shown at (its monitor's, for a per-monitor aware
// program), else the system's; the calls are looked up at run time, so older
// systems fall back to the screen's LOGPIXELSY.
int WindowDpi(HWND hwnd);
int SystemDpi();

class TForm {
 public:
  virtual ~TForm();
  TForm(const TForm&) = delete;
  TForm& operator=(const TForm&) = delete;

  HWND Handle() const { return FHandle; }
  bool Visible() const { return FHandle && IsWindowVisible(FHandle); }
  // Outer bounds in screen coordinates.
  TBounds Bounds() const;
  // Moves (and sizes) the window; values are kept inside what Win32 takes safely.
  void SetBounds(const TBounds& bounds);
  void SetLeft(int32_t left);
  void SetTop(int32_t top);

  // Shows the window modally: its owner is disabled and a nested loop runs
  // (timers keep ticking) until the modal result is set, the window is closed
  // or the application quits. Returns the modal result.
  int ShowModal();
  bool IsModal() const { return FModal; }
  void SetModalResult(int result) { FModalResult = result; }
  int ModalResult() const { return FModalResult; }
  // Ends a modal showing with result; a window shown otherwise is hidden.
  void EndModal(int result);
  // What the caption's close button does.
  void Close();
  // Creates the child controls of a window that gets them late (see
  // CreateLateControls) unless they exist; every showing does it first.
  void EnsureControls();

  // The 8-point "MS Sans Serif" every window and control uses, at a DPI
  // (one font per DPI and character set, kept for the run).
  static HFONT DefaultFont(int dpi = kDesignDpi, BYTE charset = DEFAULT_CHARSET);
  // The default font at dpi, unless its face lacks a letter of text (Polish
  // letters on a system whose code page is not Central European): then the
  // same face asked for in the Central European character set, so every
  // letter comes from one face.
  static HFONT FontFor(const std::wstring& text, int dpi);
  static TForm* FromHandle(HWND hwnd);

  // The DPI the window lays itself out for; every design length (96 dpi) is
  // scaled by ScaleToDpi.
  int Dpi() const { return FDpi; }
  int32_t Scale(int32_t design) const { return ScaleToDpi(design, FDpi); }
  TBounds Scale(const TBounds& design) const { return ScaleToDpi(design, FDpi); }
  // Pixels measured at the window's DPI as a design length (rounded up).
  int32_t DesignOf(int32_t pixels) const { return DesignLength(pixels, FDpi); }
  // The default font at the window's DPI.
  HFONT Font() const { return DefaultFont(FDpi); }
  HFONT FontFor(const std::wstring& text) const { return FontFor(text, FDpi); }

 protected:
  TForm() = default;

  // Registers the class (once per name) and creates the hidden window, its
  // design place and size scaled to the DPI it is created at.
  bool CreateForm(const TFormDesc& desc);
  // Creates a child control with the default font; its design rectangle is
  // scaled to the window's DPI, and again whenever that changes.
  HWND AddControl(HWND parent, const TControlDesc& desc);
  // Gives a control from AddControl a new design rectangle, and places it.
  void MoveControl(HWND control, const TBounds& design);
  // After the DPI changed (WM_DPICHANGED): the controls from AddControl are
  // in their scaled places with the new default font and the window has the
  // bounds the system suggested (a window sized by its client area: at the
  // suggested top-left, with the scaled client area); what else depends on
  // the DPI follows here.
  virtual void DpiChanged() {}
  // The system's colours or its high-contrast setting changed (HighContrast()
  // has been asked again); the window with all its children is repainted
  // afterwards.
  virtual void ColoursChanged() {}

  // Messages of this window; the default hands them to DefWindowProc.
  virtual LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp);
  // The child controls of a window that gets them with its first showing
  // rather than at its creation: nobody sees them before, and creating them
  // is start-up time. Called once, by EnsureControls.
  virtual void CreateLateControls() {}
  // A control member read after EnsureControls, for accessors that create the
  // controls on first use.
  HWND Ensured(const HWND& control) {
    EnsureControls();
    return control;
  }
  // Runs before every modal showing (the window's show event).
  virtual void FormShow() {}
  // Runs after FormShow on the first showing only: centres on the owner.
  virtual void FirstShowPlacement();
  // WM_CLOSE: a modal window ends with mrCancel, any other is hidden.
  virtual void FormCloseRequest();

  LRESULT DefaultProc(UINT msg, WPARAM wp, LPARAM lp) { return DefWindowProcW(FHandle, msg, wp, lp); }
  // Stops dispatching to this object and destroys the window with its
  // children. Derived destructors call it first, so that no message reaches
  // members already destroyed.
  void DestroyForm();

  HWND FHandle = nullptr;

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT BaseProc(UINT msg, WPARAM wp, LPARAM lp);
  // The outer size the description gives, at dpi.
  SIZE OuterSize(int dpi) const;
  void ApplyDpi(int dpi, const RECT* suggested);

  struct TPlacedControl {
    HWND Handle;
    TBounds Design;
  };
  std::vector<TPlacedControl> FControls;
  TFormDesc FDesc{};
  int FDpi = kDesignDpi;

  HWND FLastFocus = nullptr;
  int FModalResult = mrNone;
  bool FModal = false;
  bool FShownBefore = false;
  bool FControlsCreated = false;
};

// Registers a child-control class drawn by proc (arrow cursor, repainted
// whole on a resize) with its first use; returns name.
const wchar_t* ChildClass(const wchar_t* name, WNDPROC proc);

// Registers the plain panel class "TPanel": button-face background with a
// raised one-pixel bevel; passes its children's commands, notifications and
// colour requests on to its parent; takes part in Tab navigation.
const wchar_t* PanelClass();

// What a panel is painted in instead of the system's colours: its face (with a
// brush of that colour, which the caller keeps) and the bevel's light top and
// left edges and dark bottom and right ones.
struct TPanelColors {
  COLORREF Face;
  COLORREF Light;
  COLORREF Shadow;
  HBRUSH FaceBrush;
};
// Paints a panel in colors from now on (null: the system's colours again) and
// repaints it. The caller keeps colors alive until it takes them back.
void SetPanelColors(HWND panel, const TPanelColors* colors);

// Keeps Escape from a multi-line edit: inside a dialog-managed window the
// edit would otherwise post WM_CLOSE to its parent.
void SwallowEscape(HWND edit);

// Lets Tab and Shift+Tab move on from a multi-line edit, which would
// otherwise keep them (or, under Wine, hand them to a parent that is no dialog).
void MoveOnWithTab(HWND edit);

// UTF-8 to UTF-16 for the program's texts.
std::wstring Widen(const std::string& utf8);

// A window's text as it is now.
std::wstring WindowText(HWND hwnd);

// Fills rc with one colour (the DC brush: nothing to create or delete).
void FillSolid(HDC dc, const RECT& rc, COLORREF color);
std::string Narrow(const std::wstring& wide);

}  // namespace lumeno
