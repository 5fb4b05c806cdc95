#include "windows/LumenoInstruction.h"

#include <richedit.h>

#include <algorithm>

#include "base/SystemLibrary_win.h"
#include "windows/LumenoForm.h"
#include "windows/LumenoLook.h"
#include "windows/LumenoTexts.h"

namespace lumeno {

namespace {

constexpr wchar_t kClassName[] = L"TFormInstruction";
// The help text's height in design pixels.
constexpr int kHelpFontPixels = 16;

// The rich-text class of the newest library present: Msftedit's, else riched20's.
const wchar_t* RichEditClass() {
  static const wchar_t* name = [] () -> const wchar_t* {
    if (LoadSystemLibrary(L"Msftedit.dll")) return MSFTEDIT_CLASS;
    if (LoadSystemLibrary(L"Riched20.dll")) return RICHEDIT_CLASSW;
    return nullptr;
  }();
  return name;
}

}  // namespace

TFormInstruction::TFormInstruction(TFormLumeno& main) {
  // The client area is what is left inside the 21-pixel frame.
  TFormDesc desc = DialogDesc(kClassName, L"How to use?", kClientWidth + 2 * kBorderWidth,
                              kClientHeight + 2 * kBorderWidth, main.Handle());
  desc.BackgroundColor = COLOR_INFOBK;
  CreateForm(desc);
}

void TFormInstruction::CreateLateControls() {
  const wchar_t* cls = RichEditClass();
  if (!cls) return;
  FRichEdit1 = AddControl(FHandle, {cls, L"", WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP, 0,
                                    0, 0, kClientWidth, kClientHeight, IDC_RICHEDIT1});
  if (!FRichEdit1) return;
  FitRichEdit();
  SwallowEscape(FRichEdit1);
  ColoursChanged();
  SetHelpText();
}

void TFormInstruction::ColoursChanged() {
  // The box keeps a colour value, not the system colour; in a high-contrast
  // theme it takes the window colour, on which the text's own colour reads.
  if (!FRichEdit1) return;
  SendMessageW(FRichEdit1, EM_SETBKGNDCOLOR, HighContrast() ? 1 : 0, static_cast<LPARAM>(GetSysColor(COLOR_INFOBK)));
}

void TFormInstruction::FitRichEdit() {
  // The box fills whatever the scaled frame leaves.
  RECT client{};
  GetClientRect(FHandle, &client);
  MoveWindow(FRichEdit1, 0, 0, client.right, client.bottom, TRUE);
}

void TFormInstruction::SetHelpText() {
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  cf.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE | CFM_STRIKEOUT | CFM_COLOR;
  cf.dwEffects = CFE_AUTOCOLOR;
  // The box turns twips into pixels at the screen's DPI: 16 pixels at 96 dpi
  // are 240 twips, and the same pixels at the window's DPI.
  cf.yHeight = MulDiv(Scale(kHelpFontPixels), 1440, SystemDpi());
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
  InflateRect(&frame, Scale(kBorderWidth), Scale(kBorderWidth));
  ExcludeClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
  FillRect(dc, &frame, GetSysColorBrush(COLOR_INFOBK));
  ReleaseDC(FHandle, dc);
}

void TFormInstruction::DpiChanged() {
  if (!FRichEdit1) return;
  FitRichEdit();
  // The text keeps its place; only its size changes.
  CHARRANGE selection{};
  SendMessageW(FRichEdit1, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
  SetHelpText();
  SendMessageW(FRichEdit1, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
}

LRESULT TFormInstruction::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NCCALCSIZE: {
      LRESULT result = DefaultProc(msg, wp, lp);
      RECT* r = wp ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0] : reinterpret_cast<RECT*>(lp);
      const int dx = std::min<LONG>(Scale(kBorderWidth), (r->right - r->left) / 2);
      const int dy = std::min<LONG>(Scale(kBorderWidth), (r->bottom - r->top) / 2);
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
