// The hyperlink label as a real child window on a shown top-level window.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "controls/LinkLabel_win.h"
#include "windows/LumenoTexts.h"

namespace lumeno {
namespace {

constexpr COLORREF kParentColour = RGB(255, 255, 200);

struct TShellCall {
  HWND owner;
  std::string operation, file;
  bool noParameters, noDirectory;
  INT show;
};
std::vector<TShellCall> gShellCalls;

HINSTANCE WINAPI RecordShellCall(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                                 INT show) {
  gShellCalls.push_back({owner, operation ? operation : "", file ? file : "", parameters == nullptr,
                         directory == nullptr, show});
  return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
}

void Pump(DWORD milliseconds = 0) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (milliseconds) Sleep(5);
  } while (GetTickCount64() < end);
}

class LinkLabelWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gShellCalls.clear();
    TLinkLabel::ShellOpen = &RecordShellCall;
    brush_ = CreateSolidBrush(kParentColour);
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = brush_;
    wc.lpszClassName = L"LinkLabelTestParent";
    RegisterClassW(&wc);
    parent_ = CreateWindowExW(0, wc.lpszClassName, L"Link label test", WS_POPUP | WS_VISIBLE, 40, 40, 300, 120,
                              nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(parent_, nullptr);
    SetForegroundWindow(parent_);
    // As on the side menu: 130 wide, centred, a fixed size.
    label_.SetAutoSize(false);
    label_.SetAlignment(TLinkAlignment::Center);
    ASSERT_TRUE(label_.Create(parent_, 20, 30, 130, 20));
    label_.SetHyperLink(kMakerHost);
    UpdateWindow(parent_);
    Pump(50);
  }
  void TearDown() override {
    if (parent_) DestroyWindow(parent_);
    UnregisterClassW(L"LinkLabelTestParent", GetModuleHandleW(nullptr));
    DeleteObject(brush_);
    TLinkLabel::ShellOpen = &ShellExecuteA;
  }

  POINT LabelCentreOnScreen() const {
    RECT r;
    GetWindowRect(label_.Handle(), &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  HBRUSH brush_ = nullptr;
  HWND parent_ = nullptr;
  TLinkLabel label_;
};

TEST_F(LinkLabelWinTest, LeftPressOpensTheTargetThroughTheShell) {
  SendMessageW(label_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_EQ(gShellCalls.size(), 1u);
  const TShellCall& call = gShellCalls[0];
  EXPECT_EQ(call.owner, parent_);
  EXPECT_EQ(call.operation, "Open");
  EXPECT_EQ(call.file, std::string("http://") + kMakerHost);
  EXPECT_TRUE(call.noParameters);
  EXPECT_TRUE(call.noDirectory);
  EXPECT_EQ(call.show, SW_SHOWNORMAL);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(LinkLabelWinTest, ReleaseOtherButtonsAndDoubleClickMessagesOpenNothing) {
  for (UINT msg : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK, WM_MBUTTONDOWN,
                   WM_MBUTTONUP, WM_MBUTTONDBLCLK, WM_MOUSEMOVE})
    SendMessageW(label_.Handle(), msg, 0, MAKELPARAM(5, 5));
  EXPECT_TRUE(gShellCalls.empty());
}

TEST_F(LinkLabelWinTest, RealDoubleClickOpensOnce) {
  EXPECT_TRUE(GetClassLongPtrW(label_.Handle(), GCL_STYLE) & CS_DBLCLKS);
  const POINT at = LabelCentreOnScreen();
  ASSERT_TRUE(SetCursorPos(at.x, at.y));
  Pump(50);
  INPUT clicks[4] = {};
  const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 4; ++i) {
    clicks[i].type = INPUT_MOUSE;
    clicks[i].mi.dwFlags = flags[i];
  }
  ASSERT_EQ(SendInput(4, clicks, sizeof(INPUT)), 4u);
  Pump(300);
  ASSERT_EQ(gShellCalls.size(), 1u);
  EXPECT_EQ(gShellCalls[0].file, std::string("http://") + kMakerHost);
}

TEST_F(LinkLabelWinTest, LinkTypeAndLinkChangeOnlyTheNextTarget) {
  label_.SetLinkType(lthttps);
  label_.SetHyperLink("other.example.com");
  // The caption the first link filled in stays.
  wchar_t text[64] = {};
  GetWindowTextW(label_.Handle(), text, 64);
  EXPECT_EQ(std::wstring(text), kMakerHostW);
  SendMessageW(label_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  ASSERT_EQ(gShellCalls.size(), 1u);
  EXPECT_EQ(gShellCalls[0].file, "https://other.example.com");
}

TEST_F(LinkLabelWinTest, WindowTextFollowsTheCaption) {
  SetWindowTextW(label_.Handle(), L"Nowa strona");
  EXPECT_EQ(label_.Caption(), L"Nowa strona");
  label_.SetCaption(L"żółw");
  wchar_t text[64] = {};
  GetWindowTextW(label_.Handle(), text, 64);
  EXPECT_EQ(std::wstring(text), L"żółw");
}

TEST_F(LinkLabelWinTest, ShowsTheHandCursorAndAPressLeavesTheFocusWhereItWas) {
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(label_.Handle(), GCLP_HCURSOR)), hand);
  SendMessageW(label_.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(label_.Handle()),
               MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), hand);

  // A tab stop for the keyboard, but a press does not pull the focus over.
  EXPECT_TRUE(GetWindowLongW(label_.Handle(), GWL_STYLE) & WS_TABSTOP);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 80, 100, 20, parent_,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  SetFocus(edit);
  ASSERT_EQ(GetFocus(), edit);
  SendMessageW(label_.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
  EXPECT_EQ(GetFocus(), edit);
  SetFocus(label_.Handle());
  EXPECT_EQ(GetFocus(), label_.Handle());
}

