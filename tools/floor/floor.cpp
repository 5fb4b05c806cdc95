// lumeno_floor: the least a window like Lumeno's can cost under the same
// system: the same tool window, a timer ticking as often as Lumeno's pacer
// timer (1 ms asked, the platform's tick in practice), and a tick handler that
// reads the clock and paints nothing. scripts/perf measures Lumeno against it.
#include <windows.h>

namespace {

LARGE_INTEGER gNow;

LRESULT CALLBACK FloorProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_TIMER:
      // The pacer's unavoidable part of a tick: one counter read.
      QueryPerformanceCounter(&gNow);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSW wc{};
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
  SetTimer(hwnd, 1, 1, nullptr);
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
