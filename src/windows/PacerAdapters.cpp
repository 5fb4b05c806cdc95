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

}  // namespace lumeno
