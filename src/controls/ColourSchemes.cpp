#include "controls/ColourSchemes.h"

namespace lumeno {

namespace {

constexpr TColor kClassicYellow = 114686;  // red 254, green 191, blue 1

// Outside Classic every fill is at least 3:1 against its track along the whole
// gradient, and every text at least 4.5:1 against what it is written on (the
// ratio of the lighter to the darker relative luminance, each plus 0.05).
constexpr TColourScheme kSchemes[kColourSchemeCount] = {
    {.Name = "Classic",
     .Style = cs3Colors,
     .Bar1 = clActiveCaption, .Bar2 = kClassicYellow, .Bar3 = kClassicYellow,
     .Track = clBtnFace, .Frame1 = clBtnShadow, .Frame2 = clBtnHighlight, .BarText = clWindowText,
     .OwnPanels = false,
     .Panel = clBtnFace, .PanelLight = clBtnHighlight, .PanelShadow = clBtnShadow,
     .Text = clWindowText, .Link = RgbColor(0, 0, 255),
     .Button = clBtnFace, .ButtonText = clBtnText, .ButtonFrame = clBtnShadow,
     .DarkTitleBar = false},
    // Dim amber rising from a deep ember on a near-black track: nothing on the
    // screen brighter than it needs to be in a dark room.
    {.Name = "Night",
     .Style = cs3Colors,
     .Bar1 = RgbColor(176, 80, 34), .Bar2 = RgbColor(196, 132, 52), .Bar3 = RgbColor(196, 132, 52),
     .Track = RgbColor(18, 16, 14), .Frame1 = RgbColor(8, 7, 6), .Frame2 = RgbColor(58, 53, 48),
     .BarText = RgbColor(196, 184, 166),
     .OwnPanels = true,
     .Panel = RgbColor(30, 27, 24), .PanelLight = RgbColor(58, 53, 48), .PanelShadow = RgbColor(10, 9, 8),
     .Text = RgbColor(196, 184, 166), .Link = RgbColor(226, 168, 92),
     .Button = RgbColor(52, 47, 42), .ButtonText = RgbColor(214, 202, 184), .ButtonFrame = RgbColor(96, 88, 80),
     .DarkTitleBar = true},
    {.Name = "Ocean",
     .Style = cs3Colors,
     .Bar1 = RgbColor(40, 102, 216), .Bar2 = RgbColor(24, 172, 160), .Bar3 = RgbColor(24, 172, 160),
     .Track = RgbColor(8, 18, 30), .Frame1 = RgbColor(2, 6, 12), .Frame2 = RgbColor(40, 62, 84),
     .BarText = RgbColor(184, 206, 222),
     .OwnPanels = true,
     .Panel = RgbColor(14, 30, 46), .PanelLight = RgbColor(40, 62, 84), .PanelShadow = RgbColor(4, 12, 20),
     .Text = RgbColor(184, 206, 222), .Link = RgbColor(120, 196, 240),
     .Button = RgbColor(26, 50, 74), .ButtonText = RgbColor(204, 222, 236), .ButtonFrame = RgbColor(70, 100, 130),
     .DarkTitleBar = true},
    // Blue into vermilion on white: a pair that people with red-green or
    // blue-yellow colour blindness still tell apart, both well darker than the
    // track; black frames and texts on white panels.
    {.Name = "High visibility",
     .Style = cs3Colors,
     .Bar1 = RgbColor(0, 114, 178), .Bar2 = RgbColor(213, 94, 0), .Bar3 = RgbColor(213, 94, 0),
     .Track = clWhite, .Frame1 = clBlack, .Frame2 = clBlack, .BarText = clBlack,
     .OwnPanels = true,
     .Panel = clWhite, .PanelLight = clWhite, .PanelShadow = RgbColor(128, 128, 128),
     .Text = clBlack, .Link = RgbColor(0, 0, 255),
     .Button = clWhite, .ButtonText = clBlack, .ButtonFrame = clBlack,
     .DarkTitleBar = false},
};

// Panels and buttons as the system draws them, the bar in the highlight colour.
constexpr TColourScheme kHighContrast = {
    .Name = "High contrast",
    .Style = cs1Color,
    .Bar1 = clHighlight, .Bar2 = clHighlight, .Bar3 = clHighlight,
    .Track = clWindow, .Frame1 = clWindowText, .Frame2 = clWindowText, .BarText = clWindowText,
    .OwnPanels = false,
    .Panel = clBtnFace, .PanelLight = clBtnHighlight, .PanelShadow = clBtnShadow,
    .Text = clBtnText, .Link = clHotLight,
    .Button = clBtnFace, .ButtonText = clBtnText, .ButtonFrame = clBtnShadow,
    .DarkTitleBar = false};

}  // namespace

const TColourScheme& ColourScheme(TColourSchemeId id) {
  const auto index = static_cast<uint8_t>(id);
  return kSchemes[index < kColourSchemeCount ? index : 0];
}

const TColourScheme& HighContrastColours() { return kHighContrast; }

TBarColors BarColors(const TColourScheme& s) {
  return {s.Style, s.Bar1, s.Bar2, s.Bar3, s.Track, s.Frame1, s.Frame2, s.BarText};
}

TColourSchemeId ColourSchemeFromStored(int32_t value) {
  return value >= 0 && value < kColourSchemeCount ? static_cast<TColourSchemeId>(value) : TColourSchemeId::Classic;
}

}  // namespace lumeno
