#include "windows/LumenoInstruction.h"

#include <richedit.h>

#include <algorithm>

#include "windows/LumenoForm.h"
#include "windows/LumenoTexts.h"

namespace lumeno {

namespace {

constexpr wchar_t kClassName[] = L"TFormInstruction";
// 16 pixels at 96 dpi, in twips.
constexpr LONG kHelpFontTwips = 16 * 1440 / 96;

// The rich-text class of the newest library present: Msftedit's, else riched20's.
const wchar_t* RichEditClass() {
  static const wchar_t* name = [] () -> const wchar_t* {
    if (LoadLibraryW(L"Msftedit.dll")) return MSFTEDIT_CLASS;
    if (LoadLibraryW(L"Riched20.dll")) return RICHEDIT_CLASSW;
    return nullptr;
  }();
  return name;
}

}  // namespace

TFormInstruction::TFormInstruction(TFormLumeno& main) {
  const DWORD style = kDialogStyle;
  const DWORD exStyle = kDialogExStyle;
  // The client area is what is left inside the 21-pixel frame.
  RECT outer{0, 0, kClientWidth + 2 * kBorderWidth, kClientHeight + 2 * kBorderWidth};
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  TFormDesc desc{kClassName,
                 L"How to use?",
                 style,
                 exStyle,
                 0,
                 0,
                 outer.right - outer.left,
                 outer.bottom - outer.top,
                 false,
                 COLOR_INFOBK,
                 nullptr,
                 main.Handle()};
  CreateForm(desc);
}

void TFormInstruction::CreateLateControls() {
  const wchar_t* cls = RichEditClass();
  if (!cls) return;
  RECT client{};
  GetClientRect(FHandle, &client);
  FRichEdit1 = AddControl(FHandle, {cls, L"", WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP, 0,
                                    0, 0, client.right, client.bottom, IDC_RICHEDIT1});
  if (!FRichEdit1) return;
  SwallowEscape(FRichEdit1);
  SendMessageW(FRichEdit1, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_INFOBK)));

  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR;
  cf.dwEffects = CFE_AUTOCOLOR;
  cf.yHeight = kHelpFontTwips;
  cf.bCharSet = EASTEUROPE_CHARSET;
  lstrcpynW(cf.szFaceName, L"MS Serif", LF_FACESIZE);
  SendMessageW(FRichEdit1, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&cf));
  SetWindowTextW(FRichEdit1, HelpText().c_str());
  SendMessageW(FRichEdit1, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&cf));
  SendMessageW(FRichEdit1, EM_SETSEL, 0, 0);
  SendMessageW(FRichEdit1, EM_SETMODIFY, FALSE, 0);
}

void TFormInstruction::PaintBorder() {
  if (!FHandle) return;
  HDC dc = GetWindowDC(FHandle);
  if (!dc) return;
  RECT window{};
  GetWindowRect(FHandle, &window);
  RECT client{};
  GetClientRect(FHandle, &client);
  POINT origin{0, 0};
  ClientToScreen(FHandle, &origin);
  RECT inner{origin.x - window.left, origin.y - window.top, 0, 0};
  inner.right = inner.left + client.right;
  inner.bottom = inner.top + client.bottom;
  RECT frame = inner;
  InflateRect(&frame, kBorderWidth, kBorderWidth);
  ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
  FillRect(dc, &frame, GetSysColorBrush(COLOR_INFOBK));
  ReleaseDC(FHandle, dc);
}

LRESULT TFormInstruction::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCALCSIZE: {
      LRESULT result = DefaultProc(msg, wp, lp);
      RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
      const int dx = std::min<LONG>(kBorderWidth, (r->right - r->left) / 2);
      const int dy = std::min<LONG>(kBorderWidth, (r->bottom - r->top) / 2);
      if (dx > 0 && dy > 0) InflateRect(r, -dx, -dy);
      return result;
    }
    case WM_NCPAINT:
    case WM_NCACTIVATE: {
      LRESULT result = DefaultProc(msg, wp, lp);
      PaintBorder();
      return result;
    }
    case WM_SIZE:
      if (FRichEdit1) MoveWindow(FRichEdit1, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
      break;
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace lumeno
