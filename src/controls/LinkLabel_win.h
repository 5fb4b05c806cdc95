// The hyperlink label as a Win32 child control: its caption in pure blue (or
// a colour its owner gives), underlined, on the parent's background, with the
// hand cursor. It paints only its text's cell; the rest of its rectangle
// shows what the parent painted there (so the parent must not clip its
// children). A left press opens prefix + HyperLink through the shell. It is a
// tab stop: focused, it shows a focus rectangle and Enter or Space opens the
// link as a press does; a press itself leaves the focus where it was. Screen
// readers find a link named after its caption, with the default action "Jump".
#pragma once

#include <windows.h>

#include "controls/LinkLabel.h"
#include "base/WinHandles.h"

namespace lumeno {

enum class TLinkAlignment { Left, Right, Center };

class TLinkLabel : public TLinkLabelCore {
 public:
  using TShellExecuteFn = HINSTANCE(WINAPI*)(HWND owner, LPCSTR operation, LPCSTR file,
                                             LPCSTR parameters, LPCSTR directory, INT show);
  // How a press opens the target: ShellExecuteA unless a test puts a
  // recorder here. Its result is never looked at.
  static TShellExecuteFn ShellOpen;

  static constexpr COLORREF kLinkColor = RGB(0, 0, 255);
  static constexpr const wchar_t* kClassName = L"TLinkLabel";
  // Posted to the window: opens the link once the poster has moved on.
  static constexpr UINT kOpenLinkMessage = WM_USER + 1;

  // LinkType lthttp, empty caption and link; no window until Create.
  TLinkLabel();
  ~TLinkLabel() override;

  // Creates the child window on parent (which must exist). With AutoSize on,
  // width and height are replaced by the caption's extent. False on failure.
  bool Create(HWND parent, int left, int top, int width, int height, int id = 0);
  HWND Handle() const { return FHandle; }
  // The label that owns the window, or null.
  static TLinkLabel* FromHandle(HWND hwnd);
  // Opens the link as a press does.
  void OpenLink();

  // The base font (not owned; the caller keeps it alive). The label draws an
  // underlined copy of it. Without one it uses the parent's font, else the
  // default GUI font. WM_SETFONT does the same.
  void SetFont(HFONT font);
  HFONT Font() const { return FFont; }

  // The caption's colour (kLinkColor unless set); repaints.
  void SetColor(COLORREF color);
  COLORREF Color() const { return FColor; }

  void SetAlignment(TLinkAlignment alignment);
  TLinkAlignment Alignment() const { return FAlignment; }

  // On (the default): the window follows the caption's size, keeping its left
  // edge (right edge when right-aligned, centre when centred).
  void SetAutoSize(bool autoSize);
  bool AutoSize() const { return FAutoSize; }

 protected:
  void CaptionChanged() override;

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
  void Paint(HDC dc);
  void PaintParentBackground(HDC dc, const RECT& client);
  void RebuildFont();
  void AdjustBounds();
  UINT TextFormat() const;
  // WM_GETOBJECT (LinkLabelAccessible_win.cpp).
  static LRESULT AnswerGetObject(HWND hwnd, WPARAM wp, LPARAM lp);

  HWND FHandle = nullptr;
  HFONT FFont = nullptr;
  TUniqueFont FLinkFont;
  TLinkAlignment FAlignment = TLinkAlignment::Left;
  COLORREF FColor = kLinkColor;
  bool FAutoSize = true;
};

}  // namespace lumeno
