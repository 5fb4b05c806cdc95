// The settings dialog's stand-alone up-downs made usable without a mouse and
// audible to screen readers: a tab stop with a focus rectangle; Up and Down
// are the arrows' own presses (the control's UDS_ARROWKEYS), Page Up and
// Page Down ten of them; a screen reader hears the row's text as the name and
// the figure with its unit as the value, told again whenever the figure changes.
#pragma once

#include <windows.h>

#include <string>

namespace lumeno {

// upDown: created with UDS_ARROWKEYS | WS_TABSTOP; figure: the label that
// shows its value. name ("Breath in for") and unit ("seconds") are kept.
void MakeKeyboardUpDown(HWND upDown, HWND figure, std::wstring name, std::wstring unit);

// Page Up and Page Down step by this many presses.
inline constexpr int kPagePresses = 10;

}  // namespace lumeno
