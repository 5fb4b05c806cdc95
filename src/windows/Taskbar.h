// The taskbar button's progress and the Pause/Resume button of its thumbnail
// toolbar, where the system has them (ITaskbarList3). The button belongs to
// the application window, and the system accepts these calls only once it
// has said the button exists ("TaskbarButtonCreated"): until then they are
// kept, and applied then. Where the system has no such taskbar they do nothing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

namespace lumeno {

class ITaskbarButton {
 public:
  enum class TProgress : uint8_t { None, Normal, Paused };
  virtual ~ITaskbarButton() = default;
  // The system has made (or, after the shell restarted, made again) owner's button.
  virtual void ButtonCreated(HWND owner) = 0;
  virtual void SetProgress(TProgress state, uint64_t done, uint64_t total) = 0;
  // The thumbnail button: a pause sign or a play sign, and its tooltip.
  virtual void SetThumbButton(bool pauseSign, const wchar_t* tip) = 0;
};

// The thumbnail button's id; its click comes to the owner as WM_COMMAND.
inline constexpr UINT kThumbButtonId = 1;
bool IsThumbButtonClick(WPARAM wp);

// The system's taskbar: COM (ole32, from the system folder) is loaded when
// the button is created, never before.
std::unique_ptr<ITaskbarButton> MakeSystemTaskbarButton();

}  // namespace lumeno
