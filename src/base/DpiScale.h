// Pixel rectangles and the one rule by which every window scales its 96-dpi
// design to the DPI it is shown at. Free of Win32, shared by the windows and
// the controls, and tested natively.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

namespace lumeno {

// Left, top, width, height in pixels (outer bounds for windows).
struct TBounds {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  friend bool operator==(const TBounds&, const TBounds&) = default;
};

// Left, top, right, bottom (right and bottom exclusive).
struct TEdges {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
  friend bool operator==(const TEdges&, const TEdges&) = default;
};

// Saturates a wide intermediate into 32 bits.
constexpr int32_t Saturate32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// The integer halving of the layout rules: truncates toward zero, never overflows.
constexpr int32_t Div2(int64_t v) { return Saturate32(v / 2); }

// Every window is designed at 96 dpi; a window at another DPI scales each
// design length (position and size alike, each on its own) by dpi / 96,
// rounded to the nearest pixel with halves away from zero, as MulDiv rounds.
// At 96 dpi every length stays what it is.
inline constexpr int32_t kDesignDpi = 96;

// The magnitude of a product of two 32-bit values (never INT64_MIN).
constexpr int64_t Magnitude(int64_t v) { return v < 0 ? -v : v; }

// A DPI that cannot be (0, negative) counts as the design's.
constexpr int32_t KnownDpi(int32_t dpi) { return dpi > 0 ? dpi : kDesignDpi; }

// A length in pixels at one DPI as pixels at another, by the same rounding.
constexpr int32_t ScaleBetweenDpi(int32_t pixels, int32_t fromDpi, int32_t toDpi) {
  const int64_t from = KnownDpi(fromDpi);
  const int64_t product = int64_t{pixels} * KnownDpi(toDpi);
  const int64_t magnitude = (Magnitude(product) + from / 2) / from;
  return Saturate32(product < 0 ? -magnitude : magnitude);
}

// A design length in pixels at dpi.
constexpr int32_t ScaleToDpi(int32_t design, int32_t dpi) { return ScaleBetweenDpi(design, kDesignDpi, dpi); }

// A length in pixels at dpi (a text measured in the window's own font) as a
// design length, rounded up: scaled back it covers at least those pixels.
constexpr int32_t DesignLength(int32_t pixels, int32_t dpi) {
  const int64_t d = KnownDpi(dpi);
  const int64_t product = int64_t{pixels} * kDesignDpi;
  const int64_t magnitude = (Magnitude(product) + d - 1) / d;
  return Saturate32(product < 0 ? -magnitude : magnitude);
}

constexpr TBounds ScaleToDpi(const TBounds& design, int32_t dpi) {
  return {ScaleToDpi(design.Left, dpi), ScaleToDpi(design.Top, dpi), ScaleToDpi(design.Width, dpi),
          ScaleToDpi(design.Height, dpi)};
}

}  // namespace lumeno
