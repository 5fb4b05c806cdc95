#include "controls/LinkLabel_win.h"

#include <shellapi.h>

#include <climits>
#include <string>

namespace lumeno {

namespace {

std::wstring WidenAnsi(std::string_view ansi) {
  if (ansi.empty() || ansi.size() > static_cast<std::size_t>(INT_MAX)) return std::wstring();
  const int length = static_cast<int>(ansi.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
  if (needed <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), needed);
  return wide;
}

bool RegisterLinkClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof(existing);
  if (GetClassInfoExW(instance, TLinkLabel::kClassName, &existing)) return true;
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  // CS_DBLCLKS: the second press of a double click must arrive as
  // WM_LBUTTONDBLCLK, which does not open the link again.
  wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_HAND);
  wc.lpszClassName = TLinkLabel::kClassName;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

TLinkLabel::TShellExecuteFn TLinkLabel::ShellOpen = &ShellExecuteA;

TLinkLabel::TLinkLabel() : TLinkLabelCore(&WidenAnsi) {}

TLinkLabel::~TLinkLabel() {
  if (FHandle) DestroyWindow(FHandle);
}

bool TLinkLabel::Create(HWND parent, int left, int top, int width, int height, int id) {
  if (FHandle || !parent) return false;
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterLinkClass(instance, &WndProc)) return false;
  HWND hwnd = CreateWindowExW(0, kClassName, Caption().c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP, left, top,
                              width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  if (!hwnd) return false;
  FHandle = hwnd;
  if (!FFont) FFont = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
  RebuildFont();
  AdjustBounds();
  InvalidateRect(FHandle, nullptr, FALSE);
  return true;
}

void TLinkLabel::SetFont(HFONT font) {
  FFont = font;
  RebuildFont();
  AdjustBounds();
  if (FHandle) InvalidateRect(FHandle, nullptr, FALSE);
}

void TLinkLabel::SetColor(COLORREF color) {
  if (color == FColor) return;
  FColor = color;
  if (FHandle) InvalidateRect(FHandle, nullptr, FALSE);
}

void TLinkLabel::SetAlignment(TLinkAlignment alignment) {
  if (alignment == FAlignment) return;
  FAlignment = alignment;
  if (FHandle) InvalidateRect(FHandle, nullptr, FALSE);
}

void TLinkLabel::SetAutoSize(bool autoSize) {
  if (autoSize == FAutoSize) return;
  FAutoSize = autoSize;
  AdjustBounds();
}

void TLinkLabel::CaptionChanged() {
  if (!FHandle) return;
  SetWindowTextW(FHandle, Caption().c_str());
  AdjustBounds();
  InvalidateRect(FHandle, nullptr, FALSE);
}

void TLinkLabel::RebuildFont() {
  HFONT base = FFont ? FFont : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTW lf{};
  if (!GetObjectW(base, sizeof(lf), &lf)) return;
  lf.lfUnderline = TRUE;
  FLinkFont.reset(CreateFontIndirectW(&lf));
}

UINT TLinkLabel::TextFormat() const {
  // No prefix processing: an '&' in an address is shown as it is.
  UINT format = DT_NOPREFIX | DT_EXPANDTABS | DT_TOP;
  switch (FAlignment) {
    case TLinkAlignment::Left: format |= DT_LEFT; break;
    case TLinkAlignment::Right: format |= DT_RIGHT; break;
    case TLinkAlignment::Center: format |= DT_CENTER; break;
  }
  return format;
}

void TLinkLabel::AdjustBounds() {
  if (!FHandle || !FAutoSize) return;
  TScopedGetDc dc(FHandle);
  if (!dc) return;
  TScopedSelect font(dc.get(), FLinkFont.get());
  RECT text{0, 0, 0, 0};
  const std::wstring& caption = Caption();
  // An empty caption still measures one line high.
  const wchar_t* measured = caption.empty() ? L" " : caption.c_str();
  DrawTextW(dc.get(), measured, -1, &text, TextFormat() | DT_CALCRECT);
  const int width = caption.empty() ? 0 : text.right - text.left;
  const int height = text.bottom - text.top;

  RECT bounds;
  GetWindowRect(FHandle, &bounds);
  MapWindowPoints(HWND_DESKTOP, GetParent(FHandle), reinterpret_cast<POINT*>(&bounds), 2);
  int left = bounds.left;
  const int oldWidth = bounds.right - bounds.left;
  if (FAlignment == TLinkAlignment::Right) left = bounds.right - width;
  if (FAlignment == TLinkAlignment::Center) left = bounds.left + (oldWidth - width) / 2;
  SetWindowPos(FHandle, nullptr, left, bounds.top, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TLinkLabel::PaintParentBackground(HDC dc, const RECT& client) {
  // Let the parent erase our rectangle as if it were its own, so the label
  // sits on whatever background the parent draws there.
  HWND parent = GetParent(FHandle);
  if (parent) {
    POINT origin{0, 0};
    MapWindowPoints(FHandle, parent, &origin, 1);
    POINT old;
    OffsetWindowOrgEx(dc, origin.x, origin.y, &old);
    const LRESULT erased = SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SetWindowOrgEx(dc, old.x, old.y, nullptr);
    if (erased) return;
  }
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
}

void TLinkLabel::Paint(HDC dc) {
  RECT client;
  GetClientRect(FHandle, &client);
  const int saved = SaveDC(dc);
  TScopedSelect font(dc, FLinkFont.get());
  // Only the text's cell is painted: a label wider than its parent's inside
  // (the side menu's) leaves the parent's edge beside it as the parent drew it.
  RECT measured{0, 0, 0, 0};
  DrawTextW(dc, Caption().c_str(), -1, &measured, TextFormat() | DT_CALCRECT);
  const int width = measured.right - measured.left;
  RECT cell{client.left, client.top, client.left + width, client.top + (measured.bottom - measured.top)};
  if (FAlignment == TLinkAlignment::Right) OffsetRect(&cell, client.right - cell.right, 0);
  if (FAlignment == TLinkAlignment::Center) OffsetRect(&cell, (client.right - client.left - width) / 2, 0);
  IntersectRect(&cell, &cell, &client);
  IntersectClipRect(dc, cell.left, cell.top, cell.right, cell.bottom);
  PaintParentBackground(dc, client);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, FColor);
  DrawTextW(dc, Caption().c_str(), -1, &client, TextFormat());
  if (GetFocus() == FHandle) DrawFocusRect(dc, &cell);
  RestoreDC(dc, saved);
}

void TLinkLabel::OpenLink() {
  const std::string target = Target();
  if (ShellOpen) ShellOpen(GetParent(FHandle), "Open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

LRESULT CALLBACK TLinkLabel::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* label = static_cast<TLinkLabel*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(label));
    label->FHandle = hwnd;
  }
  auto* label = reinterpret_cast<TLinkLabel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!label) return DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    label->FHandle = nullptr;
    return DefWindowProcW(hwnd, msg, wp, lp);
  }
  return label->HandleMessage(msg, wp, lp);
}

