// The application object: title, a hidden application window that owns the
// taskbar button, the show-main-window flag, the terminate request, and the
// message loop. One per process (Application()).
#pragma once

#include <windows.h>

#include <string>

namespace lumeno {

class TApplication {
 public:
  // Registers the window classes and creates the hidden application window.
  void Initialize(HINSTANCE instance);
  HINSTANCE Instance() const { return instance_; }

  // ANSI title, at most 255 characters; also the application window's caption.
  void SetTitle(const std::string& title);
  const std::string& Title() const { return title_; }
  // The hidden top-level application window (caption = title).
  HWND Handle() const { return handle_; }

  // The first window created; the loop shows it and ends when it closes.
  void SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }
  HWND MainWindow() const { return mainWindow_; }

  bool ShowMainForm = true;
  // Posts the quit message: the loop ends when it takes it.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Shows the main window (unless ShowMainForm was cleared) and dispatches
  // messages until the quit message arrives. Returns the exit code.
  int Run(int showCommand);
  // Handles one message for nested (modal) loops; false once WM_QUIT was taken
  // (it is posted again for the outer loop).
  bool ProcessMessage();

 private:
  HINSTANCE instance_ = nullptr;
  HWND handle_ = nullptr;
  HWND mainWindow_ = nullptr;
  std::string title_;
  bool terminated_ = false;
};

TApplication& Application();

}  // namespace lumeno
