// The bar as a real child window on a real top-level window: what it paints is
// read back from the window and from the screen.
#include "controls/ALProgressBar_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace lumeno {
namespace {

constexpr TColor kDeep = 114686;  // the main window's second and third colour
constexpr TColor kMarker = RGB(255, 0, 255);

struct TParentLog {
  int contextMenus = 0;
  HWND contextSource = nullptr;
};
TParentLog gParentLog;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CONTEXTMENU) {
    ++gParentLog.contextMenus;
    gParentLog.contextSource = reinterpret_cast<HWND>(wParam);
    return 0;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

// Lets the window manager side of the system catch up, then drains the queue.
void Settle() {
  for (int i = 0; i < 5; ++i) {
    Pump();
    ::Sleep(20);
  }
  Pump();
}

class ALProgressBarWinTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const ATOM atom = [] {
      WNDCLASSEXW wc{};
      wc.cbSize = sizeof wc;
      wc.lpfnWndProc = ParentProc;
      wc.hInstance = ::GetModuleHandleW(nullptr);
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
      wc.lpszClassName = L"LumenoBarTestParent";
      return ::RegisterClassExW(&wc);
    }();
    ASSERT_NE(atom, 0);
    gParentLog = {};
    parent = ::CreateWindowExW(WS_EX_TOPMOST, L"LumenoBarTestParent", L"Bar test", WS_POPUP | WS_VISIBLE, 40, 40, 640,
                               480, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    Settle();
  }
  void TearDown() override {
    bar.reset();
    if (parent) ::DestroyWindow(parent);
  }

  // The main window's bar: bottom to top, three colours, no text.
  void MakeMainBar(int x = 10, int y = 10) {
    bar = std::make_unique<TALProgressBar>();
    ASSERT_TRUE(bar->Create(parent, x, y, 86, 403, 100));
    bar->SetDirection(pdBottomToTop);
    bar->SetBarColorStyle(cs3Colors);
    bar->SetBarColor1(clActiveCaption);
    bar->SetBarColor2(kDeep);
    bar->SetBarColor3(kDeep);
    bar->SetShowPosText(false);
    bar->SetMax(3000);
  }

  // A pixel of the bar as the window holds it.
  TColor Client(int x, int y) {
    HDC dc = ::GetDC(bar->Handle());
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(bar->Handle(), dc);
    return c;
  }

  void FillMarker() {
    HDC dc = ::GetDC(bar->Handle());
    HBRUSH brush = ::CreateSolidBrush(kMarker);
    RECT r{0, 0, bar->Width(), bar->Height()};
    ::FillRect(dc, &r, brush);
    ::DeleteObject(brush);
    ::ReleaseDC(bar->Handle(), dc);
  }

  // After FillMarker and a write that moved the fill from filledBefore rows to
  // the current length: the rows between the two ends show the bar, every
  // other row and the frame still show the marker.
  void ExpectOnlyTheStripRepainted(int filledBefore) {
    const int track = 401;
    const int filled = static_cast<int>(bar->Core().FilledLength(track));
    const int from = 1 + track - std::max(filled, filledBefore), to = 1 + track - std::min(filled, filledBefore);
    ASSERT_LT(from, to);
    for (int y = 0; y < 403; ++y) {
      for (int x : {0, 42}) {
        const bool strip = x > 0 && y >= from && y < to;
        ASSERT_EQ(Client(x, y), strip ? MainBarRow(y) : kMarker) << "x=" << x << " y=" << y;
      }
    }
  }

  // The colour row y of the main bar must show at its current Position.
  TColor MainBarRow(int y) {
    const int track = 401;
    const int filled = static_cast<int>(bar->Core().FilledLength(track));
    if (y >= 1 && y < 1 + track - filled) return ::GetSysColor(COLOR_BTNFACE);
    return y <= 200 ? kDeep : bar->Core().GradientColor(kDeep, clActiveCaption, 202, y - 200);
  }

  HWND parent = nullptr;
  std::unique_ptr<TALProgressBar> bar;
};

// Grabs a rectangle of the real screen as 0x00BBGGRR colours, top-down.
std::vector<TColor> GrabScreen(int left, int top, int width, int height) {
  std::vector<TColor> out(static_cast<size_t>(width) * height);
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = ::CreateDIBSection(mem, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(mem, dib);
  ::BitBlt(mem, 0, 0, width, height, screen, left, top, SRCCOPY);
  ::GdiFlush();
  const auto* px = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < out.size(); ++i) out[i] = PixelToColor(px[i]);
  ::SelectObject(mem, old);
  ::DeleteObject(dib);
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return out;
}

