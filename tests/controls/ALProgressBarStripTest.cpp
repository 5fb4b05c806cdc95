// A Position write that only moves the end of the fill redraws and presents a
// strip; the screen must still come out exactly as a full paint would make it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ALProgressBarFakeSurface.h"
#include "controls/ALProgressBar.h"

namespace lumeno {
namespace {

using test::TFakeBarSurface;

constexpr TColor kBack = RgbColor(240, 240, 240);

enum class TLayer { kSolid, kGradient, kBitmap, kTransparentBitmap };

struct TLook {
  TProgressDirection Direction;
  TLayer Layer;
  bool Border;
};

std::string Describe(const TLook& look) {
  static const char* const kDirections[] = {"LeftToRight", "RightToLeft", "BottomToTop", "TopToBottom"};
  static const char* const kLayers[] = {"solid", "gradient", "bitmap", "transparent bitmap"};
  return std::string(kDirections[look.Direction]) + ", " + kLayers[static_cast<int>(look.Layer)] +
         (look.Border ? ", framed" : ", bare");
}

TBarBitmap Tile() {
  TBarBitmap tile;
  tile.Width = 3;
  tile.Height = 5;
  for (int32_t i = 0; i < 15; ++i) tile.Pixels.push_back(0x10000u * static_cast<TPixel>(i + 1) + 7);
  tile.Transparent = false;
  return tile;
}

void Configure(TALProgressBarCore& bar, const TLook& look, int32_t w, int32_t h, int32_t max) {
  bar.SetSize(w, h);
  bar.SetShowPosText(false);
  bar.SetShowBorder(look.Border);
  bar.SetDirection(look.Direction);
  bar.SetBackgroundColor(kBack);
  bar.SetBorderColor1(RgbColor(1, 2, 3));
  bar.SetBorderColor2(clBtnHighlight);
  bar.SetBarColor1(RgbColor(0, 84, 227));
  bar.SetBarColor2(RgbColor(200, 30, 9));
  bar.SetBarColor3(clActiveCaption);
  bar.SetBarColorStyle(look.Layer == TLayer::kSolid ? cs1Color : cs3Colors);
  if (look.Layer == TLayer::kBitmap || look.Layer == TLayer::kTransparentBitmap) {
    TBarBitmap tile = Tile();
    tile.Transparent = look.Layer == TLayer::kTransparentBitmap;
    bar.SetBarBitmap(&tile);
  }
  bar.SetMax(max);
}

// What a bar in the same state shows when painted from scratch.
std::vector<TPixel> FullPaint(const TLook& look, int32_t w, int32_t h, int32_t max, int32_t position) {
  TFakeBarSurface surface;
  TALProgressBarCore bar(&surface);
  Configure(bar, look, w, h, max);
  bar.SetPosition(position);
  bar.Paint();
  return surface.Screen;
}

TEST(ALProgressBarStripTest, EveryWriteLeavesTheScreenOfAFullPaint) {
  std::vector<TLook> looks;
  for (TProgressDirection d : {pdLeftToRight, pdRightToLeft, pdBottomToTop, pdTopToBottom}) {
    for (TLayer l : {TLayer::kSolid, TLayer::kGradient, TLayer::kBitmap, TLayer::kTransparentBitmap}) {
      for (bool border : {false, true}) looks.push_back({d, l, border});
    }
  }
  // Small steps both ways, jumps across the whole track, both ends, and
  // writes that land on the same filled length.
  const int32_t writes[] = {1, 2, 5, 13, 14, 60, 59, 58, 100, 99, 0, 37, 38, 100, 1, 0, 3, 97, 50, 51, 49};
  for (const TLook& look : looks) {
    for (auto [w, h] : {std::pair{9, 23}, std::pair{23, 9}, std::pair{3, 3}, std::pair{1, 40}}) {
      TFakeBarSurface surface;
      TALProgressBarCore bar(&surface);
      Configure(bar, look, w, h, 100);
      for (int32_t p : writes) {
        bar.SetPosition(p);
        ASSERT_EQ(surface.Screen, FullPaint(look, w, h, 100, p))
            << Describe(look) << ", " << w << "x" << h << ", after the write of " << p;
        ASSERT_EQ(surface.Buffer, surface.Screen) << Describe(look) << ", " << w << "x" << h << ", " << p;
      }
    }
  }
}

TEST(ALProgressBarStripTest, AOneRowStepPresentsOneRow) {
  // The main window's bar: 86 x 403, rising from the bottom, no frame.
  const TLook look{pdBottomToTop, TLayer::kGradient, false};
  TFakeBarSurface surface;
  TALProgressBarCore bar(&surface);
  Configure(bar, look, 86, 403, 403);
  bar.SetPosition(10);
  const int partial = surface.PartialPresents;
  bar.SetPosition(11);
  EXPECT_EQ(surface.PartialPresents, partial + 1);
  EXPECT_EQ(surface.LastRect, (std::array<int32_t, 4>{0, 403 - 11, 86, 1}));
  bar.SetPosition(8);  // falling: the three rows above the new end clear
  EXPECT_EQ(surface.LastRect, (std::array<int32_t, 4>{0, 403 - 11, 86, 3}));
  EXPECT_EQ(surface.ColorAt(40, 403 - 9), kBack);
  EXPECT_NE(surface.ColorAt(40, 403 - 8), kBack);
}

TEST(ALProgressBarStripTest, ChangesBesidesTheLengthStillPaintInFull) {
  struct Case {
    const char* name;
    void (*between)(TALProgressBarCore&, TFakeBarSurface&);
  };
  const Case cases[] = {
      {"system colour of the background changed",
       [](TALProgressBarCore& bar, TFakeBarSurface& surface) {
         bar.SetBackgroundColor(clBtnFace);
         surface.SystemColors[15] = RgbColor(9, 9, 9);
       }},
      {"system colour of the frame changed",
       [](TALProgressBarCore&, TFakeBarSurface& surface) { surface.SystemColors[20] = RgbColor(8, 8, 8); }},
      {"resized, host paint pending", [](TALProgressBarCore& bar, TFakeBarSurface&) { bar.SetSize(12, 31); }},
      {"position text shown", [](TALProgressBarCore& bar, TFakeBarSurface&) { bar.SetShowPosText(true); }},
      {"hidden and shown again",
       [](TALProgressBarCore& bar, TFakeBarSurface& surface) {
         surface.Hidden = true;
         bar.SetPosition(70);
         surface.Hidden = false;
       }},
  };
  for (const Case& c : cases) {
    TFakeBarSurface surface;
    TALProgressBarCore bar(&surface);
    Configure(bar, {pdBottomToTop, TLayer::kGradient, true}, 12, 30, 100);
    bar.SetPosition(40);
    c.between(bar, surface);
    const int partial = surface.PartialPresents;
    const int presents = surface.Presents;
    bar.SetPosition(bar.GetPosition() + 20);
    EXPECT_EQ(surface.PartialPresents, partial) << c.name;
    EXPECT_EQ(surface.Presents, presents + 1) << c.name;
  }
}

}  // namespace
}  // namespace lumeno
