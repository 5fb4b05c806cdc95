#include "windows/Form.h"

#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <map>
#include <utility>
#include <vector>

#include "app/Application.h"
#include "windows/LumenoLook.h"

namespace lumeno {

namespace {

HINSTANCE Instance() {
  HINSTANCE instance = Application().Instance();
  return instance ? instance : GetModuleHandleW(nullptr);
}

// The raised one-pixel edge DrawEdge draws, in colours of our own.
void DrawBevel(HDC dc, const RECT& rc, COLORREF light, COLORREF shadow) {
  if (rc.right <= rc.left || rc.bottom <= rc.top) return;
  FillSolid(dc, {rc.left, rc.top, rc.right - 1, rc.top + 1}, light);
  FillSolid(dc, {rc.left, rc.top, rc.left + 1, rc.bottom - 1}, light);
  FillSolid(dc, {rc.left, rc.bottom - 1, rc.right, rc.bottom}, shadow);
  FillSolid(dc, {rc.right - 1, rc.top, rc.right, rc.bottom}, shadow);
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    // The panel's children belong to the window; their messages go there.
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_DRAWITEM:
    case WM_VSCROLL:
    case WM_HSCROLL:
      if (HWND parent = GetParent(hwnd)) return SendMessageW(parent, msg, wp, lp);
      break;
    case WM_CLOSE:
      // A child must never destroy itself on a stray close request.
      return 0;
    case WM_ERASEBKGND: {
      RECT rc;
      GetClientRect(hwnd, &rc);
      const auto* colors = reinterpret_cast<const TPanelColors*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
      FillRect(reinterpret_cast<HDC>(wp), &rc, colors ? colors->FaceBrush : GetSysColorBrush(COLOR_BTNFACE));
      return 1;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT rc;
      GetClientRect(hwnd, &rc);
      if (const auto* colors = reinterpret_cast<const TPanelColors*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA))) {
        DrawBevel(dc, rc, colors->Light, colors->Shadow);
      } else {
        DrawEdge(dc, &rc, BDR_RAISEDINNER, BF_RECT);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK EscapeSwallower(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if ((msg == WM_KEYDOWN || msg == WM_KEYUP) && wp == VK_ESCAPE) return 0;
  if (msg == WM_CHAR && wp == 27) return 0;
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, EscapeSwallower, id);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

LRESULT CALLBACK TabPasser(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  if (msg == WM_GETDLGCODE) {
    const LRESULT code = DefSubclassProc(hwnd, msg, wp, lp);
    const auto* key = reinterpret_cast<const MSG*>(lp);
    if (key && key->message == WM_KEYDOWN && key->wParam == VK_TAB) return code & ~(DLGC_WANTALLKEYS | DLGC_WANTTAB);
    return code;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, TabPasser, id);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// Not in the headers of older SDKs.
constexpr UINT kWmDpiChanged = 0x02E0;

template <typename TFn>
TFn User32Function(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? reinterpret_cast<TFn>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

int ScreenDpi() {
  TScopedGetDc dc(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc.get(), LOGPIXELSY) : 0;
  return KnownDpi(dpi);
}

// AdjustWindowRectEx for a DPI: the frame's metrics differ per DPI.
void AdjustForDpi(RECT& r, DWORD style, DWORD exStyle, int dpi) {
  using TAdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjust = User32Function<TAdjustForDpi>("AdjustWindowRectExForDpi");
  if (!adjust || !adjust(&r, style, FALSE, exStyle, static_cast<UINT>(dpi))) AdjustWindowRectEx(&r, style, FALSE, exStyle);
}

void ShowError(HWND owner, const char* what) {
  MessageBoxW(owner, Widen(what ? what : "").c_str(), L"Lumeno", MB_OK | MB_ICONSTOP);
}

}  // namespace

std::wstring Widen(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring w(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), w.data(), n);
  return w;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int n =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) return {};
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), s.data(), n, nullptr, nullptr);
  return s;
}

const wchar_t* ChildClass(const wchar_t* name, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(Instance(), name, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = proc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
  }
  return name;
}