POINT ScreenOrigin(HWND hwnd) {
  POINT p{0, 0};
  ::ClientToScreen(hwnd, &p);
  return p;
}

TEST_F(ALProgressBarWinTest, MainBarPaintsItsPixels) {
  MakeMainBar();
  bar->SetPosition(1500);  // 200.5 rounds to 200: rows 1..201 unfilled
  EXPECT_EQ(bar->Core().FilledLength(401), 200);
  for (int x : {1, 42, 84}) {
    for (int y = 1; y < 402; ++y) ASSERT_EQ(Client(x, y), MainBarRow(y)) << "x=" << x << " y=" << y;
  }
  const TColor shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  EXPECT_EQ(Client(0, 0), shadow);
  EXPECT_EQ(Client(85, 0), shadow);
  EXPECT_EQ(Client(0, 402), shadow);
  EXPECT_EQ(Client(85, 402), light);
  EXPECT_EQ(Client(85, 200), light);
  EXPECT_EQ(Client(40, 402), light);

  // And the same on the screen itself once the display has caught up.
  Settle();
  const POINT o = ScreenOrigin(bar->Handle());
  const std::vector<TColor> shot = GrabScreen(o.x, o.y, 86, 403);
  for (int y = 1; y < 402; ++y) ASSERT_EQ(shot[y * 86 + 42], MainBarRow(y)) << "y=" << y;
  EXPECT_EQ(shot[402 * 86 + 85], light);
}

TEST_F(ALProgressBarWinTest, WritesRepaintBeforeReturningAndIgnoredOnesDoNot) {
  MakeMainBar();
  bar->SetPosition(1500);
  Settle();

  FillMarker();
  for (int ignored : {1500, 3001, -1}) {
    bar->SetPosition(ignored);
    EXPECT_EQ(Client(42, 300), kMarker) << ignored;
  }
  bar->SetPosition(3000);  // no message is pumped before the reads
  ExpectOnlyTheStripRepainted(200);

  FillMarker();
  bar->SetMax(3000);  // an unchanged Max still repaints, all of it
  EXPECT_EQ(Client(42, 300), MainBarRow(300));
  EXPECT_EQ(Client(42, 1), MainBarRow(1));
  EXPECT_EQ(Client(0, 0), ::GetSysColor(COLOR_BTNSHADOW));
}

TEST_F(ALProgressBarWinTest, OnlyWritesThatMoveTheFillRepaint) {
  MakeMainBar();
  bar->SetPosition(1501);  // 200.63 rows: 201
  Settle();
  ASSERT_EQ(bar->Core().FilledLength(401), 201);

  FillMarker();
  bar->SetPosition(1503);  // 200.90 rows: still 201, the same pixels
  EXPECT_EQ(bar->GetPosition(), 1503);
  EXPECT_EQ(Client(42, 300), kMarker);
  bar->SetPosition(1510);  // 201.87 rows: 202, one more row to draw
  ExpectOnlyTheStripRepainted(201);
  bar->SetPosition(1400);  // 187.13 rows: 187, fifteen rows to clear
  ExpectOnlyTheStripRepainted(202);

  // An exposed control is painted whole by WM_PAINT, whatever the writes skipped.
  FillMarker();
  bar->SetPosition(1511);
  ::InvalidateRect(bar->Handle(), nullptr, FALSE);
  Settle();
  for (int y = 1; y < 402; ++y) ASSERT_EQ(Client(42, y), MainBarRow(y)) << "y=" << y;
}

TEST_F(ALProgressBarWinTest, WritesWhileMinimisedShowAfterRestore) {
  MakeMainBar();
  bar->SetPosition(1500);
  Settle();
  ::ShowWindow(parent, SW_MINIMIZE);
  Settle();
  ASSERT_TRUE(::IsIconic(parent));
  for (int v = 1600; v <= 2500; v += 100) bar->SetPosition(v);
  EXPECT_EQ(bar->GetPosition(), 2500);
  ::ShowWindow(parent, SW_RESTORE);
  Settle();
  ASSERT_FALSE(::IsIconic(parent));
  for (int y = 1; y < 402; ++y) ASSERT_EQ(Client(42, y), MainBarRow(y)) << "y=" << y;
  // Restoring painted the bar whole; from there on only moves of the fill repaint.
  FillMarker();
  bar->SetPosition(2501);
  EXPECT_EQ(Client(42, 300), kMarker);  // 334.33 rows, as 2500's 334.17: nothing to do
  bar->SetPosition(2510);
  ExpectOnlyTheStripRepainted(334);
}

