// lumeno_floor: the least a window like Lumeno's can cost under the same
// system: the same tool window, a timer ticking as often as Lumeno's pacer
// timer (1 ms asked, the platform's tick in practice), and a tick handler that
// reads the clock and paints nothing. scripts/perf measures Lumeno against it.
//
// Two more modes show where a painting tick's time goes: "full" copies a
// bar-sized bitmap (94 x 415, Lumeno's bar) to the window on every tick, as a
// full repaint of the bar does; "row" copies only the one row a tick of the
// breathing bar typically changes, as Lumeno's bar does. Both paint through
// the window's own DC, as the bar does.
#include <windows.h>

#include <cstring>

namespace {

enum class TMode { kNone, kFull, kRow };

TMode gMode = TMode::kNone;
LARGE_INTEGER gNow;
HDC gMemDC = nullptr;
int gTick = 0;
constexpr int kBarWidth = 94;
constexpr int kBarHeight = 415;

void PaintTick(HWND hwnd) {
  if (gMode == TMode::kNone || !gMemDC) return;
  HDC dc = GetDC(hwnd);
  if (gMode == TMode::kFull) {
    BitBlt(dc, 0, 0, kBarWidth, kBarHeight, gMemDC, 0, 0, SRCCOPY);
  } else {
    int y = kBarHeight - 1 - (gTick % kBarHeight);
    BitBlt(dc, 0, y, kBarWidth, 1, gMemDC, 0, y, SRCCOPY);
  }
  ReleaseDC(hwnd, dc);
  ++gTick;
}

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      // The pacer's unavoidable part of a tick: one counter read.
      QueryPerformanceCounter(&gNow);
      PaintTick(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int show) {
  if (cmdLine && std::strstr(cmdLine, "full")) gMode = TMode::kFull;
  if (cmdLine && std::strstr(cmdLine, "row")) gMode = TMode::kRow;
  WNDCLASSW wc{};
  if (gMode != TMode::kNone) wc.style = CS_OWNDC;
  wc.lpfnWndProc = FloorProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"LumenoFloor";
  if (!RegisterClassW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"Lumeno floor",
                              WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 416, 115, 229,
                              480, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  HBITMAP bmp = nullptr;
  if (gMode != TMode::kNone) {
    HDC dc = GetDC(hwnd);
    gMemDC = CreateCompatibleDC(dc);
    bmp = CreateCompatibleBitmap(dc, kBarWidth, kBarHeight);
    SelectObject(gMemDC, bmp);
    RECT r{0, 0, kBarWidth, kBarHeight};
    FillRect(gMemDC, &r, reinterpret_cast<HBRUSH>(COLOR_ACTIVECAPTION + 1));
    ReleaseDC(hwnd, dc);
  }
  SetTimer(hwnd, 1, 1, nullptr);
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (gMemDC) DeleteDC(gMemDC);
  if (bmp) DeleteObject(bmp);
  return 0;
}
