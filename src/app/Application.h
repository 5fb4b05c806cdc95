// The application object: title, a hidden application window that owns the
// taskbar button, the show-main-window flag, the terminate request, and the
// message loop. One per process (Application()).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace lumeno {

class TApplication {
 public:
  TApplication() = default;
  ~TApplication();
  TApplication(const TApplication&) = delete;
  TApplication& operator=(const TApplication&) = delete;

  // Registers the window classes, loads the common controls and creates the
  // application window (zero-sized, shown with the main window). Safe to call again.
  void Initialize(HINSTANCE instance);
  HINSTANCE Instance() const { return instance_; }

  // ANSI title, at most 255 characters; also the application window's caption.
  void SetTitle(const std::string& title);
  const std::string& Title() const { return title_; }
  // The top-level application window (caption = title). It owns the main
  // window and hands activation and restoring on to it.
  HWND Handle() const { return handle_; }

  // The first window created; the loop shows it and ends when it closes.
  void SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }
  HWND MainWindow() const { return mainWindow_; }
  // How the loop shows the main window; without it ShowWindow(showCommand).
  std::function<void(int showCommand)> OnShowMainForm;

  bool ShowMainForm = true;
  // Posts the quit message: the loop ends when it takes it.
  void Terminate();
  // True once the loop has taken the quit message.
  bool Terminated() const { return terminated_; }
  // The quit message's exit code once the loop has taken it.
  int ExitCode() const { return exitCode_; }

  // Shows the main window (unless ShowMainForm was cleared) and dispatches
  // messages until the quit message arrives. Returns the exit code.
  int Run(int showCommand);
  // Waits for one message and handles it (keyboard navigation included), for
  // the main and nested (modal) loops; false once WM_QUIT was taken, which is
  // posted again so that every enclosing loop ends too.
  bool ProcessMessage();

  // Sees every key press before the windows do; true when it took the key.
  std::function<bool(const MSG& msg)> KeyPreview;
  // Sees the application window's messages first (the taskbar's, which go to
  // the window that owns the button); true when it answered, with result.
  std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)> OnAppMessage;

  // Top-level windows whose controls get dialog-style keyboard navigation (Tab,
  // arrows, mnemonics) through IsDialogMessage.
  void AddDialogWindow(HWND hwnd);
  void RemoveDialogWindow(HWND hwnd);

 private:
  static LRESULT CALLBACK AppWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT HandleAppMessage(UINT msg, WPARAM wp, LPARAM lp);
  // Hands activation on to the window that should have it: the modal window
  // when one is up, otherwise the main window (restored first if minimised).
  void ForwardActivation();
  bool DialogMessage(MSG& msg);

  HINSTANCE instance_ = nullptr;
  HWND handle_ = nullptr;
  HWND mainWindow_ = nullptr;
  std::string title_;
  bool terminated_ = false;
  int exitCode_ = 0;
  std::vector<HWND> dialogWindows_;
};

TApplication& Application();

}  // namespace lumeno
