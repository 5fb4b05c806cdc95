// The fixed texts in boxes like the ones that show them: no line may wrap,
// or the about window's last lines drop out of view and the help text turns
// ragged. Wine's stand-ins for the old bitmap fonts are wider than the
// originals, so this holds on Windows as well.
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "windows/Form.h"
#include "windows/LumenoTexts.h"

namespace lumeno {
namespace {

struct TResolvedFace {
  std::wstring Face;
  TEXTMETRICW Metrics{};
};

// The face GDI really selects for a request, and its metrics.
TResolvedFace Resolve(const wchar_t* face, int height, BYTE charset = DEFAULT_CHARSET) {
  TResolvedFace resolved;
  HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  wchar_t name[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, name);
  resolved.Face = name;
  GetTextMetricsW(dc, &resolved.Metrics);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  return resolved;
}

// Every window's text is laid out for "MS Sans Serif". Without it (under
// Wine: the fonts-wine package, found in the prefix) GDI quietly picks a
// wider stand-in, captions clip, and without Marlett the caption buttons show
// letters instead of symbols. (Wine ships no "MS Serif"; the help text gets a
// stand-in, which its own fit test covers.)
TEST(TextLayoutTest, TheWindowFontsResolveToTheirOwnFaces) {
  for (const wchar_t* face : {L"MS Sans Serif", L"Marlett"}) {
    SCOPED_TRACE(Narrow(face));
    EXPECT_EQ(Resolve(face, -11).Face, face);
  }
  // The 8-point window font at 96 dpi: the classic 13-pixel cell.
  const TResolvedFace sans = Resolve(L"MS Sans Serif", -MulDiv(8, 96, 72));
  EXPECT_EQ(sans.Metrics.tmHeight, 13);
  // A face nobody has comes back under another name: the check above can fail.
  EXPECT_NE(Resolve(L"Lumeno No Such Face", -11).Face, L"Lumeno No Such Face");
}

TEST(TextLayoutTest, NoticeAndCreditFitTheAboutMemos) {
  // 207 pixels wide, the 8-point window font, lines centred.
  HWND memo = CreateWindowExW(0, L"EDIT", L"", WS_POPUP | ES_MULTILINE | ES_CENTER, 0, 0, 207, 125, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(memo, nullptr);
  HFONT font = CreateFontW(-MulDiv(8, 96, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                           L"MS Sans Serif");
  SendMessageW(memo, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetWindowTextW(memo, LegalNoticeText().c_str());
  EXPECT_EQ(SendMessageW(memo, EM_GETLINECOUNT, 0, 0), 9);
  SetWindowTextW(memo, std::wstring(kCreditLine).c_str());
  EXPECT_EQ(SendMessageW(memo, EM_GETLINECOUNT, 0, 0), 1);
  DestroyWindow(memo);
  DeleteObject(font);
}

TEST(TextLayoutTest, HelpTextFitsTheInstructionBox) {
  // 379 x 268 with its vertical scroll bar showing, "MS Serif" 16 pixels,
  // Central European character set.
  ASSERT_TRUE(LoadLibraryW(L"Msftedit.dll"));
  const DWORD style = WS_POPUP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_DISABLENOSCROLL;
  HWND box = CreateWindowExW(0, MSFTEDIT_CLASS, L"", style, 0, 0, 379, 268, nullptr, nullptr, GetModuleHandleW(nullptr),
                             nullptr);
  ASSERT_NE(box, nullptr);
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET;
  format.yHeight = 16 * 1440 / 96;
  format.bCharSet = EASTEUROPE_CHARSET;
  wcsncpy(format.szFaceName, L"MS Serif", LF_FACESIZE - 1);
  SendMessageW(box, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
  SetWindowTextW(box, HelpText().c_str());
  SendMessageW(box, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
  EXPECT_EQ(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 69);
  // Line by line, so a failure names the line that wraps.
  for (std::size_t i = 0; i < std::size(kHelpLines); ++i) {
    SetWindowTextW(box, std::wstring(kHelpLines[i]).c_str());
    SendMessageW(box, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
    EXPECT_EQ(SendMessageW(box, EM_GETLINECOUNT, 0, 0), 1) << "line " << i + 1 << " wraps";
  }
  DestroyWindow(box);
}

}  // namespace
}  // namespace lumeno
