#include "windows/LumenoLook.h"

#include <commctrl.h>

#include <string>

#include "base/SystemLibrary_win.h"

namespace lumeno {

namespace {

// DWMWA_USE_IMMERSIVE_DARK_MODE, not in the headers of older SDKs.
constexpr DWORD kDwmUseImmersiveDarkMode = 20;

bool SystemHighContrast() {
  HIGHCONTRASTW hc{};
  hc.cbSize = sizeof hc;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void DwmDarkTitleBar(HWND window, bool dark) {
  using TSetAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  // Only a dark scheme ever needs it, so start-up loads nothing for it.
  static const TSetAttribute setAttribute = [] {
    TSetAttribute entry = nullptr;
    ResolveProc(LoadSystemLibrary(L"dwmapi.dll"), "DwmSetWindowAttribute", entry);
    return entry;
  }();
  if (!setAttribute || !window) return;
  const BOOL value = dark ? TRUE : FALSE;
  if (FAILED(setAttribute(window, kDwmUseImmersiveDarkMode, &value, sizeof value))) return;
  // A caption already on screen is drawn anew only when its frame changes.
  if (IsWindowVisible(window))
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_FRAMECHANGED);
}

bool gHighContrast = false;

void PaintButton(HWND button, HDC dc, const TOwnLook& look) {
  RECT rc{};
  GetClientRect(button, &rc);
  const LRESULT state = SendMessageW(button, BM_GETSTATE, 0, 0);
  const bool pushed = (state & BST_PUSHED) != 0;
  const bool hot = (state & BST_HOT) != 0;
  const bool enabled = IsWindowEnabled(button) != FALSE;
  const LRESULT ui = SendMessageW(button, WM_QUERYUISTATE, 0, 0);

  FillSolid(dc, rc, hot || pushed ? look.ButtonText() : look.ButtonFrame());
  RECT face = rc;
  InflateRect(&face, -1, -1);
  const COLORREF faceColor = pushed ? look.Panel().Shadow : look.Button();
  FillSolid(dc, face, faceColor);

  const std::wstring text = WindowText(button);
  TScopedSelect font(dc, reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? look.ButtonText() : look.ButtonFrame());
  RECT textRect = face;
  if (pushed) OffsetRect(&textRect, 1, 1);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | ((ui & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0));
  if ((state & BST_FOCUS) && !(ui & UISF_HIDEFOCUS)) {
    RECT focus = rc;
    InflateRect(&focus, -3, -3);
    SetTextColor(dc, look.ButtonText());
    SetBkColor(dc, faceColor);
    DrawFocusRect(dc, &focus);
  }
}

LRESULT CALLBACK OwnButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
  const auto& look = *reinterpret_cast<const TOwnLook*>(ref);
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc) PaintButton(hwnd, dc, look);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintButton(hwnd, reinterpret_cast<HDC>(wp), look);
      return 0;
    // The button may draw these changes at once in its own colours; ours
    // follow straight after.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case WM_UPDATEUISTATE: {
      const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, FALSE);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, OwnButtonProc, id);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

bool (*QueryHighContrast)() = &SystemHighContrast;
void (*UseDarkTitleBar)(HWND window, bool dark) = &DwmDarkTitleBar;

bool HighContrast() { return gHighContrast; }

void RefreshHighContrast() { gHighContrast = QueryHighContrast != nullptr && QueryHighContrast(); }

COLORREF ToColorRef(TColor color) {
  return IsSystemColor(color) ? GetSysColor(SystemColorIndex(color)) : static_cast<COLORREF>(color & 0xFFFFFFu);
}

COLORREF TextOnFace(COLORREF otherwise) { return gHighContrast ? GetSysColor(COLOR_BTNTEXT) : otherwise; }

COLORREF LinkColor(COLORREF otherwise) { return gHighContrast ? GetSysColor(COLOR_HOTLIGHT) : otherwise; }

TOwnLook::TOwnLook(const TColourScheme& scheme)
    : FText(ToColorRef(scheme.Text)),
      FButton(ToColorRef(scheme.Button)),
      FButtonText(ToColorRef(scheme.ButtonText)),
      FButtonFrame(ToColorRef(scheme.ButtonFrame)) {
  FPanel.Face = ToColorRef(scheme.Panel);
  FPanel.Light = ToColorRef(scheme.PanelLight);
  FPanel.Shadow = ToColorRef(scheme.PanelShadow);
  FFaceBrush.reset(CreateSolidBrush(FPanel.Face));
  FPanel.FaceBrush = FFaceBrush ? FFaceBrush.get() : GetSysColorBrush(COLOR_BTNFACE);
}

void SetButtonLook(HWND button, const TOwnLook* look) {
  if (!button) return;
  // One subclass id: a new look replaces the old one's reference.
  constexpr UINT_PTR kId = 1;
  if (look) {
    SetWindowSubclass(button, OwnButtonProc, kId, reinterpret_cast<DWORD_PTR>(look));
  } else {
    RemoveWindowSubclass(button, OwnButtonProc, kId);
  }
  InvalidateRect(button, nullptr, TRUE);
}

}  // namespace lumeno
