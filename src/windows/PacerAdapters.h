// The main window's side of the pacer: its GUI timer (a window-message timer
// of the main window) and the bar seen through what the pacer needs of it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "controls/ALProgressBar_win.h"
#include "exercise/BreathingPacer.h"

namespace lumeno {

// TimerBreatch: created disabled with an interval of 1 ms. Setting the current
// interval again changes nothing; a different one restarts the countdown.
class TWindowTimer final : public ITimer {
 public:
  explicit TWindowTimer(UINT_PTR id) : FId(id) {}
  ~TWindowTimer() override;
  TWindowTimer(const TWindowTimer&) = delete;
  TWindowTimer& operator=(const TWindowTimer&) = delete;

  // The window whose WM_TIMER carries the ticks; set once it exists.
  void Attach(HWND hwnd);
  UINT_PTR Id() const { return FId; }

  // 0 is taken as 1: a timer that never ticks would stop the pacer for good.
  void SetInterval(uint32_t milliseconds) override;
  void SetEnabled(bool enabled) override;
  uint32_t Interval() const { return FInterval; }
  bool Enabled() const { return FEnabled; }
  // How often SetTimer was called: each call restarts the countdown.
  uint32_t Restarts() const { return FRestarts; }

 private:
  void Start();

  HWND FHwnd = nullptr;
  UINT_PTR FId;
  uint32_t FInterval = 1;
  bool FEnabled = false;
  uint32_t FRestarts = 0;
};

// AlBarOddech as the pacer sees it.
class TPacerBar final : public IPacerBar {
 public:
  explicit TPacerBar(TALProgressBar& bar) : FBar(bar) {}
  int32_t GetMax() const override { return FBar.GetMax(); }
  void SetMax(int32_t value) override { FBar.SetMax(value); }
  int32_t GetPosition() const override { return FBar.GetPosition(); }
  void SetPosition(int32_t value) override { FBar.SetPosition(value); }
  // Screen readers hear the phase: "Breathe in, 45%", "Hold", "Breathe out, 80%", "Hold".
  void PhaseChanged(int32_t tag) override;

 private:
  TALProgressBar& FBar;
};

}  // namespace lumeno