TEST_F(LinkLabelWinTest, EnterOrSpaceOnTheFocusedLabelOpensItOncePerPress) {
  SetFocus(label_.Handle());
  // The dialog manager leaves Enter to the label while it has the focus.
  MSG enter{label_.Handle(), WM_KEYDOWN, VK_RETURN, 1, 0, {}};
  EXPECT_TRUE(SendMessageW(label_.Handle(), WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
              DLGC_WANTMESSAGE);
  struct TKey {
    WPARAM Key;
    LPARAM Flags;
    size_t Calls;
  };
  const TKey keys[] = {
      {VK_RETURN, 1, 1},
      {VK_RETURN, 1 | (1 << 30), 1},  // a held key's repeat
      {VK_SPACE, 1, 2},
      {VK_TAB, 1, 2},
      {'A', 1, 2},
  };
  for (const TKey& key : keys) {
    SCOPED_TRACE(key.Key);
    SendMessageW(label_.Handle(), WM_KEYDOWN, key.Key, key.Flags);
    EXPECT_EQ(gShellCalls.size(), key.Calls);
  }
  for (const TShellCall& call : gShellCalls) {
    EXPECT_EQ(call.file, std::string("http://") + kMakerHost);
    EXPECT_EQ(call.owner, parent_);
    EXPECT_EQ(call.operation, "Open");
  }
}

// The label's client pixels as they are on the screen.
std::vector<COLORREF> ScreenPixels(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  HDC screen = GetDC(nullptr);
  std::vector<COLORREF> pixels;
  for (LONG y = r.top; y < r.bottom; ++y)
    for (LONG x = r.left; x < r.right; ++x) pixels.push_back(GetPixel(screen, x, y));
  ReleaseDC(nullptr, screen);
  return pixels;
}

TEST_F(LinkLabelWinTest, TheFocusShowsAsARectangleAndGoesWithIt) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 80, 100, 20, parent_,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  SetFocus(edit);
  Pump(50);
  const std::vector<COLORREF> unfocused = ScreenPixels(label_.Handle());
  SetFocus(label_.Handle());
  Pump(50);
  EXPECT_NE(ScreenPixels(label_.Handle()), unfocused);
  SetFocus(edit);
  Pump(50);
  EXPECT_EQ(ScreenPixels(label_.Handle()), unfocused);
}

