// What Lumeno's windows draw with beyond the system's own drawing: the
// colours of a scheme as GDI takes them, push buttons painted in them, the
// dark caption bar, and whether Windows runs a high-contrast theme (then every
// window takes the system's colours, whatever the scheme).
#pragma once

#include <windows.h>

#include "base/WinHandles.h"
#include "controls/ColourSchemes.h"
#include "windows/Form.h"

namespace lumeno {

// Asks Windows whether a high-contrast theme is on (SPI_GETHIGHCONTRAST).
// Tests put their own answer here: Wine neither reports nor sets one.
extern bool (*QueryHighContrast)();
// The answer as last asked: at the main window's creation and whenever a
// window hears that the system's colours or the high-contrast setting changed.
bool HighContrast();
void RefreshHighContrast();

// Asks for a dark caption bar (or the normal one again) where Windows offers
// it (DwmSetWindowAttribute 20, dwmapi loaded from the system folder on first
// use); nothing where it does not. Tests record the requests here.
extern void (*UseDarkTitleBar)(HWND window, bool dark);

// A colour as GDI takes it; a system colour is looked up now.
COLORREF ToColorRef(TColor color);

// While a high-contrast theme is on: the system's text colour on the button
// face, and its link colour; otherwise the colour given.
COLORREF TextOnFace(COLORREF otherwise);
COLORREF LinkColor(COLORREF otherwise);

// The panels and push buttons of a scheme that Lumeno paints itself. The
// window using it keeps it until its controls have been given another.
class TOwnLook {
 public:
  explicit TOwnLook(const TColourScheme& scheme);
  TOwnLook(const TOwnLook&) = delete;
  TOwnLook& operator=(const TOwnLook&) = delete;

  const TPanelColors& Panel() const { return FPanel; }
  COLORREF Text() const { return FText; }
  COLORREF Button() const { return FButton; }
  COLORREF ButtonText() const { return FButtonText; }
  COLORREF ButtonFrame() const { return FButtonFrame; }

 private:
  TUniqueBrush FFaceBrush;
  TPanelColors FPanel{};
  COLORREF FText;
  COLORREF FButton;
  COLORREF FButtonText;
  COLORREF FButtonFrame;
};

// Paints a push button in look from now on (null: as the system draws it,
// exactly as before) and repaints it.
void SetButtonLook(HWND button, const TOwnLook* look);

}  // namespace lumeno
