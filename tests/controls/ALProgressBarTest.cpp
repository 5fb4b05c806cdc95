#include "controls/ALProgressBar.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "ALProgressBarFakeSurface.h"

namespace lumeno {
namespace {

using test::TFakeBarSurface;

constexpr TColor kBar = RgbColor(10, 200, 30);
constexpr TColor kBack = RgbColor(240, 240, 240);
constexpr TColor kEdge1 = RgbColor(1, 2, 3);
constexpr TColor kEdge2 = RgbColor(250, 251, 252);

class ALProgressBarTest : public ::testing::Test {
 protected:
  // A bar of the given size that paints only what the test asks for: explicit
  // colours, no text.
  void Make(int32_t w, int32_t h, bool border, TBarColorStyle style = cs1Color) {
    bar.SetSize(w, h);
    bar.SetShowPosText(false);
    bar.SetShowBorder(border);
    bar.SetBarColorStyle(style);
    bar.SetBarColor1(kBar);
    bar.SetBackgroundColor(kBack);
    bar.SetBorderColor1(kEdge1);
    bar.SetBorderColor2(kEdge2);
  }

  // Rows [from, to) of column x all in colour c.
  void ExpectColumn(int32_t x, int32_t from, int32_t to, TColor c) {
    for (int32_t y = from; y < to; ++y) ASSERT_EQ(surface.ColorAt(x, y), c) << "x=" << x << " y=" << y;
  }

