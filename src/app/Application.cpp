#include "app/Application.h"

#include <commctrl.h>

#include <algorithm>

#include "resource.h"

namespace lumeno {

namespace {

constexpr wchar_t kAppWindowClass[] = L"TApplication";
// Posted to the application window so that activation is handed on after the
// system has finished activating it.
constexpr UINT WM_APP_FORWARD_ACTIVATION = WM_APP + 1;
constexpr size_t kMaxTitle = 255;

bool IsPushButton(HWND hwnd) {
  wchar_t name[16] = {};
  if (!GetClassNameW(hwnd, name, 16) || lstrcmpiW(name, L"Button") != 0) return false;
  const LONG type = GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace

TApplication& Application() {
  static TApplication application;
  return application;
}

TApplication::~TApplication() {
  if (handle_ && IsWindow(handle_)) {
    SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    DestroyWindow(handle_);
  }
}

void TApplication::Initialize(HINSTANCE instance) {
  if (handle_ && IsWindow(handle_)) return;
  instance_ = instance ? instance : GetModuleHandleW(nullptr);

  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_UPDOWN_CLASS | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance_, kAppWindowClass, &wc)) {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = AppWindowProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(IDI_LUMENO));
    if (!wc.hIcon) wc.hIcon = LoadIconW(nullptr, MAKEINTRESOURCEW(32512));  // IDI_APPLICATION
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));           // IDC_ARROW
    wc.lpszClassName = kAppWindowClass;
    RegisterClassExW(&wc);
  }
  // Zero-sized in the middle of the screen: it carries the taskbar button and
  // the Alt+Tab entry while the main window is a tool window that has neither.
  const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
  const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
  handle_ = CreateWindowExW(0, kAppWindowClass, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, x, y, 0, 0,
                            nullptr, nullptr, instance_, this);
  if (handle_) {
    SetWindowPos(handle_, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!title_.empty()) SetWindowTextA(handle_, title_.c_str());
  }
}

void TApplication::SetTitle(const std::string& title) {
  title_ = title.substr(0, std::min(title.size(), kMaxTitle));
  // The mutex name and the window search take the title up to its first NUL.
  if (size_t nul = title_.find('\0'); nul != std::string::npos) title_.resize(nul);
  if (handle_) SetWindowTextA(handle_, title_.c_str());
}

void TApplication::Terminate() { PostQuitMessage(0); }

int TApplication::Run(int showCommand) {
  if (ShowMainForm && mainWindow_ && IsWindow(mainWindow_)) {
    if (handle_) ShowWindow(handle_, SW_SHOWNOACTIVATE);
    if (OnShowMainForm) {
      OnShowMainForm(showCommand);
    } else {
      ShowWindow(mainWindow_, showCommand);
    }
  }
  while (ProcessMessage()) {
  }
  return exitCode_;
}

bool TApplication::ProcessMessage() {
  MSG msg;
  const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    // Every enclosing loop has to see the quit message as well.
    exitCode_ = got == 0 ? static_cast<int>(msg.wParam) : exitCode_;
    terminated_ = true;
    PostQuitMessage(exitCode_);
    return false;
  }
  if (msg.message == WM_KEYDOWN && KeyPreview && KeyPreview(msg)) return true;
  if (!DialogMessage(msg)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::AddDialogWindow(HWND hwnd) {
  if (hwnd && std::find(dialogWindows_.begin(), dialogWindows_.end(), hwnd) == dialogWindows_.end())
    dialogWindows_.push_back(hwnd);
}

void TApplication::RemoveDialogWindow(HWND hwnd) {
  dialogWindows_.erase(std::remove(dialogWindows_.begin(), dialogWindows_.end(), hwnd), dialogWindows_.end());
}

bool TApplication::DialogMessage(MSG& msg) {
  // Only keyboard input needs the dialog manager; everything else is
  // dispatched as usual.
  if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  if (!root || std::find(dialogWindows_.begin(), dialogWindows_.end(), root) == dialogWindows_.end()) return false;
  // Enter presses the focused push button. No window has a default button,
  // so Enter elsewhere, like Escape, does nothing.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && IsPushButton(msg.hwnd)) {
    SendMessageW(msg.hwnd, BM_CLICK, 0, 0);
    return true;
  }
  // The Menu key asks the focused control for its context menu when it is
  // let go, as Shift+F10 does (Wine's default handling knows only the latter).
  if (msg.message == WM_KEYUP && msg.wParam == VK_APPS) {
    SendMessageW(msg.hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(msg.hwnd), -1);
    return true;
  }
  return IsDialogMessageW(root, &msg) != FALSE;
}

LRESULT CALLBACK TApplication::AppWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TApplication*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
  if (self && msg != WM_NCCREATE && msg != WM_NCDESTROY) return self->HandleAppMessage(msg, wp, lp);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT TApplication::HandleAppMessage(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  if (OnAppMessage && OnAppMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) PostMessageW(handle_, WM_APP_FORWARD_ACTIVATION, 0, 0);
      return 0;
    case WM_APP_FORWARD_ACTIVATION:
      ForwardActivation();
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_RESTORE && !IsIconic(handle_)) {
        ForwardActivation();
        return 0;
      }
      break;
    case WM_CLOSE:
      // Closing from the taskbar closes the main window, with all it saves.
      if (mainWindow_ && IsWindow(mainWindow_)) PostMessageW(mainWindow_, WM_CLOSE, 0, 0);
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;
    default:
      break;
  }
  return DefWindowProcW(handle_, msg, wp, lp);
}

void TApplication::ForwardActivation() {
  if (!mainWindow_ || !IsWindow(mainWindow_) || !IsWindowVisible(mainWindow_)) return;
  if (IsIconic(mainWindow_)) ShowWindow(mainWindow_, SW_RESTORE);
  HWND target = GetLastActivePopup(mainWindow_);
  if (!target || !IsWindowVisible(target) || !IsWindowEnabled(target)) target = mainWindow_;
  SetForegroundWindow(target);
}

}  // namespace lumeno