const wchar_t* PanelClass() { return ChildClass(L"TPanel", PanelProc); }

std::wstring WindowText(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void FillSolid(HDC dc, const RECT& rc, COLORREF color) {
  SetDCBrushColor(dc, color);
  FillRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void SetPanelColors(HWND panel, const TPanelColors* colors) {
  if (!panel) return;
  SetWindowLongPtrW(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(colors));
  InvalidateRect(panel, nullptr, TRUE);
}

void SwallowEscape(HWND edit) {
  if (edit) SetWindowSubclass(edit, EscapeSwallower, 1, 0);
}

void MoveOnWithTab(HWND edit) {
  if (edit) SetWindowSubclass(edit, TabPasser, 1, 0);
}

int SystemDpi() {
  using TGetDpiForSystem = UINT(WINAPI*)();
  static const auto forSystem = User32Function<TGetDpiForSystem>("GetDpiForSystem");
  const int dpi = forSystem ? static_cast<int>(forSystem()) : 0;
  return dpi > 0 ? dpi : ScreenDpi();
}

int WindowDpi(HWND hwnd) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto forWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  const int dpi = forWindow && hwnd ? static_cast<int>(forWindow(hwnd)) : 0;
  return dpi > 0 ? dpi : SystemDpi();
}

HFONT TForm::DefaultFont(int dpi, BYTE charset) {
  static std::map<std::pair<int, BYTE>, TUniqueFont> fonts;
  dpi = KnownDpi(dpi);
  TUniqueFont& font = fonts[{dpi, charset}];
  if (!font)
    font.reset(CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
  return font.get();
}

HFONT TForm::FontFor(const std::wstring& text, int dpi) {
  const HFONT font = DefaultFont(dpi);
  // Only letters beyond ASCII can be missing; most texts have none and cost
  // nothing here.
  std::wstring letters;
  for (wchar_t c : text)
    if (c >= 0x80) letters += c;
  if (letters.empty()) return font;
  auto missing = [&letters](HFONT candidate) {
    TUniqueMemDc dc(CreateCompatibleDC(nullptr));
    TScopedSelect select(dc.get(), candidate);
    std::vector<WORD> glyphs(letters.size());
    if (!dc || GetGlyphIndicesW(dc.get(), letters.c_str(), static_cast<int>(letters.size()), glyphs.data(),
                                GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
      return true;
    return std::find(glyphs.begin(), glyphs.end(), WORD{0xFFFF}) != glyphs.end();
  };
  if (!missing(font)) return font;
  const HFONT central = DefaultFont(dpi, EASTEUROPE_CHARSET);
  return missing(central) ? font : central;
}

TForm* TForm::FromHandle(HWND hwnd) {
  if (!hwnd) return nullptr;
  WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  if (proc != StaticProc) return nullptr;
  return reinterpret_cast<TForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

TForm::~TForm() { DestroyForm(); }

void TForm::DestroyForm() {
  if (FHandle) {
    HWND hwnd = FHandle;
    Application().RemoveDialogWindow(hwnd);
    // Stop dispatching to this object before the window goes.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    FHandle = nullptr;
    DestroyWindow(hwnd);
  }
}

bool TForm::CreateForm(const TFormDesc& desc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(Instance(), desc.ClassName, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = StaticProc;
    wc.hInstance = Instance();
    wc.hIcon = desc.Icon;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(desc.BackgroundColor) + 1);
    wc.lpszClassName = desc.ClassName;
    if (!RegisterClassExW(&wc)) return false;
  }
  FDesc = desc;
  FDpi = SystemDpi();
  const SIZE size = OuterSize(FDpi);
  HWND hwnd = CreateWindowExW(desc.ExStyle, desc.ClassName, desc.Caption, desc.Style & ~WS_VISIBLE, Scale(desc.X),
                              Scale(desc.Y), size.cx, size.cy, desc.Owner, nullptr, Instance(), this);
  if (!hwnd) return false;
  // Created on a monitor of another scale than the system's: sized for that.
  const int dpi = WindowDpi(hwnd);
  if (dpi != FDpi) {
    FDpi = dpi;
    const SIZE resized = OuterSize(dpi);
    SetWindowPos(hwnd, nullptr, 0, 0, resized.cx, resized.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  if (desc.Icon) {
    SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(desc.Icon));
    SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(desc.Icon));
  }
  Application().AddDialogWindow(hwnd);
  return true;
}

SIZE TForm::OuterSize(int dpi) const {
  RECT r{0, 0, ScaleToDpi(FDesc.Width, dpi), ScaleToDpi(FDesc.Height, dpi)};
  if (FDesc.ClientSized) AdjustForDpi(r, FDesc.Style, FDesc.ExStyle, dpi);
  return {r.right - r.left, r.bottom - r.top};
}

HWND TForm::AddControl(HWND parent, const TControlDesc& d) {
  const TBounds b = Scale(TBounds{d.X, d.Y, d.Width, d.Height});
  const wchar_t* text = d.Text ? d.Text : L"";
  HWND hwnd = CreateWindowExW(d.ExStyle, d.ClassName, text, d.Style | WS_CHILD | WS_VISIBLE, b.Left, b.Top, b.Width,
                              b.Height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.Id)), Instance(),
                              nullptr);
  if (hwnd) {
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(text)), FALSE);
    FControls.push_back({hwnd, {d.X, d.Y, d.Width, d.Height}});
  }
  return hwnd;
}