LRESULT TLinkLabel::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_LBUTTONDOWN:
      // The press opens the link; no capture, so the release does nothing.
      OpenLink();
      return 0;
    case WM_LBUTTONDBLCLK:
      // Second press of a double click: already opened by the first.
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(FHandle, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE: {
      // Enter is the label's own while it has the focus, not the window's.
      const auto* key = reinterpret_cast<const MSG*>(lp);
      const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
      return DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_KEYDOWN:
      // One opening per press: a held key's repeats open nothing more.
      if ((wp == VK_RETURN || wp == VK_SPACE) && !(lp & (1 << 30))) OpenLink();
      return 0;
    case kOpenLinkMessage:
      OpenLink();
      return 0;
    case WM_GETOBJECT:
      return AnswerGetObject(FHandle, wp, lp);
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(FHandle, &ps);
      if (dc) Paint(dc);
      EndPaint(FHandle, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_SETFONT:
      FFont = reinterpret_cast<HFONT>(wp);
      RebuildFont();
      AdjustBounds();
      if (LOWORD(lp)) InvalidateRect(FHandle, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(FFont);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcW(FHandle, msg, wp, lp);
      const auto* text = reinterpret_cast<const wchar_t*>(lp);
      SetCaption(text ? std::wstring_view(text) : std::wstring_view());
      return result;
    }
    default:
      return DefWindowProcW(FHandle, msg, wp, lp);
  }
}

}  // namespace lumeno