TEST_F(ALProgressBarWinTest, PositionTextIsCentred) {
  bar = std::make_unique<TALProgressBar>();
  ASSERT_TRUE(bar->Create(parent, 10, 10, 86, 24, 101));
  bar->SetBarColorStyle(cs1Color);
  bar->SetBarColor1(clWhite);
  bar->SetBackgroundColor(clWhite);
  bar->SetShowBorder(false);
  bar->SetFontColor(clBlack);
  bar->SetPosTextSuffix(" %");
  bar->SetPercentage(true);
  bar->SetPosition(50);

  SIZE extent{};
  HDC dc = ::CreateCompatibleDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, bar->GetFont());
  ::GetTextExtentPoint32W(dc, L"50 %", 4, &extent);
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  ASSERT_GT(extent.cx, 0);
  const int cellX = 86 / 2 - extent.cx / 2, cellY = 24 / 2 - extent.cy / 2;

  int inkLeft = 1000, inkRight = -1, inkTop = 1000, inkBottom = -1;
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 86; ++x) {
      if (Client(x, y) == clWhite) continue;
      inkLeft = std::min(inkLeft, x);
      inkRight = std::max(inkRight, x);
      inkTop = std::min(inkTop, y);
      inkBottom = std::max(inkBottom, y);
    }
  }
  ASSERT_GE(inkRight, inkLeft) << "no text drawn";
  EXPECT_GE(inkLeft, cellX);
  EXPECT_LT(inkRight, cellX + extent.cx);
  EXPECT_GE(inkTop, cellY);
  EXPECT_LT(inkBottom, cellY + extent.cy);
  // The ink fills most of the cell's width, so the cell itself is centred.
  EXPECT_LE(inkLeft - cellX, 3);
  EXPECT_LE(cellX + extent.cx - 1 - inkRight, 3);
}

TEST_F(ALProgressBarWinTest, RightClickReachesTheParentsContextMenu) {
  MakeMainBar();
  ::SendMessageW(bar->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(20, 30));
  EXPECT_EQ(gParentLog.contextMenus, 1);
  EXPECT_EQ(gParentLog.contextSource, bar->Handle());

  // A real click through the input queue as well.
  const POINT o = ScreenOrigin(bar->Handle());
  ::SetCursorPos(o.x + 40, o.y + 200);
  INPUT clicks[2]{};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  ASSERT_EQ(::SendInput(2, clicks, sizeof(INPUT)), 2u);
  Settle();
  EXPECT_EQ(gParentLog.contextMenus, 2);
  EXPECT_EQ(gParentLog.contextSource, bar->Handle());
}

TEST_F(ALProgressBarWinTest, ResizeRepaintsWithANewBarLayer) {
  MakeMainBar();
  bar->SetPosition(3000);
  bar->SetBounds(10, 10, 60, 101);
  EXPECT_EQ(bar->Width(), 60);
  EXPECT_EQ(bar->Height(), 101);
  Settle();
  EXPECT_EQ(bar->Core().BarImageHeight(), 101);
  // 101 rows: the upper 50 in the deep colour, then 51 from it to the caption colour.
  EXPECT_EQ(Client(30, 1), kDeep);
  EXPECT_EQ(Client(30, 50), kDeep);
  EXPECT_EQ(Client(30, 99), bar->Core().GradientColor(kDeep, clActiveCaption, 51, 50));
  EXPECT_EQ(Client(59, 100), ::GetSysColor(COLOR_BTNHIGHLIGHT));
}

