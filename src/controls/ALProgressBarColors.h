// Colour values as the controls take them, and the pixel format they draw in.
#pragma once

#include <cstdint>

namespace lumeno {

// 0x00BBGGRR, red in the low byte. With the top bit set the low byte names a
// system colour, looked up whenever the colour is drawn.
using TColor = uint32_t;

// One pixel of a 32-bit top-down buffer as a DIB section holds it: bytes
// B, G, R, unused; read as a little-endian word that is 0x00RRGGBB.
using TPixel = uint32_t;

inline constexpr TColor clSystemColor = 0xFF000000u;
inline constexpr TColor clActiveCaption = clSystemColor | 2u;
inline constexpr TColor clWindow = clSystemColor | 5u;
inline constexpr TColor clWindowText = clSystemColor | 8u;
inline constexpr TColor clHighlight = clSystemColor | 13u;
inline constexpr TColor clBtnFace = clSystemColor | 15u;
inline constexpr TColor clBtnShadow = clSystemColor | 16u;
inline constexpr TColor clBtnText = clSystemColor | 18u;
inline constexpr TColor clBtnHighlight = clSystemColor | 20u;
inline constexpr TColor clHotLight = clSystemColor | 26u;
inline constexpr TColor clBlack = 0x000000u;
inline constexpr TColor clGreen = 0x008000u;
inline constexpr TColor clYellow = 0x00FFFFu;
inline constexpr TColor clRed = 0x0000FFu;
inline constexpr TColor clWhite = 0xFFFFFFu;

constexpr bool IsSystemColor(TColor color) { return (color & 0x80000000u) != 0; }
constexpr uint8_t SystemColorIndex(TColor color) { return static_cast<uint8_t>(color & 0xFFu); }

constexpr TColor RgbColor(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<TColor>(r) | (static_cast<TColor>(g) << 8) | (static_cast<TColor>(b) << 16);
}
constexpr uint8_t RedOf(TColor c) { return static_cast<uint8_t>(c); }
constexpr uint8_t GreenOf(TColor c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t BlueOf(TColor c) { return static_cast<uint8_t>(c >> 16); }

// An explicit colour (high byte ignored) as a buffer pixel, and back.
constexpr TPixel ColorToPixel(TColor c) {
  return (static_cast<TPixel>(RedOf(c)) << 16) | (static_cast<TPixel>(GreenOf(c)) << 8) | BlueOf(c);
}
constexpr TColor PixelToColor(TPixel p) {
  return RgbColor(static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p));
}

}  // namespace lumeno
