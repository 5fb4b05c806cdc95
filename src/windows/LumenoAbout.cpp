#include "windows/LumenoAbout.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "base/ExecutablePath_win.h"
#include "base/SystemLibrary_win.h"
#include "windows/LumenoForm.h"
#include "windows/LumenoLook.h"
#include "windows/LumenoTexts.h"

namespace lumeno {

namespace {

constexpr wchar_t kClassName[] = L"TFormAbout";
constexpr int kTitleLeft = 92;
constexpr int kTitleWidth = 110;
constexpr int kTitleHeight = 37;
constexpr TBounds kLinkDesign{104, 288, 86, 13};

HFONT MakeFont(int height, int weight) {
  return CreateFontW(-height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif");
}

}  // namespace

std::string pobierzWersje(const std::wstring& exePath) {
  // version.dll serves only this read. Imported, it would be loaded with the
  // exe, from the exe's folder if one lay there, before the search is narrowed.
  static const HMODULE version = LoadSystemLibrary(L"version.dll");
  decltype(&::GetFileVersionInfoSizeW) infoSize = nullptr;
  decltype(&::GetFileVersionInfoW) readInfo = nullptr;
  decltype(&::VerQueryValueW) queryValue = nullptr;
  ResolveProc(version, "GetFileVersionInfoSizeW", infoSize);
  ResolveProc(version, "GetFileVersionInfoW", readInfo);
  ResolveProc(version, "VerQueryValueW", queryValue);
  if (exePath.empty() || !infoSize || !readInfo || !queryValue) return {};
  DWORD handle = 0;
  const DWORD size = infoSize(exePath.c_str(), &handle);
  if (size == 0) return {};
  std::vector<unsigned char> buffer(size);
  if (!readInfo(exePath.c_str(), handle, size, buffer.data())) return {};
  void* info = nullptr;
  UINT length = 0;
  if (!queryValue(buffer.data(), L"\\", &info, &length) || !info || length < sizeof(VS_FIXEDFILEINFO)) return {};
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(info);
  char text[96];
  std::snprintf(text, sizeof text, "%d.%d  (%s: %d.%d)", static_cast<int>(HIWORD(fixed->dwFileVersionMS)),
                static_cast<int>(LOWORD(fixed->dwFileVersionMS)), "Build",
                static_cast<int>(HIWORD(fixed->dwFileVersionLS)), static_cast<int>(LOWORD(fixed->dwFileVersionLS)));
  return text;
}

TFormAbout::TFormAbout(TFormLumeno& main, std::wstring exePath)
    : FExePath(exePath.empty() ? ExecutablePath() : std::move(exePath)) {
  CreateForm(DialogDesc(kClassName, L"About", kClientWidth, kClientHeight, main.Handle()));
}

void TFormAbout::CreateLateControls() {
  MakeFonts();

  // Tab order: Button1, Memo1, Memo2, then the link; the other labels take no focus.
  FButton1 = AddControl(FHandle, {L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP, 0, 110, 330, 75, 25, IDC_ABOUT_BUTTON1});
  const DWORD memoStyle = ES_MULTILINE | ES_CENTER | ES_WANTRETURN | WS_TABSTOP;
  FMemo1 = AddControl(FHandle, {L"EDIT", LegalNoticeText().c_str(), memoStyle, 0, 44, 88, 207, 125, IDC_ABOUT_MEMO1});
  FMemo2 = AddControl(FHandle, {L"EDIT", std::wstring(kCreditLine).c_str(), memoStyle, 0, 44, 270, 207, 17,
                                IDC_ABOUT_MEMO2});
  SwallowEscape(FMemo1);
  SwallowEscape(FMemo2);
  MoveOnWithTab(FMemo1);
  MoveOnWithTab(FMemo2);

  // Sized to its text; a substituted face of another width stays centred
  // where the designed 110 pixels are.
  const TBounds title = TitleBounds();
  FLabel2 = AddControl(FHandle, {L"STATIC", L"Lumeno", SS_LEFT | SS_NOPREFIX, 0, title.Left, title.Top, title.Width,
                                 title.Height, IDC_ABOUT_LABEL2});
  FLabel1 = AddControl(FHandle, {L"STATIC", L"", SS_CENTER | SS_NOPREFIX, 0, 74, 48, 147, 13, IDC_ABOUT_LABEL1});
  SetLabelFonts();

  FLinkLabel1.SetFont(Font());
  const TBounds link = Scale(kLinkDesign);
  FLinkLabel1.Create(FHandle, link.Left, link.Top, link.Width, link.Height, IDC_ABOUT_LINKLABEL1);
  FLinkLabel1.SetFont(Font());
  FLinkLabel1.SetCaption(kMakerHostW);
  FLinkLabel1.SetLinkType(lthttp);
  FLinkLabel1.SetHyperLink(kMakerHost);
  ColoursChanged();
}

void TFormAbout::MakeFonts() {
  FTitleFont.reset(MakeFont(Scale(32), FW_BOLD));
  FVersionFont.reset(MakeFont(Scale(11), FW_BOLD));
}

void TFormAbout::SetLabelFonts() {
  if (FLabel2) SendMessageW(FLabel2, WM_SETFONT, reinterpret_cast<WPARAM>(FTitleFont.get()), FALSE);
  if (FLabel1) SendMessageW(FLabel1, WM_SETFONT, reinterpret_cast<WPARAM>(FVersionFont.get()), FALSE);
}

TBounds TFormAbout::TitleBounds() const {
  // Sized to its text; a face of another width stays centred where the
  // designed 110 pixels are.
  int titleWidth = kTitleWidth;
  int titleHeight = kTitleHeight;
  TScopedGetDc dc(nullptr);
  TScopedSelect select(dc.get(), FTitleFont.get());
  SIZE size{};
  if (dc && GetTextExtentPoint32W(dc.get(), L"Lumeno", 6, &size) && size.cx > 0) {
    titleWidth = DesignOf(size.cx);
    titleHeight = std::max<int>(DesignOf(size.cy), kTitleHeight);
  }
  return {kTitleLeft + Div2(kTitleWidth - titleWidth), 12, titleWidth, titleHeight};
}

void TFormAbout::DpiChanged() {
  if (!FLabel2) return;
  // The labels let go of the old fonts before they are deleted.
  TUniqueFont oldTitle = std::move(FTitleFont);
  TUniqueFont oldVersion = std::move(FVersionFont);
  MakeFonts();
  SetLabelFonts();
  const TBounds title = Scale(TitleBounds());
  SetWindowPos(FLabel2, nullptr, title.Left, title.Top, title.Width, title.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  // Placed first: the new font then sizes the link from its scaled left edge.
  const TBounds link = Scale(kLinkDesign);
  if (HWND h = FLinkLabel1.Handle())
    SetWindowPos(h, nullptr, link.Left, link.Top, link.Width, link.Height, SWP_NOZORDER | SWP_NOACTIVATE);
  FLinkLabel1.SetFont(Font());
}

void TFormAbout::FormCreate() {
  const std::string text = "ver. " + pobierzWersje(FExePath);
  if (FLabel1) SetWindowTextW(FLabel1, Widen(text).c_str());
}

void TFormAbout::Button1Click() { EndModal(mrOk); }

void TFormAbout::ColoursChanged() { FLinkLabel1.SetColor(LinkColor(TLinkLabel::kLinkColor)); }

LRESULT TFormAbout::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED && LOWORD(wp) == IDC_ABOUT_BUTTON1) {
        Button1Click();
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT: {
      // The memos sit on the window's button-face colour.
      HDC dc = reinterpret_cast<HDC>(wp);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      SetTextColor(dc, TextOnFace(GetSysColor(COLOR_WINDOWTEXT)));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CTLCOLORSTATIC:
      if (reinterpret_cast<HWND>(lp) == FLabel2) {
        LRESULT brush = DefaultProc(msg, wp, lp);
        SetTextColor(reinterpret_cast<HDC>(wp), TextOnFace(RGB(0, 0, 0)));
        return brush;
      }
      break;
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace lumeno
