// An in-memory IBarSurface: FBuffer is a vector, text is drawn as solid blocks
// of a fixed cell, system colours come from a table the test can change, and
// every call is counted.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/ALProgressBar.h"

namespace lumeno::test {

class TFakeBarSurface : public IBarSurface {
 public:
  static constexpr int32_t kCellWidth = 7;
  static constexpr int32_t kCellHeight = 13;

  TFakeBarSurface() {
    LastText.reserve(256);
    for (size_t i = 0; i < SystemColors.size(); ++i) {
      SystemColors[i] = RgbColor(static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 0x5A);
    }
  }

  bool SetBufferSize(int32_t width, int32_t height) override {
    ++ResizeCalls;
    if (RefuseBuffer) return false;
    if (width == Width && height == Height) return true;
    Width = width;
    Height = height;
    Buffer.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    return true;
  }
  TPixel* BufferPixels() override { return Buffer.data(); }
  TTextExtent MeasureText(std::string_view text) override {
    return {static_cast<int32_t>(text.size()) * kCellWidth, kCellHeight};
  }
  // Each character is a 5 x 9 block inside its 7 x 13 cell, leaving the rest of
  // the cell untouched so that a background box would show.
  void DrawText(int32_t x, int32_t y, std::string_view text, TPixel color) override {
    LastText.assign(text);
    LastTextX = x;
    LastTextY = y;
    LastTextColor = color;
    ++TextDraws;
    for (size_t i = 0; i < text.size(); ++i) {
      const int64_t cx = x + static_cast<int64_t>(i) * kCellWidth;
      for (int64_t py = y + 2; py < y + 11; ++py) {
        for (int64_t px = cx + 1; px < cx + 6; ++px) {
          if (px >= 0 && py >= 0 && px < Width && py < Height) Buffer[py * Width + px] = color;
        }
      }
    }
  }
  void Present() override {
    ++Presents;
    Screen = Buffer;
  }
  void PresentRect(int32_t x, int32_t y, int32_t width, int32_t height) override {
    ++Presents;
    ++PartialPresents;
    LastRect = {x, y, width, height};
    // A rectangle outside the buffer would be a fault of the bar's; show it as
    // a screen that no longer matches anything.
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > Width || y + height > Height ||
        Screen.size() != Buffer.size()) {
      Screen.clear();
      return;
    }
    for (int32_t row = y; row < y + height; ++row) {
      const size_t at = static_cast<size_t>(row) * Width + x;
      std::copy_n(Buffer.begin() + at, width, Screen.begin() + at);
    }
  }
  bool Shown() override { return !Hidden; }
  TColor SystemColor(uint8_t index) override {
    ++SystemColorLookups;
    return SystemColors[index];
  }

  TPixel At(int32_t x, int32_t y) const { return Buffer[static_cast<size_t>(y) * Width + x]; }
  TColor ColorAt(int32_t x, int32_t y) const { return PixelToColor(At(x, y)); }

  std::array<TColor, 256> SystemColors{};
  bool RefuseBuffer = false;
  bool Hidden = false;
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<TPixel> Buffer;
  std::vector<TPixel> Screen;
  int Presents = 0;
  int PartialPresents = 0;
  std::array<int32_t, 4> LastRect{};  // x, y, width, height of the last PresentRect
  int ResizeCalls = 0;
  int TextDraws = 0;
  int SystemColorLookups = 0;
  std::string LastText;
  int32_t LastTextX = 0;
  int32_t LastTextY = 0;
  TPixel LastTextColor = 0;
};

}  // namespace lumeno::test