// The label's pixels as they are on the screen.
struct TCapture {
  int width = 0, height = 0;
  std::vector<COLORREF> pixels;
  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

TCapture CaptureWindow(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  TCapture capture;
  capture.width = r.right - r.left;
  capture.height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  for (int y = 0; y < capture.height; ++y)
    for (int x = 0; x < capture.width; ++x) capture.pixels.push_back(GetPixel(screen, r.left + x, r.top + y) & 0xFFFFFF);
  ReleaseDC(nullptr, screen);
  return capture;
}

TEST_F(LinkLabelWinTest, DrawsBlueUnderlinedCentredTextOnTheParentsBackground) {
  RedrawWindow(parent_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Pump(100);
  const TCapture shot = CaptureWindow(label_.Handle());
  ASSERT_EQ(shot.width, 130);

  int blue = 0, minX = shot.width, maxX = -1, longestRun = 0;
  for (int y = 0; y < shot.height; ++y) {
    int run = 0;
    for (int x = 0; x < shot.width; ++x) {
      const COLORREF c = shot.At(x, y);
      if (c == TLinkLabel::kLinkColor) {
        ++blue;
        minX = std::min(minX, x);
        maxX = std::max(maxX, x);
        longestRun = std::max(longestRun, ++run);
      } else {
        run = 0;
        // Everything else is the parent's colour or an anti-aliased edge
        // between it and the blue.
        EXPECT_EQ(GetRValue(c), GetGValue(c)) << x << "," << y;
      }
    }
  }
  ASSERT_GT(blue, 30);
  // The underline: one row of blue under (nearly) the whole text.
  EXPECT_GE(longestRun, (maxX - minX + 1) * 9 / 10);
  // Centred in the 130 pixels.
  EXPECT_NEAR((minX + maxX) / 2.0, (shot.width - 1) / 2.0, 2.0);
  // Transparent: the corners show the parent's own background.
  EXPECT_EQ(shot.At(0, 0), kParentColour);
  EXPECT_EQ(shot.At(shot.width - 1, shot.height - 1), kParentColour);
}

TEST_F(LinkLabelWinTest, AutoSizeFitsTheWindowToTheCaption) {
  TLinkLabel sized;
  ASSERT_TRUE(sized.Create(parent_, 104, 60, 10, 10));
  sized.SetHyperLink(kMakerHost);
  RECT r;
  GetClientRect(sized.Handle(), &r);
  HDC dc = GetDC(sized.Handle());
  LOGFONTW lf{};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
  lf.lfUnderline = TRUE;
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE extent{};
  GetTextExtentPoint32W(dc, kMakerHostW, static_cast<int>(wcslen(kMakerHostW)), &extent);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(sized.Handle(), dc);
  EXPECT_EQ(r.right, extent.cx);
  EXPECT_EQ(r.bottom, extent.cy);
  // The left edge stays where the window description put it.
  POINT origin{0, 0};
  MapWindowPoints(sized.Handle(), parent_, &origin, 1);
  EXPECT_EQ(origin.x, 104);
  EXPECT_EQ(origin.y, 60);
}

TEST_F(LinkLabelWinTest, OutlivingItsWindowIsSafe) {
  auto label = std::make_unique<TLinkLabel>();
  ASSERT_TRUE(label->Create(parent_, 0, 0, 50, 20));
  DestroyWindow(parent_);
  parent_ = nullptr;
  EXPECT_EQ(label->Handle(), nullptr);
  label->SetCaption(L"still fine");
  label.reset();
}

}  // namespace
}  // namespace lumeno