void TForm::ApplyDpi(int dpi, const RECT* suggested) {
  const HFONT oldFont = Font();
  const HFONT oldCentral = DefaultFont(FDpi, EASTEUROPE_CHARSET);
  FDpi = KnownDpi(dpi);
  if (reinterpret_cast<HFONT>(SendMessageW(FHandle, WM_GETFONT, 0, 0)) == oldFont)
    SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  for (const TPlacedControl& c : FControls) {
    if (!IsWindow(c.Handle)) continue;
    // A control given a font of its own keeps it; the window sets that one again.
    const HFONT current = reinterpret_cast<HFONT>(SendMessageW(c.Handle, WM_GETFONT, 0, 0));
    if (current == oldFont || current == oldCentral)
      SendMessageW(c.Handle, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(WindowText(c.Handle))), FALSE);
    const TBounds b = Scale(c.Design);
    SetWindowPos(c.Handle, nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (suggested) {
    const SIZE size = FDesc.ClientSized ? OuterSize(FDpi)
                                        : SIZE{suggested->right - suggested->left, suggested->bottom - suggested->top};
    SetWindowPos(FHandle, nullptr, suggested->left, suggested->top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    // The frame the window really got may differ from the one computed for
    // the DPI: the client area is what the design fixes.
    RECT client{}, outer{};
    if (FDesc.ClientSized && GetClientRect(FHandle, &client) && GetWindowRect(FHandle, &outer)) {
      const int dx = Scale(FDesc.Width) - client.right, dy = Scale(FDesc.Height) - client.bottom;
      if (dx || dy)
        SetWindowPos(FHandle, nullptr, 0, 0, outer.right - outer.left + dx, outer.bottom - outer.top + dy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
  }
  DpiChanged();
  InvalidateRect(FHandle, nullptr, TRUE);
}

void TForm::MoveControl(HWND control, const TBounds& design) {
  for (TPlacedControl& c : FControls) {
    if (c.Handle != control) continue;
    c.Design = design;
    const TBounds b = Scale(design);
    SetWindowPos(control, nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

TBounds TForm::Bounds() const {
  RECT r{};
  if (FHandle) GetWindowRect(FHandle, &r);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TForm::SetBounds(const TBounds& bounds) {
  if (!FHandle) return;
  const TBounds b = SanitizeBounds(bounds);
  // The bounds the window already has change nothing, but under Wine the
  // call still costs a trip to the display (the placement store sets each
  // edge in turn at start-up, mostly to what it already is).
  if (b == Bounds()) return;
  SetWindowPos(FHandle, nullptr, b.Left, b.Top, b.Width, b.Height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::SetLeft(int32_t left) {
  TBounds b = Bounds();
  b.Left = left;
  SetBounds(b);
}

void TForm::SetTop(int32_t top) {
  TBounds b = Bounds();
  b.Top = top;
  SetBounds(b);
}

void TForm::FirstShowPlacement() {
  HWND owner = FHandle ? GetWindow(FHandle, GW_OWNER) : nullptr;
  if (!owner) return;
  RECT o{};
  GetWindowRect(owner, &o);
  const TBounds self = Bounds();
  SetBounds(CentreOn({o.left, o.top, o.right - o.left, o.bottom - o.top}, self.Width, self.Height));
}

void TForm::EnsureControls() {
  if (FControlsCreated || !FHandle) return;
  FControlsCreated = true;
  CreateLateControls();
}

int TForm::ShowModal() {
  if (!FHandle || FModal || IsWindowVisible(FHandle)) return mrNone;
  FModalResult = mrNone;
  EnsureControls();
  FormShow();
  if (!FShownBefore) {
    FShownBefore = true;
    FirstShowPlacement();
  }
  HWND owner = GetWindow(FHandle, GW_OWNER);
  const bool disableOwner = owner && IsWindowEnabled(owner);
  if (disableOwner) EnableWindow(owner, FALSE);
  FModal = true;
  ShowWindow(FHandle, SW_SHOW);
  SetForegroundWindow(FHandle);
  while (FModalResult == mrNone && IsWindowVisible(FHandle)) {
    if (!Application().ProcessMessage()) {
      FModalResult = mrCancel;
      break;
    }
  }
  if (FModalResult == mrNone) FModalResult = mrCancel;
  // The owner is enabled before this window hides, so activation returns to it.
  if (disableOwner) EnableWindow(owner, TRUE);
  ShowWindow(FHandle, SW_HIDE);
  if (owner && IsWindowVisible(owner)) SetActiveWindow(owner);
  FModal = false;
  return FModalResult;
}

void TForm::EndModal(int result) {
  if (FModal) {
    FModalResult = result;
  } else if (FHandle) {
    ShowWindow(FHandle, SW_HIDE);
  }
}

void TForm::Close() {
  if (FHandle) SendMessageW(FHandle, WM_CLOSE, 0, 0);
}

void TForm::FormCloseRequest() { EndModal(mrCancel); }

LRESULT TForm::WndProc(UINT msg, WPARAM wp, LPARAM lp) { return DefaultProc(msg, wp, lp); }

LRESULT TForm::BaseProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(FHandle, focus)) FLastFocus = focus;
      } else if (!HIWORD(wp)) {
        // Focus goes back to the control that had it, else to the first tab stop.
        HWND target = FLastFocus;
        if (!target || !IsWindow(target) || !IsChild(FHandle, target) || !IsWindowVisible(target) ||
            !IsWindowEnabled(target))
          target = GetNextDlgTabItem(FHandle, nullptr, FALSE);
        if (target) {
          WndProc(msg, wp, lp);
          SetFocus(target);
          return 0;
        }
      }
      break;
    case WM_CLOSE:
      FormCloseRequest();
      return 0;
    case kWmDpiChanged:
      ApplyDpi(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_SETTINGCHANGE:
      if (wp != SPI_SETHIGHCONTRAST) break;
      [[fallthrough]];
    case WM_SYSCOLORCHANGE:
      // Each window asks again: which one hears it first is not known.
      RefreshHighContrast();
      ColoursChanged();
      RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
      break;
    default:
      break;
  }
  return WndProc(msg, wp, lp);
}

LRESULT CALLBACK TForm::StaticProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<TForm*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self) self->FHandle = hwnd;
  }
  auto* self = reinterpret_cast<TForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    if (self) {
      Application().RemoveDialogWindow(hwnd);
      self->FHandle = nullptr;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  // No exception crosses the window procedure: like the framework's
  // application-wide handler, the error is shown and the program goes on.
  try {
    return self->BaseProc(msg, wp, lp);
  } catch (const std::exception& e) {
    ShowError(hwnd, e.what());
  } catch (...) {
    ShowError(hwnd, "Unknown error");
  }
  return 0;
}

}  // namespace lumeno
