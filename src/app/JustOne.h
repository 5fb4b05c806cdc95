// TXJustOne, the single-instance guard that sits on the main window. Its
// after-load check creates a mutex named by the application title; if that
// name is taken, another instance runs: the guard brings that instance's
// window forward and makes this one end without showing a window. The mutex
// handle is kept until the guard is destroyed at shutdown.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace lumeno {

class TApplication;

// What the guard needs of the application object.
class IGuardHost {
 public:
  virtual ~IGuardHost() = default;
  // At most 255 characters; also the mutex name and the caption searched for.
  virtual std::string Title() const = 0;
  // The hidden top-level application window (caption = title).
  virtual HWND Handle() const = 0;
  virtual void SetShowMainForm(bool show) = 0;
  // Asks the message loop to end when it takes the quit request.
  virtual void Terminate() = 0;
};

// IGuardHost over the real application object.
class TApplicationGuardHost final : public IGuardHost {
 public:
  explicit TApplicationGuardHost(TApplication& application) : FApplication(application) {}
  std::string Title() const override;
  HWND Handle() const override;
  void SetShowMainForm(bool show) override;
  void Terminate() override;

 private:
  TApplication& FApplication;
};

class TXJustOne {
 public:
  // The host must outlive the guard.
  explicit TXJustOne(IGuardHost& host);
  ~TXJustOne();
  TXJustOne(const TXJustOne&) = delete;
  TXJustOne& operator=(const TXJustOne&) = delete;

  // Bring the running instance forward when one is found. True after construction.
  bool SwitchToPrevious = true;
  // Called once, before any window is touched, when another instance runs.
  std::function<void(TXJustOne* sender)> AlreadyExist;

  // The start-up check. The owning window calls it once, after the placement
  // store's after-load step.
  void Loaded();

  HANDLE MutexHandle() const { return FMutexHandle; }
  bool Checked() const { return FChecked; }

 private:
  void ActivatePrevious(const std::string& title);

  HANDLE FMutexHandle = nullptr;
  bool FChecked = false;
  IGuardHost& FHost;
};

// The top-level window another process shows under this caption: the first
// visible one in z-order, else the first hidden one; null when none. Windows
// of the calling process never count. The caption must match exactly, case
// included, as the mutex name does: a window whose caption differs only in
// case belongs to a program that holds another mutex. A visible window comes
// first because the running instance's hidden windows (a hidden application
// window, say) cannot be brought forward to the user.
HWND FindOtherInstanceWindow(const std::string& caption);

}  // namespace lumeno
