#include "windows/PacerAdapters.h"

namespace lumeno {

TWindowTimer::~TWindowTimer() {
  if (FEnabled && FHwnd && IsWindow(FHwnd)) KillTimer(FHwnd, FId);
}

void TWindowTimer::Attach(HWND hwnd) {
  FHwnd = hwnd;
  if (FEnabled) Start();
}

void TWindowTimer::Start() {
  if (!FHwnd) return;
  // SetTimer on an existing id replaces it and starts counting anew.
  SetTimer(FHwnd, FId, FInterval, nullptr);
  ++FRestarts;
}

void TWindowTimer::SetInterval(uint32_t milliseconds) {
  if (milliseconds == 0) milliseconds = 1;
  if (milliseconds == FInterval) return;
  FInterval = milliseconds;
  if (FEnabled) Start();
}

void TWindowTimer::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  if (enabled) {
    Start();
  } else if (FHwnd) {
    KillTimer(FHwnd, FId);
  }
}

void TPacerBar::PhaseChanged(int32_t tag) {
  switch (tag) {
    case 0: FBar.SetAccessibleValue(L"Breathe in", true); break;
    case 2: FBar.SetAccessibleValue(L"Breathe out", true); break;
    default: FBar.SetAccessibleValue(L"Hold", false); break;
  }
}

}  // namespace lumeno