TEST_F(ALProgressBarWinTest, BarBitmapFromAGdiBitmapIsTiled) {
  MakeMainBar();
  bar->SetPosition(3000);
  std::vector<uint32_t> tile(30 * 30);
  for (int i = 0; i < 900; ++i) tile[i] = ColorToPixel(RgbColor(static_cast<uint8_t>(i % 30 * 8), static_cast<uint8_t>(i / 30 * 8), 77));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 30;
  info.bmiHeader.biHeight = -30;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = ::GetDC(nullptr);
  HBITMAP bitmap = ::CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, tile.data(), &info, DIB_RGB_COLORS);
  ::ReleaseDC(nullptr, screen);
  ASSERT_NE(bitmap, nullptr);
  bar->SetBarBitmap(bitmap);
  ::DeleteObject(bitmap);  // the control keeps its own copy
  for (int y : {1, 29, 30, 31, 250, 401}) {
    for (int x : {1, 29, 30, 59, 60, 84}) {
      ASSERT_EQ(Client(x, y), PixelToColor(tile[(y % 30) * 30 + x % 30])) << x << "," << y;
    }
  }
  bar->SetBarBitmap(static_cast<HBITMAP>(nullptr));
  EXPECT_EQ(Client(42, 401), MainBarRow(401));
  EXPECT_NE(Client(42, 401), PixelToColor(tile[(401 % 30) * 30 + 42 % 30]));
}

TEST_F(ALProgressBarWinTest, WritesBeforeCreateAreKept) {
  bar = std::make_unique<TALProgressBar>();
  bar->SetBarColorStyle(cs1Color);
  bar->SetBarColor1(RGB(0, 200, 0));
  bar->SetShowPosText(false);
  bar->SetPosition(50);
  bar->SetBounds(0, 0, 50, 10);
  EXPECT_EQ(bar->Handle(), nullptr);
  ASSERT_TRUE(bar->Create(parent, 10, 10, 50, 10, 102));
  Settle();
  EXPECT_EQ(Client(10, 5), RGB(0, 200, 0));
  EXPECT_EQ(Client(40, 5), ::GetSysColor(COLOR_BTNFACE));
  ::DestroyWindow(bar->Handle());
  EXPECT_EQ(bar->Handle(), nullptr);
  bar->SetPosition(60);  // no window any more: stored, not painted
  EXPECT_EQ(bar->GetPosition(), 60);
}

// Saves the screen around a row of bars as a BMP for a person to look at.
bool SaveBmp(const char* path, const std::vector<TColor>& pixels, int width, int height) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return false;
  const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER head{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof head;
  file.bfSize = file.bfOffBits + rowBytes * height;
  head.biSize = sizeof head;
  head.biWidth = width;
  head.biHeight = height;  // bottom-up
  head.biPlanes = 1;
  head.biBitCount = 24;
  std::fwrite(&file, sizeof file, 1, f);
  std::fwrite(&head, sizeof head, 1, f);
  std::vector<uint8_t> row(rowBytes);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const TColor c = pixels[static_cast<size_t>(y) * width + x];
      row[x * 3] = BlueOf(c);
      row[x * 3 + 1] = GreenOf(c);
      row[x * 3 + 2] = RedOf(c);
    }
    std::fwrite(row.data(), 1, rowBytes, f);
  }
  return std::fclose(f) == 0;
}

TEST_F(ALProgressBarWinTest, ScreenshotOfBarsAtSeveralPositions) {
  const int positions[] = {0, 750, 1500, 2250, 3000};
  std::vector<std::unique_ptr<TALProgressBar>> bars;
  for (int i = 0; i < 5; ++i) {
    MakeMainBar(10 + i * 96, 10);
    bar->SetPosition(positions[i]);
    bars.push_back(std::move(bar));
  }
  bar = std::make_unique<TALProgressBar>();
  ASSERT_TRUE(bar->Create(parent, 10, 425, 470, 22, 110));
  bar->SetPercentage(true);
  bar->SetPosTextSuffix(" %");
  bar->SetPosition(62);
  Settle();

  const POINT o = ScreenOrigin(parent);
  const std::vector<TColor> shot = GrabScreen(o.x, o.y, 490, 457);
  EXPECT_TRUE(SaveBmp("ALProgressBar_screenshot.bmp", shot, 490, 457));
  // The half-full bar, read back from the screen grab: unfilled down to row 201.
  EXPECT_EQ(shot[(10 + 201) * 490 + 10 + 2 * 96 + 42], ::GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(shot[(10 + 202) * 490 + 10 + 2 * 96 + 42], bars[2]->Core().GradientColor(kDeep, clActiveCaption, 202, 2));
  EXPECT_EQ(shot[(10 + 401) * 490 + 10 + 4 * 96 + 42],
            bars[4]->Core().GradientColor(kDeep, clActiveCaption, 202, 201));
}

}  // namespace
}  // namespace lumeno
