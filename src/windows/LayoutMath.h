// Layout arithmetic of Lumeno's windows (on the scaling rule of
// base/DpiScale.h): docking of the main window, the menu button's centring,
// centring a window on another, and keeping restored bounds usable.
// Header-only and free of Win32, so it is tested natively.
#pragma once

#include <algorithm>
#include <cstdint>

#include "base/DpiScale.h"

namespace lumeno {

inline constexpr int32_t kPanel1Height = 41;
inline constexpr int32_t kPanelMenuWidth = 127;
inline constexpr int32_t kBmenuTop = 8;
inline constexpr int32_t kBmenuWidth = 57;
inline constexpr int32_t kBmenuHeight = 25;
// The main window's designed outer width.
inline constexpr int32_t kMainDesignWidth = 229;
// The main window folded to its bar alone (229 - 127).
inline constexpr int32_t kMainMinTrackWidth = kMainDesignWidth - kPanelMenuWidth;

// The narrowest the main window goes at dpi: its designed width less the
// side menu's, each scaled, so that folding a window of the designed width
// lands exactly there.
constexpr int32_t MainMinTrackWidth(int32_t dpi) {
  return ScaleToDpi(kMainDesignWidth, dpi) - ScaleToDpi(kPanelMenuWidth, dpi);
}

// Where the main window's children go for a client area of the given size.
struct TMainLayout {
  TBounds Panel1;
  TBounds PanelMenu;
  TBounds Bar;
};

// Panel1 docks to the bottom over the full width, PanelMenu (when visible) to
// the right above it, the bar fills what is left. A client area too small for
// the panels gives them their fixed size anyway and the bar an empty one. The
// client area is in pixels; the panels' design sizes are scaled to dpi.
constexpr TMainLayout LayOutMain(int32_t clientWidth, int32_t clientHeight, bool menuVisible,
                                 int32_t dpi = kDesignDpi) {
  const int32_t w = std::max<int32_t>(clientWidth, 0);
  const int32_t h = std::max<int32_t>(clientHeight, 0);
  const int32_t panel1Height = ScaleToDpi(kPanel1Height, dpi);
  const int32_t menuWidth = ScaleToDpi(kPanelMenuWidth, dpi);
  TMainLayout l;
  l.Panel1 = {0, h - panel1Height, w, panel1Height};
  const int32_t above = std::max<int32_t>(h - panel1Height, 0);
  l.PanelMenu = {w - menuWidth, 0, menuWidth, above};
  const int32_t barWidth = menuVisible ? std::max<int32_t>(w - menuWidth, 0) : w;
  l.Bar = {0, 0, barWidth, above};
  return l;
}

// FormResize: Bmenu's left edge, centred under the bar. With the menu open the
// centre comes from the window's outer width, so it sits a few pixels off the
// bar's exact middle.
constexpr int32_t BmenuLeft(int32_t outerWidth, int32_t panel1Width, bool menuVisible, int32_t panelMenuWidth = kPanelMenuWidth,
                            int32_t bmenuWidth = kBmenuWidth) {
  const int32_t centre = menuVisible ? Div2(int64_t{outerWidth} - panelMenuWidth) : Div2(panel1Width);
  return Saturate32(int64_t{centre} - Div2(bmenuWidth));
}

// The bottom panel with a text beside the menu button (the time left, or
// "Paused"): where the button and the text go.
struct TPanelTextLayout {
  int32_t BmenuLeft;
  int32_t BmenuWidth;
  int32_t TextLeft;
  int32_t TextWidth;
  friend bool operator==(const TPanelTextLayout&, const TPanelTextLayout&) = default;
};

// The text goes right of the button, gap away, and keeps margin from the
// panel's edge. Where the button's centred place leaves too little room, the
// button moves left (down to margin), and only then narrows, never below
// bmenuMinWidth (its caption's width); the text takes the rest.
constexpr TPanelTextLayout LayOutPanelText(int32_t panelWidth, int32_t bmenuLeft, int32_t bmenuWidth,
                                           int32_t bmenuMinWidth, int32_t textWidth, int32_t gap, int32_t margin) {
  const int64_t need = int64_t{textWidth} + gap + margin;
  int64_t left = std::min<int64_t>(bmenuLeft, int64_t{panelWidth} - need - bmenuWidth);
  left = std::max<int64_t>(left, margin);
  int64_t width = std::min<int64_t>(bmenuWidth, int64_t{panelWidth} - need - left);
  width = std::max<int64_t>(width, std::min(bmenuMinWidth, bmenuWidth));
  const int64_t textLeft = left + width + gap;
  return {Saturate32(left), Saturate32(width), Saturate32(textLeft),
          Saturate32(std::max<int64_t>(int64_t{panelWidth} - margin - textLeft, 0))};
}

// A window of the given size centred on the owner's outer bounds; a negative
// left or top is raised to 0.
constexpr TBounds CentreOn(const TBounds& owner, int32_t width, int32_t height) {
  const int64_t left = int64_t{owner.Left} + Div2(int64_t{owner.Width} - width);
  const int64_t top = int64_t{owner.Top} + Div2(int64_t{owner.Height} - height);
  return {Saturate32(std::max<int64_t>(left, 0)), Saturate32(std::max<int64_t>(top, 0)), width, height};
}

// The settings dialog's left edge from its second showing on: 10 design
// pixels right of the bar's right edge.
constexpr int32_t SettingsLeft(int32_t mainLeft, int32_t barWidth, int32_t dpi = kDesignDpi) {
  return Saturate32(int64_t{mainLeft} + barWidth + ScaleToDpi(10, dpi));
}

// Window coordinates are kept where 16-bit message fields and the system's
// own rectangle arithmetic cannot overflow; sizes are never negative.
inline constexpr int32_t kCoordinateLimit = 32000;

constexpr TBounds SanitizeBounds(const TBounds& b) {
  return {std::clamp<int32_t>(b.Left, -kCoordinateLimit, kCoordinateLimit),
          std::clamp<int32_t>(b.Top, -kCoordinateLimit, kCoordinateLimit),
          std::clamp<int32_t>(b.Width, 0, kCoordinateLimit), std::clamp<int32_t>(b.Height, 0, kCoordinateLimit)};
}

// Whether the user can still reach the window: enough of its caption strip
// lies inside the work area to grab it.
inline constexpr int32_t kCaptionStrip = 16;
inline constexpr int32_t kGrabWidth = 32;
inline constexpr int32_t kGrabHeight = 8;

constexpr bool CaptionReachable(const TBounds& b, const TEdges& work) {
  const int64_t right = int64_t{b.Left} + std::max<int32_t>(b.Width, 0);
  const int64_t strip = std::min<int64_t>(std::max<int32_t>(b.Height, 0), kCaptionStrip);
  const int64_t stripBottom = int64_t{b.Top} + strip;
  const int64_t across = std::min<int64_t>(right, work.Right) - std::max<int64_t>(b.Left, work.Left);
  const int64_t down = std::min<int64_t>(stripBottom, work.Bottom) - std::max<int64_t>(b.Top, work.Top);
  return across >= std::min<int64_t>(std::max<int32_t>(b.Width, 0), kGrabWidth) && across > 0 &&
         down >= std::min<int64_t>(strip, kGrabHeight) && down > 0;
}

// Moves the window, keeping its size, the shortest way into the work area (its
// top-left corner wins when it is larger than the work area).
constexpr TBounds FitInto(const TBounds& b, const TEdges& work) {
  auto fit = [](int64_t pos, int64_t size, int64_t lo, int64_t hi) {
    return std::max<int64_t>(std::min<int64_t>(pos, hi - size), lo);
  };
  return {Saturate32(fit(b.Left, std::max<int32_t>(b.Width, 0), work.Left, work.Right)),
          Saturate32(fit(b.Top, std::max<int32_t>(b.Height, 0), work.Top, work.Bottom)), b.Width, b.Height};
}

// Restored bounds as the window is first shown: unchanged while the caption can
// be reached, otherwise moved into the work area.
constexpr TBounds KeepReachable(const TBounds& b, const TEdges& work) {
  return CaptionReachable(b, work) ? b : FitInto(b, work);
}

}  // namespace lumeno