  TFakeBarSurface surface;
  TALProgressBarCore bar{&surface};
};

TEST_F(ALProgressBarTest, StartsWithTheDocumentedValues) {
  TALProgressBarCore fresh;
  EXPECT_EQ(fresh.Width(), 200);
  EXPECT_EQ(fresh.Height(), 20);
  EXPECT_EQ(fresh.GetBackgroundColor(), 0xFF00000Fu);
  EXPECT_TRUE(fresh.GetBarBitmap().Empty());
  EXPECT_EQ(fresh.GetBarColor1(), RgbColor(0, 128, 0));
  EXPECT_EQ(fresh.GetBarColor2(), RgbColor(255, 255, 0));
  EXPECT_EQ(fresh.GetBarColor3(), RgbColor(255, 0, 0));
  EXPECT_EQ(fresh.GetBarColorStyle(), cs3Colors);
  EXPECT_EQ(fresh.GetBorderColor1(), 0xFF000010u);
  EXPECT_EQ(fresh.GetBorderColor2(), 0xFF000014u);
  EXPECT_EQ(fresh.GetDirection(), pdLeftToRight);
  EXPECT_EQ(fresh.GetMax(), 100);
  EXPECT_EQ(fresh.GetMin(), 0);
  EXPECT_FALSE(fresh.GetPercentage());
  EXPECT_EQ(fresh.GetPosition(), 0);
  EXPECT_EQ(fresh.GetPosTextPrefix(), "");
  EXPECT_EQ(fresh.GetPosTextSuffix(), "");
  EXPECT_TRUE(fresh.GetShowBorder());
  EXPECT_TRUE(fresh.GetShowPosText());
}

// 403 high with a frame: a 401-pixel track; 1500 of 3000 is 200.5, rounded to 200.
TEST_F(ALProgressBarTest, VerticalFillRoundsHalfToEven) {
  Make(86, 403, true);
  bar.SetDirection(pdBottomToTop);
  bar.SetMax(3000);
  bar.SetPosition(1500);
  EXPECT_EQ(bar.FilledLength(401), 200);
  for (int32_t x = 1; x < 85; ++x) {
    ExpectColumn(x, 1, 202, kBack);
    ExpectColumn(x, 202, 402, kBar);
  }
}

TEST_F(ALProgressBarTest, FrameCoversTheRingWithItsCornerRules) {
  Make(12, 7, true);
  bar.SetPosition(100);
  for (int32_t x = 0; x < 12; ++x) EXPECT_EQ(surface.ColorAt(x, 0), kEdge1) << x;
  ExpectColumn(0, 0, 7, kEdge1);
  for (int32_t x = 1; x < 12; ++x) EXPECT_EQ(surface.ColorAt(x, 6), kEdge2) << x;
  ExpectColumn(11, 1, 7, kEdge2);
  EXPECT_EQ(surface.ColorAt(11, 0), kEdge1);  // top-right
  EXPECT_EQ(surface.ColorAt(0, 6), kEdge1);   // bottom-left
  EXPECT_EQ(surface.ColorAt(11, 6), kEdge2);  // bottom-right
  for (int32_t x = 1; x < 11; ++x) ExpectColumn(x, 1, 6, kBar);
}

// At a higher display scale the frame is thicker: the one-pixel ring repeated
// inwards, the track inset by the whole width, the fill scaled to that track.
TEST_F(ALProgressBarTest, AThickerFrameRepeatsTheRingAndInsetsTheTrack) {
  Make(12, 14, true);
  bar.SetBorderWidth(2);
  bar.SetDirection(pdBottomToTop);
  bar.SetMax(10);
  bar.SetPosition(5);
  for (int32_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    for (int32_t x = i; x < 12 - i; ++x) EXPECT_EQ(surface.ColorAt(x, i), kEdge1) << x;
    ExpectColumn(i, i, 14 - i, kEdge1);
    for (int32_t x = i + 1; x < 12 - i; ++x) EXPECT_EQ(surface.ColorAt(x, 13 - i), kEdge2) << x;
    ExpectColumn(11 - i, i + 1, 14 - i, kEdge2);
  }
  // A 10-pixel track (14 - 2 * 2): half of it filled from the bottom.
  for (int32_t x = 2; x < 10; ++x) {
    ExpectColumn(x, 2, 7, kBack);
    ExpectColumn(x, 7, 12, kBar);
  }
  // Kept within 1..1000; a frame wider than half the control stops at its middle.
  bar.SetBorderWidth(0);
  EXPECT_EQ(bar.GetBorderWidth(), 1);
  Make(4, 4, true);
  bar.SetBorderWidth(INT32_MAX);
  EXPECT_EQ(bar.GetBorderWidth(), TALProgressBarCore::kMaxBorderWidth);
  bar.SetPosition(10);
  EXPECT_EQ(surface.ColorAt(1, 1), kEdge1);
  EXPECT_EQ(surface.ColorAt(2, 2), kEdge2);
}

// The unfilled part lies at the end away from the origin, in every direction.
// 10 x 10 with a frame: an 8-pixel track; 2 of 8 fills 2 pixels.
struct TDirectionCase {
  TProgressDirection direction;
  std::function<bool(int32_t x, int32_t y)> filled;
};

TEST_F(ALProgressBarTest, UnfilledPartFollowsTheDirection) {
  const TDirectionCase cases[] = {
      {pdLeftToRight, [](int32_t x, int32_t) { return x <= 2; }},
      {pdRightToLeft, [](int32_t x, int32_t) { return x >= 7; }},
      {pdBottomToTop, [](int32_t, int32_t y) { return y >= 7; }},
      {pdTopToBottom, [](int32_t, int32_t y) { return y <= 2; }},
  };
  Make(10, 10, true);
  bar.SetMax(8);
  bar.SetPosition(2);
  for (const auto& c : cases) {
    bar.SetDirection(c.direction);
    for (int32_t y = 1; y < 9; ++y) {
      for (int32_t x = 1; x < 9; ++x) {
        ASSERT_EQ(surface.ColorAt(x, y), c.filled(x, y) ? kBar : kBack)
            << "direction " << int{c.direction} << " x=" << x << " y=" << y;
      }
    }
  }
}

TEST_F(ALProgressBarTest, WithoutFrameTheTrackIsTheWholeControl) {
  Make(10, 3, false);
  bar.SetMax(10);
  bar.SetPosition(3);
  for (int32_t x = 0; x < 10; ++x) ExpectColumn(x, 0, 3, x < 3 ? kBar : kBack);
}

TEST_F(ALProgressBarTest, EndsOfTheRange) {
  Make(10, 3, false);
  bar.SetPosition(100);
  for (int32_t x = 0; x < 10; ++x) ExpectColumn(x, 0, 3, kBar);
  bar.SetPosition(0);
  for (int32_t x = 0; x < 10; ++x) ExpectColumn(x, 0, 3, kBack);
}

// --- Gradients -------------------------------------------------------------

struct TGradientCase {
  TColor first, last;
  int32_t count;
  std::vector<uint8_t> reds;
};

TEST_F(ALProgressBarTest, GradientColorRoundsHalvesAwayFromZero) {
  const TGradientCase cases[] = {
      {clBlack, clRed, 3, {0, 128, 255}},
      {clRed, clBlack, 3, {255, 127, 0}},
      {clBlack, clRed, 2, {0, 255}},
      {RgbColor(7, 0, 0), clBlack, 1, {7}},
      {RgbColor(100, 0, 0), RgbColor(101, 0, 0), 5, {100, 100, 101, 101, 101}},
      {RgbColor(101, 0, 0), RgbColor(100, 0, 0), 5, {101, 101, 100, 100, 100}},
  };
  for (const auto& c : cases) {
    for (int32_t k = 1; k <= c.count; ++k) {
      EXPECT_EQ(RedOf(bar.GradientColor(c.first, c.last, c.count, k)), c.reds[k - 1])
          << c.first << "->" << c.last << " k=" << k;
    }
  }
  // Each channel on its own, and the ends exact.
  const TColor a = RgbColor(10, 20, 30), b = RgbColor(200, 100, 0);
  EXPECT_EQ(bar.GradientColor(a, b, 401, 1), a);
  EXPECT_EQ(bar.GradientColor(a, b, 401, 401), b);
  EXPECT_EQ(bar.GradientColor(a, b, 3, 2), RgbColor(105, 60, 15));
  // The high byte of an explicit colour plays no part.
  EXPECT_EQ(bar.GradientColor(0x02000000u | a, b, 2, 1), a);
}

TEST_F(ALProgressBarTest, GradientColorRejectsAnIndexOutsideTheCount) {
  const struct {
    int32_t count, index;
    const char* message;
  } cases[] = {
      {5, 0, "ColorIndex can't be less than 1 or greater than 5"},
      {5, 6, "ColorIndex can't be less than 1 or greater than 5"},
      {0, 1, "ColorIndex can't be less than 1 or greater than 0"},
      {-3, -4, "ColorIndex can't be less than 1 or greater than -3"},
      {INT32_MAX, INT32_MIN, "ColorIndex can't be less than 1 or greater than 2147483647"},
  };
  for (const auto& c : cases) {
    try {
      bar.GradientColor(clBlack, clRed, c.count, c.index);
      ADD_FAILURE() << "no error for index " << c.index;
    } catch (const ERangeError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(bar.GradientColor(clBlack, clRed, INT32_MAX, INT32_MAX), clRed);
}

// Three colours left to right: the middle colour on two adjacent columns.
TEST_F(ALProgressBarTest, ThreeColourSplit) {
  const TColor c1 = RgbColor(0, 0, 0), c2 = RgbColor(100, 100, 100), c3 = RgbColor(200, 0, 0);
  for (int32_t width : {10, 11}) {
    Make(width, 2, false, cs3Colors);
    bar.SetBarColor1(c1);
    bar.SetBarColor2(c2);
    bar.SetBarColor3(c3);
    bar.SetPosition(100);
    const int32_t s = width / 2;
    for (int32_t x = 0; x < width; ++x) {
      const TColor want = x < s ? bar.GradientColor(c1, c2, s, x + 1) : bar.GradientColor(c2, c3, width - s, x - s + 1);
      ExpectColumn(x, 0, 2, want);
    }
    EXPECT_EQ(surface.ColorAt(0, 0), c1);
    EXPECT_EQ(surface.ColorAt(4, 0), c2);
    EXPECT_EQ(surface.ColorAt(5, 0), c2);
    EXPECT_EQ(surface.ColorAt(width - 1, 0), c3);
  }
  EXPECT_NE(surface.ColorAt(6, 0), c2);  // 11 wide: the second span has six columns
}

TEST_F(ALProgressBarTest, OneLineSpanTakesItsFirstColour) {
  const TColor c1 = RgbColor(1, 1, 1), c2 = RgbColor(2, 2, 2), c3 = RgbColor(3, 3, 3);
  const struct {
    int32_t width;
    std::vector<TColor> columns;
  } cases[] = {{1, {c2}}, {2, {c1, c2}}, {3, {c1, c2, c3}}, {4, {c1, c2, c2, c3}}};
  for (const auto& c : cases) {
    Make(c.width, 1, false, cs3Colors);
    bar.SetBarColor1(c1);
    bar.SetBarColor2(c2);
    bar.SetBarColor3(c3);
    bar.SetPosition(100);
    for (int32_t x = 0; x < c.width; ++x) EXPECT_EQ(surface.ColorAt(x, 0), c.columns[x]) << c.width << " " << x;
  }
}

// Colour order of each span by direction: BarColor1 always at the origin.
TEST_F(ALProgressBarTest, GradientEndsByDirectionAndStyle) {
  const TColor c1 = RgbColor(11, 0, 0), c2 = RgbColor(0, 22, 0), c3 = RgbColor(0, 0, 33);
  const struct {
    TProgressDirection direction;
    TBarColorStyle style;
    TColor first, middleLow, middleHigh, last;  // lines 1, S, S + 1, N of 8
  } cases[] = {
      {pdLeftToRight, cs2Colors, c1, 0, 0, c2},  {pdRightToLeft, cs2Colors, c2, 0, 0, c1},
      {pdBottomToTop, cs2Colors, c2, 0, 0, c1},  {pdTopToBottom, cs2Colors, c1, 0, 0, c2},
      {pdLeftToRight, cs3Colors, c1, c2, c2, c3}, {pdRightToLeft, cs3Colors, c3, c2, c2, c1},
      {pdBottomToTop, cs3Colors, c3, c2, c2, c1}, {pdTopToBottom, cs3Colors, c1, c2, c2, c3},
  };
  for (const auto& c : cases) {
    Make(8, 8, false, c.style);
    bar.SetBarColor1(c1);
    bar.SetBarColor2(c2);
    bar.SetBarColor3(c3);
    bar.SetDirection(c.direction);
    bar.SetPosition(100);
    const bool horizontal = c.direction <= pdRightToLeft;
    auto line = [&](int32_t k) { return horizontal ? surface.ColorAt(k - 1, 3) : surface.ColorAt(3, k - 1); };
    SCOPED_TRACE(testing::Message() << "direction " << int{c.direction} << " style " << int{c.style});
    EXPECT_EQ(line(1), c.first);
    EXPECT_EQ(line(8), c.last);
    if (c.style == cs3Colors) {
      EXPECT_EQ(line(4), c.middleLow);
      EXPECT_EQ(line(5), c.middleHigh);
    }
  }
}

// The main window's bar: bottom to top, three colours with the last two equal.
TEST_F(ALProgressBarTest, MainWindowBarLayer) {
  const TColor caption = RgbColor(0, 84, 227), deep = 114686;
  surface.SystemColors[2] = caption;
  Make(86, 403, false, cs3Colors);
  bar.SetDirection(pdBottomToTop);
  bar.SetBarColor1(clActiveCaption);
  bar.SetBarColor2(deep);
  bar.SetBarColor3(deep);
  bar.SetPosition(100);
  for (int32_t y = 0; y < 201; ++y) ASSERT_EQ(surface.ColorAt(40, y), deep) << y;
  EXPECT_EQ(surface.ColorAt(40, 201), deep);
  EXPECT_EQ(surface.ColorAt(40, 402), caption);
  for (int32_t y = 201; y < 403; ++y) {
    ASSERT_EQ(surface.ColorAt(40, y), bar.GradientColor(deep, clActiveCaption, 202, y - 200)) << y;
    for (int32_t x = 0; x < 86; ++x) ASSERT_EQ(surface.At(x, y), surface.At(0, y));
  }
}

// --- Bar bitmap --------------------------------------------------------------

TBarBitmap NumberedTile(int32_t w, int32_t h) {
  TBarBitmap tile;
  tile.Width = w;
  tile.Height = h;
  for (int32_t i = 0; i < w * h; ++i) tile.Pixels.push_back(static_cast<TPixel>(i + 1));
  return tile;
}

TEST_F(ALProgressBarTest, BitmapIsTiledFromTheTopLeftAndClipped) {
  Make(86, 403, false);
  bar.SetDirection(pdBottomToTop);
  const TBarBitmap tile = NumberedTile(30, 30);
  bar.SetBarBitmap(&tile);
  bar.SetPosition(100);
  for (int32_t y = 0; y < 403; ++y) {
    for (int32_t x = 0; x < 86; ++x) {
      ASSERT_EQ(surface.At(x, y), tile.Pixels[(y % 30) * 30 + x % 30]) << x << "," << y;
    }
  }
  // An even fit still tiles without gaps.
  Make(60, 30, false);
  bar.SetBarBitmap(&tile);
  EXPECT_EQ(surface.At(59, 29), tile.Pixels[30 * 30 - 1]);
}

TEST_F(ALProgressBarTest, EmptyBitmapSwitchesBackToColours) {
  Make(6, 2, false);
  bar.SetPosition(100);
  const TBarBitmap tile = NumberedTile(2, 2);
  bar.SetBarBitmap(&tile);
  EXPECT_EQ(surface.At(1, 1), 4u);
  bar.SetBarBitmap(nullptr);
  EXPECT_TRUE(bar.GetBarBitmap().Empty());
  EXPECT_EQ(surface.ColorAt(1, 1), kBar);
  bar.SetBarBitmap(&tile);
  TBarBitmap empty;
  empty.Width = 3;  // no height, no pixels: holds no image
  bar.SetBarBitmap(&empty);
  EXPECT_EQ(surface.ColorAt(1, 1), kBar);
  TBarBitmap shortOfPixels = NumberedTile(2, 2);
  shortOfPixels.Height = 3;
  bar.SetBarBitmap(&shortOfPixels);
  EXPECT_EQ(surface.ColorAt(1, 1), kBar);
}

TEST_F(ALProgressBarTest, TransparentBitmapShowsTheBackgroundThrough) {
  Make(4, 2, false);
  bar.SetPosition(100);
  TBarBitmap tile = NumberedTile(2, 2);  // bottom-left pixel is 3
  tile.Transparent = true;
  bar.SetBarBitmap(&tile);
  EXPECT_EQ(surface.At(0, 0), 1u);
  EXPECT_EQ(surface.ColorAt(0, 1), kBack);
  EXPECT_EQ(surface.ColorAt(2, 1), kBack);
  EXPECT_EQ(surface.At(3, 1), 4u);
}

TEST_F(ALProgressBarTest, ChangingTheBitmapInPlaceShowsAtTheNextRebuild) {
  Make(4, 1, false);
  bar.SetMax(4);
  const TBarBitmap tile = NumberedTile(1, 1);
  bar.SetBarBitmap(&tile);
  bar.SetPosition(4);
  bar.GetBarBitmap().Pixels[0] = 77;
  bar.SetPosition(3);  // reuses the image already rendered
  EXPECT_EQ(surface.At(0, 0), 1u);
  bar.SetMax(4);  // same value: still repaints and re-renders
  EXPECT_EQ(surface.At(0, 0), 77u);
}

// --- Property writes ---------------------------------------------------------

TEST_F(ALProgressBarTest, IgnoredPositionWritesDoNothing) {
  Make(20, 4, true);
  bar.SetMin(10);
  bar.SetMax(50);
  bar.SetPosition(30);
  const int presents = surface.Presents;
  for (int32_t v : {30, 51, 9, INT32_MAX, INT32_MIN}) {
    bar.SetPosition(v);
    EXPECT_EQ(bar.GetPosition(), 30) << v;
  }
  EXPECT_EQ(surface.Presents, presents);
  // With the position text showing the bar repaints on every change, but
  // still not for a write of the position it already has.
  bar.SetShowPosText(true);
  const int withText = surface.Presents;
  bar.SetPosition(30);
  EXPECT_EQ(surface.Presents, withText);
  bar.SetShowPosText(false);
  bar.SetPosition(50);
  bar.SetPosition(10);
  EXPECT_EQ(surface.Presents, withText + 1 + 2);
  EXPECT_EQ(bar.GetPosition(), 10);
}

TEST_F(ALProgressBarTest, EveryOtherWriteRepaintsEvenWhenUnchanged) {
  Make(20, 4, true);
  const std::function<void()> writes[] = {
      [&] { bar.SetBackgroundColor(bar.GetBackgroundColor()); },
      [&] { bar.SetBarBitmap(nullptr); },
      [&] { bar.SetBarColor1(bar.GetBarColor1()); },
      [&] { bar.SetBarColor2(bar.GetBarColor2()); },
      [&] { bar.SetBarColor3(bar.GetBarColor3()); },
      [&] { bar.SetBarColorStyle(bar.GetBarColorStyle()); },
      [&] { bar.SetBorderColor1(bar.GetBorderColor1()); },
      [&] { bar.SetBorderColor2(bar.GetBorderColor2()); },
      [&] { bar.SetDirection(bar.GetDirection()); },
      [&] { bar.SetMax(bar.GetMax()); },
      [&] { bar.SetMin(bar.GetMin()); },
      [&] { bar.SetPercentage(bar.GetPercentage()); },
      [&] { bar.SetPosTextPrefix(bar.GetPosTextPrefix()); },
      [&] { bar.SetPosTextSuffix(bar.GetPosTextSuffix()); },
      [&] { bar.SetShowBorder(bar.GetShowBorder()); },
      [&] { bar.SetShowPosText(bar.GetShowPosText()); },
      [&] { bar.SetFontColor(bar.GetFontColor()); },
      [&] { bar.FontChanged(); },
  };
  for (size_t i = 0; i < std::size(writes); ++i) {
    const int before = surface.Presents;
    writes[i]();
    EXPECT_EQ(surface.Presents, before + 1) << "write " << i;
  }
}

TEST_F(ALProgressBarTest, PositionWritesOfTheSameFilledLengthPaintNothing) {
  Make(10, 3, false);
  bar.SetPosition(50);
  const int presents = surface.Presents;
  for (int32_t v : {51, 54, 46}) {  // 5.1, 5.4 and 4.6 pixels all fill 5
    bar.SetPosition(v);
    EXPECT_EQ(bar.GetPosition(), v);
  }
  EXPECT_EQ(surface.Presents, presents);
  bar.SetPosition(56);
  EXPECT_EQ(surface.Presents, presents + 1);
  for (int32_t x = 0; x < 6; ++x) ExpectColumn(x, 0, 3, kBar);
  ExpectColumn(6, 0, 3, kBack);
}

TEST_F(ALProgressBarTest, SameLengthWritesStillPaintWhenThePixelsMayDiffer) {
  struct Case {
    const char* name;
    std::function<void()> before;
  };
  const Case cases[] = {
      {"position text shown", [&] { bar.SetShowPosText(true); }},
      {"loading", [&] { bar.SetLoading(true); }},
      {"resized, host paint pending", [&] { bar.SetSize(10, 4); }},
      {"last paint refused", [&] {
         surface.RefuseBuffer = true;
         bar.SetMax(100);
         surface.RefuseBuffer = false;
       }},
      {"last paint while hidden", [&] {
         surface.Hidden = true;
         bar.SetMax(100);
         surface.Hidden = false;
       }},
      {"system colour changed", [&] {
         bar.SetBackgroundColor(clBtnFace);
         surface.SystemColors[15] = RgbColor(1, 1, 1);
       }},
  };
  for (const Case& c : cases) {
    Make(10, 3, true);
    bar.SetLoading(false);
    bar.SetPosition(50);
    c.before();
    const int presents = surface.Presents;
    bar.SetPosition(bar.GetPosition() == 50 ? 51 : 50);
    EXPECT_EQ(surface.Presents, presents + 1) << c.name;
  }
}

TEST_F(ALProgressBarTest, HiddenPaintsAreSkippedAndTheNextWriteCatchesUp) {
  Make(10, 3, false);
  bar.SetPosition(50);
  surface.Hidden = true;
  const int presents = surface.Presents;
  bar.SetPosition(80);
  bar.SetBarColor1(clRed);
  EXPECT_EQ(surface.Presents, presents);
  EXPECT_EQ(bar.GetPosition(), 80);
  surface.Hidden = false;
  bar.SetPosition(81);  // the same length as 80, but the screen still shows 50
  EXPECT_EQ(surface.Presents, presents + 1);
  for (int32_t x = 0; x < 8; ++x) ExpectColumn(x, 0, 3, clRed);
  ExpectColumn(8, 0, 3, kBack);
}

TEST_F(ALProgressBarTest, ALayerChangedWhileHiddenShowsAtTheNextPositionWrite) {
  Make(4, 1, false, cs2Colors);
  bar.SetBarColor1(clBlack);
  bar.SetBarColor2(clBlack);
  bar.SetPosition(100);
  surface.Hidden = true;
  bar.SetBarColor2(RgbColor(3, 0, 0));
  surface.Hidden = false;
  bar.SetPosition(99);
  EXPECT_EQ(surface.ColorAt(3, 0), RgbColor(3, 0, 0));
}

TEST_F(ALProgressBarTest, LoweringMaxBelowPositionShowsFull) {
  Make(10, 3, false);
  bar.SetPosition(80);
  bar.SetMax(40);
  EXPECT_EQ(bar.GetPosition(), 80);
  for (int32_t x = 0; x < 10; ++x) ExpectColumn(x, 0, 3, kBar);
  const int presents = surface.Presents;
  bar.SetPosition(40);
  EXPECT_EQ(surface.Presents, presents + 1);
  for (int32_t x = 0; x < 10; ++x) ExpectColumn(x, 0, 3, kBar);
  // Raising Min above Position empties the bar.
  bar.SetMin(45);
  for (int32_t x = 0; x < 10; ++x) ExpectColumn(x, 0, 3, kBack);
}

TEST_F(ALProgressBarTest, MaxBelowMinAcceptsNoPosition) {
  Make(10, 3, false);
  bar.SetMin(-100);
  bar.SetMax(-200);
  const int presents = surface.Presents;
  for (int32_t v : {-150, -100, -200, 0, 1}) bar.SetPosition(v);
  EXPECT_EQ(bar.GetPosition(), 0);
  EXPECT_EQ(surface.Presents, presents);
  // 0 lies 100 above Min over a span of |Max - Min| = 100: full.
  EXPECT_EQ(bar.FilledLength(10), 10);
  for (int32_t x = 0; x < 10; ++x) ExpectColumn(x, 0, 3, kBar);
  bar.SetMax(-100);  // Max == Min: always empty
  EXPECT_EQ(bar.FilledLength(10), 0);
}

TEST_F(ALProgressBarTest, ExtremeValuesAreDefined) {
  Make(10, 3, false);
  bar.SetMin(INT32_MIN);
  bar.SetMax(INT32_MAX);
  bar.SetPosition(INT32_MAX);
  EXPECT_EQ(bar.FilledLength(10), 10);
  bar.SetPosition(INT32_MIN + 1);
  EXPECT_EQ(bar.FilledLength(10), 0);
  EXPECT_EQ(bar.FilledLength(INT32_MAX), 0);  // just under a half
  bar.SetPosition(0);
  EXPECT_EQ(bar.FilledLength(INT32_MAX), 1073741824);  // 2^31/(2^32-1) * (2^31-1), rounded
  bar.SetPosition(INT32_MAX);
  bar.SetMax(INT32_MIN + 1);
  EXPECT_EQ(bar.FilledLength(INT32_MAX), int64_t{INT32_MAX} * 4294967295);
  bar.SetShowPosText(true);
  bar.SetPercentage(true);
  bar.SetMax(-1);
  EXPECT_EQ(surface.LastText, "-214748364700");
  bar.SetShowBorder(true);
  for (int32_t w : {1, 2, 3}) {
    bar.SetSize(w, w);
    bar.SetMax(bar.GetMax());
    EXPECT_EQ(surface.Width, w);
  }
}

// --- Position text -------------------------------------------------------------

TEST_F(ALProgressBarTest, PositionTextNumber) {
  const struct {
    bool percentage;
    int32_t min, max, position;
    const char* prefix;
    const char* suffix;
    const char* text;
  } cases[] = {
      {true, 0, 8, 1, "", "", "12"},
      {true, 0, 8, 3, "", "", "38"},
      {true, 50, 100, 75, "", "", "75"},
      {true, 0, 200, 1, "", "", "0"},  // 0.5 rounds to even
      {true, 0, 200, 3, "", "", "2"},  // 1.5 rounds to even
      {true, -8, -1, -3, "", " %", "300 %"},
      {false, -10, 10, -7, "P: ", "!", "P: -7!"},
      {false, 0, 100, 0, "a", "b", "a0b"},
      // Max 0: a percentage of nothing shows 0 instead of failing.
      {true, -5, 0, -5, "", "%", "0%"},
  };
  Make(86, 20, true);
  bar.SetShowPosText(true);
  for (const auto& c : cases) {
    bar.SetPercentage(c.percentage);
    bar.SetMin(INT32_MIN);
    bar.SetMax(INT32_MAX);
    bar.SetPosition(c.position == 0 ? 1 : 0);
    bar.SetPosition(c.position);
    bar.SetMin(c.min);
    bar.SetPosTextPrefix(c.prefix);
    bar.SetPosTextSuffix(c.suffix);
    bar.SetMax(c.max);
    EXPECT_EQ(surface.LastText, c.text);
  }
  bar.SetMax(0);
  bar.SetPosition(0);
  for (int32_t p : {0, 7, -7}) {
    bar.SetMin(INT32_MIN);
    bar.SetMax(INT32_MAX);
    bar.SetPosition(p);
    bar.SetMax(0);
    EXPECT_EQ(surface.LastText, "0%") << p;
  }
}

TEST_F(ALProgressBarTest, PositionTextIsCentredWithTruncatingHalves) {
  Make(86, 20, true);
  bar.SetShowPosText(true);
  bar.SetPosition(100);  // "100": 21 x 13
  EXPECT_EQ(surface.LastTextX, 43 - 10);
  EXPECT_EQ(surface.LastTextY, 10 - 6);
  // The text is drawn over the bar without a box: the cell's margin keeps the bar.
  EXPECT_EQ(surface.ColorAt(33, 4), kBar);
  EXPECT_EQ(surface.At(34, 6), surface.LastTextColor);
  // Larger than the control: starts left of and above it, clipped.
  bar.SetSize(5, 3);
  bar.SetMax(bar.GetMax());
  EXPECT_EQ(surface.LastTextX, 2 - 10);
  EXPECT_EQ(surface.LastTextY, 1 - 6);
}

TEST_F(ALProgressBarTest, TextColourFollowsTheFontColour) {
  Make(86, 20, true);
  bar.SetShowPosText(true);
  EXPECT_EQ(PixelToColor(surface.LastTextColor), surface.SystemColors[8]);
  bar.SetFontColor(clRed);
  EXPECT_EQ(PixelToColor(surface.LastTextColor), clRed);
}

// --- States and colours --------------------------------------------------------

TEST_F(ALProgressBarTest, LoadingLeavesTheBarOutButDrawsFrameAndText) {
  Make(20, 20, true);
  bar.SetPosition(50);
  const std::vector<TPixel> before = surface.Buffer;
  bar.SetLoading(true);
  const int presents = surface.Presents;
  bar.SetBackgroundColor(clWhite);
  bar.SetBarColor1(clBlack);
  bar.SetBorderColor1(clRed);
  EXPECT_EQ(surface.Presents, presents + 3);
  for (int32_t y = 1; y < 19; ++y) {
    for (int32_t x = 1; x < 19; ++x) ASSERT_EQ(surface.At(x, y), before[y * 20 + x]);
  }
  EXPECT_EQ(surface.ColorAt(0, 5), clRed);
  bar.SetShowPosText(true);
  EXPECT_EQ(surface.LastText, "50");
  bar.SetLoading(false);
  bar.SetShowPosText(false);
  EXPECT_EQ(surface.ColorAt(1, 1), clBlack);
  EXPECT_EQ(surface.ColorAt(18, 1), clWhite);
}

TEST_F(ALProgressBarTest, SystemColoursAreResolvedAtEveryRendering) {
  Make(10, 1, false);
  bar.SetMax(10);
  bar.SetBarColor1(clActiveCaption);
  bar.SetBackgroundColor(clBtnFace);
  surface.SystemColors[2] = RgbColor(1, 1, 1);
  surface.SystemColors[15] = RgbColor(2, 2, 2);
  bar.SetPosition(5);
  EXPECT_EQ(surface.ColorAt(0, 0), RgbColor(1, 1, 1));
  EXPECT_EQ(surface.ColorAt(9, 0), RgbColor(2, 2, 2));
  surface.SystemColors[2] = RgbColor(3, 3, 3);
  surface.SystemColors[15] = RgbColor(4, 4, 4);
  bar.SetPosition(6);  // a solid bar and the track are filled at every paint
  EXPECT_EQ(surface.ColorAt(0, 0), RgbColor(3, 3, 3));
  EXPECT_EQ(surface.ColorAt(9, 0), RgbColor(4, 4, 4));

  // A gradient keeps the colours of its last rendering until the next one.
  bar.SetBarColorStyle(cs2Colors);
  bar.SetBarColor2(clActiveCaption);
  surface.SystemColors[2] = RgbColor(5, 5, 5);
  bar.SetPosition(10);
  EXPECT_EQ(surface.ColorAt(0, 0), RgbColor(3, 3, 3));
  bar.SetMax(10);
  EXPECT_EQ(surface.ColorAt(0, 0), RgbColor(5, 5, 5));
}

TEST_F(ALProgressBarTest, PositionWriteComposesWithWhateverImageThereIs) {
  // Before any rebuilding paint there is no image to copy.
  TFakeBarSurface late;
  TALProgressBarCore fresh;
  fresh.SetShowBorder(false);
  fresh.SetShowPosText(false);
  fresh.SetSize(4, 1);
  fresh.SetMax(4);
  fresh.SetSurface(&late);
  fresh.SetPosition(3);
  EXPECT_EQ(late.Presents, 1);
  EXPECT_EQ(late.At(0, 0), 0u);  // untouched buffer
  EXPECT_EQ(late.At(2, 0), 0u);
  EXPECT_EQ(late.ColorAt(3, 0), late.SystemColors[15]);
  EXPECT_TRUE(fresh.BarImage().empty());

  // After a resize, until the host's repaint, the image of the old size.
  Make(4, 1, false, cs2Colors);
  bar.SetBarColor1(clBlack);
  bar.SetBarColor2(RgbColor(3, 0, 0));
  bar.SetPosition(100);
  bar.SetSize(6, 1);
  bar.SetPosition(99);
  EXPECT_EQ(bar.BarImageWidth(), 4);
  EXPECT_EQ(surface.ColorAt(3, 0), RgbColor(3, 0, 0));
  EXPECT_EQ(surface.At(4, 0), 0u);
  bar.SetMax(100);
  EXPECT_EQ(bar.BarImageWidth(), 6);
}

TEST_F(ALProgressBarTest, WritesWithoutSurfaceStoreAndSkipThePaint) {
  TALProgressBarCore lonely;
  lonely.SetPosition(40);
  lonely.SetMax(50);
  lonely.SetBarColor1(clRed);
  EXPECT_EQ(lonely.GetPosition(), 40);
  EXPECT_EQ(lonely.GetMax(), 50);
  EXPECT_TRUE(lonely.BarImage().empty());

  surface.RefuseBuffer = true;
  bar.SetPosition(10);
  bar.SetMax(20);
  EXPECT_EQ(surface.Presents, 0);
  EXPECT_EQ(bar.GetPosition(), 10);

  // A size of zero paints nothing either.
  surface.RefuseBuffer = false;
  bar.SetSize(0, 20);
  bar.SetMax(30);
  EXPECT_EQ(surface.Presents, 0);
}

TEST_F(ALProgressBarTest, UnknownEnumValuesDrawAsTheInitialOnes) {
  Make(10, 1, false, cs2Colors);
  bar.SetBarColor2(clRed);
  bar.SetPosition(100);
  const std::vector<TPixel> known = surface.Buffer;
  bar.SetDirection(static_cast<TProgressDirection>(9));
  EXPECT_EQ(surface.Buffer, known);
  bar.SetBarColorStyle(static_cast<TBarColorStyle>(200));
  bar.SetBarColor3(clWhite);
  EXPECT_EQ(surface.ColorAt(9, 0), clWhite);
}

// Cells are 7 pixels wide; the frame and the air take 6 of the width.
TEST_F(ALProgressBarTest, TheNoteWrapsEachParagraphAtSpacesToTheRoomInsideTheFrame) {
  const std::tuple<const char*, int32_t, std::vector<std::string>> cases[] = {
      {"Session complete\n1 minute, 9 breaths\nClick the bar or press P to start again", 90,
       {"Session", "complete", "1 minute, 9", "breaths", "Click the", "bar or press", "P to start", "again"}},
      {"Session complete\n1 minute, 9 breaths", 300, {"Session complete", "1 minute, 9 breaths"}},
      {"Breathing in", 40, {"Breathing", "in"}},
      {"a\n\nb", 40, {"a", "", "b"}},
  };
  for (const auto& [note, width, lines] : cases) {
    bar.SetNote(note);
    EXPECT_EQ(bar.NoteLines(width), lines) << note;
  }
}

}  // namespace
}  // namespace lumeno
