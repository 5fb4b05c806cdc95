// The colour schemes of the main window: the bar's gradient, track and frame,
// and the colours of the panels, buttons and texts around it. Plain tables; the
// windows turn them into what they draw with. Colours with the top bit set are
// system colours, looked up when drawn.
#pragma once

#include <cstdint>

#include "controls/ALProgressBar.h"
#include "controls/ALProgressBarColors.h"

namespace lumeno {

// In the order the "Colours:" list offers them; the number is what is stored.
enum class TColourSchemeId : uint8_t { Classic, Night, Ocean, HighVisibility };
inline constexpr int kColourSchemeCount = 4;

struct TColourScheme {
  const char* Name;  // as the list shows it (UTF-8)

  // The bar: Bar1 at the origin (the bottom of the main window's bar), Bar2 in
  // the middle, Bar3 at the far end; Track is the unfilled part, Frame1 the
  // frame's top and left edges, Frame2 its bottom and right; BarText is what
  // is written on the track.
  TBarColorStyle Style;
  TColor Bar1, Bar2, Bar3;
  TColor Track;
  TColor Frame1, Frame2;
  TColor BarText;

  // The side menu and the bottom panel. With OwnPanels false the system draws
  // them and their buttons (Panel, the bevel and the button colours are then
  // the system's own); Text (the note and the other panel texts) and Link are
  // always Lumeno's.
  bool OwnPanels;
  TColor Panel, PanelLight, PanelShadow;
  TColor Text;
  TColor Link;
  TColor Button, ButtonText, ButtonFrame;

  // The caption bar dark too, where Windows offers it.
  bool DarkTitleBar;
};

const TColourScheme& ColourScheme(TColourSchemeId id);
// What every window uses while a high-contrast theme is on, whatever the
// scheme: the system's colours.
const TColourScheme& HighContrastColours();
// The bar's colours in a scheme.
TBarColors BarColors(const TColourScheme& scheme);
// A stored number as a scheme; anything unknown is Classic.
TColourSchemeId ColourSchemeFromStored(int32_t value);

}  // namespace lumeno
