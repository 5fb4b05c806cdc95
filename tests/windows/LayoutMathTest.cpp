// The windows' layout arithmetic, natively: docking, the menu button's
// centring, centring on the main window, the settings dialog's later place,
// and keeping restored bounds safe and reachable.
#include <gtest/gtest.h>

#include <limits>

#include "windows/LayoutMath.h"

namespace lumeno {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(ScaleToDpi, RoundsEachDesignLengthToTheNearestPixelHalvesAwayFromZero) {
  struct TCase {
    int32_t Design, At96, At120, At144, At192;
  };
  for (const TCase& c : {TCase{0, 0, 0, 0, 0},
                         TCase{1, 1, 1, 2, 2},          // 1.25, 1.5
                         TCase{3, 3, 4, 5, 6},          // 3.75, 4.5
                         TCase{-1, -1, -1, -2, -2},     // halves away from zero
                         TCase{-3, -3, -4, -5, -6},
                         TCase{10, 10, 13, 15, 20},     // 12.5: the settings dialog's gap
                         TCase{13, 13, 16, 20, 26},     // 16.25, 19.5
                         TCase{25, 25, 31, 38, 50},     // 31.25, 37.5
                         TCase{41, 41, 51, 62, 82},     // bottom panel: 51.25, 61.5
                         TCase{57, 57, 71, 86, 114},    // menu button: 71.25, 85.5
                         TCase{127, 127, 159, 191, 254},  // side menu: 158.75, 190.5
                         TCase{229, 229, 286, 344, 458},  // main window: 286.25, 343.5
                         TCase{kMax, kMax, kMax, kMax, kMax},
                         TCase{kMin, kMin, kMin, kMin, kMin}}) {
    SCOPED_TRACE(c.Design);
    EXPECT_EQ(ScaleToDpi(c.Design, 96), c.At96);
    EXPECT_EQ(ScaleToDpi(c.Design, 120), c.At120);
    EXPECT_EQ(ScaleToDpi(c.Design, 144), c.At144);
    EXPECT_EQ(ScaleToDpi(c.Design, 192), c.At192);
  }
  // A DPI that cannot be is the design's.
  EXPECT_EQ(ScaleToDpi(229, 0), 229);
  EXPECT_EQ(ScaleToDpi(229, -144), 229);
  // Rectangles scale position and size each on its own.
  EXPECT_EQ(ScaleToDpi(TBounds{-1, 160, 130, 13}, 144), (TBounds{-2, 240, 195, 20}));
  EXPECT_EQ(ScaleToDpi(TBounds{9, 120, 109, 41}, 120), (TBounds{11, 150, 136, 51}));
}

TEST(DesignLength, AMeasuredWidthScaledBackCoversItsPixels) {
  EXPECT_EQ(DesignLength(20, 144), 14);  // 13.33 up
  EXPECT_EQ(DesignLength(97, 96), 97);
  EXPECT_EQ(DesignLength(-20, 144), -14);
  EXPECT_EQ(DesignLength(kMax, 96), kMax);
  EXPECT_EQ(DesignLength(kMax, 48), kMax);  // saturates
  for (int32_t dpi : {96, 120, 144, 168, 192, 288}) {
    for (int32_t px = 0; px <= 400; ++px) {
      const int32_t design = DesignLength(px, dpi);
      const int32_t back = ScaleToDpi(design, dpi);
      ASSERT_GE(back, px) << px << " at " << dpi;
      ASSERT_LE(back, px + (dpi + 95) / 96) << px << " at " << dpi;
    }
  }
}

TEST(MainMinTrackWidth, IsTheDesignedWidthLessTheScaledMenu) {
  EXPECT_EQ(MainMinTrackWidth(96), kMainMinTrackWidth);
  EXPECT_EQ(MainMinTrackWidth(96), 102);
  EXPECT_EQ(MainMinTrackWidth(120), 286 - 159);
  EXPECT_EQ(MainMinTrackWidth(144), 344 - 191);
  EXPECT_EQ(MainMinTrackWidth(192), 204);
}

TEST(LayOutMain, ScalesThePanelsToTheDpi) {
  struct TCase {
    int32_t Dpi, ClientWidth, ClientHeight;
    TMainLayout Open;
  };
  for (const TCase& c : {TCase{96, 221, 456, {{0, 415, 221, 41}, {94, 0, 127, 415}, {0, 0, 94, 415}}},
                         TCase{120, 276, 570, {{0, 519, 276, 51}, {117, 0, 159, 519}, {0, 0, 117, 519}}},
                         TCase{144, 332, 684, {{0, 622, 332, 62}, {141, 0, 191, 622}, {0, 0, 141, 622}}},
                         TCase{192, 443, 913, {{0, 831, 443, 82}, {189, 0, 254, 831}, {0, 0, 189, 831}}}}) {
    SCOPED_TRACE(c.Dpi);
    const TMainLayout open = LayOutMain(c.ClientWidth, c.ClientHeight, true, c.Dpi);
    EXPECT_EQ(open.Panel1, c.Open.Panel1);
    EXPECT_EQ(open.PanelMenu, c.Open.PanelMenu);
    EXPECT_EQ(open.Bar, c.Open.Bar);
    // Folding takes the scaled menu's width off the window; the bar keeps its width.
    const int32_t foldedWidth = c.ClientWidth - ScaleToDpi(kPanelMenuWidth, c.Dpi);
    EXPECT_EQ(LayOutMain(foldedWidth, c.ClientHeight, false, c.Dpi).Bar, c.Open.Bar);
  }
}

TEST(LayOutMain, DocksBottomThenRightThenFillsTheRest) {
  const TMainLayout open = LayOutMain(221, 456, true);
  EXPECT_EQ(open.Panel1, (TBounds{0, 415, 221, 41}));
  EXPECT_EQ(open.PanelMenu, (TBounds{94, 0, 127, 415}));
  EXPECT_EQ(open.Bar, (TBounds{0, 0, 94, 415}));
  const TMainLayout folded = LayOutMain(94, 456, false);
  EXPECT_EQ(folded.Bar, (TBounds{0, 0, 94, 415}));
  EXPECT_EQ(folded.Panel1.Width, 94);
}

TEST(LayOutMain, ATooSmallClientAreaGivesTheBarNoNegativeSize) {
  const TMainLayout tiny = LayOutMain(50, 20, true);
  EXPECT_EQ(tiny.Bar, (TBounds{0, 0, 0, 0}));
  EXPECT_EQ(tiny.PanelMenu.Width, 127);
  EXPECT_EQ(tiny.PanelMenu.Height, 0);
  EXPECT_EQ(tiny.Panel1.Height, 41);
  const TMainLayout negative = LayOutMain(-5, -5, false);
  EXPECT_EQ(negative.Bar, (TBounds{0, 0, 0, 0}));
}

TEST(BmenuLeft, CentresUnderTheBarTruncatingTowardZero) {
  struct TCase {
    int32_t OuterWidth, Panel1Width;
    bool MenuVisible;
    int32_t Left;
  };
  for (const TCase& c : {TCase{229, 221, true, 23},     // (102 div 2) - 28
                         TCase{230, 222, true, 23},     // 103 div 2 = 51
                         TCase{300, 292, true, 58},     // 86 - 28
                         TCase{102, 94, true, -40},     // -25 div 2 = -12, not -13
                         TCase{102, 94, false, 19},     // 94 div 2 - 28
                         TCase{102, 95, false, 19},     // 95 div 2 = 47
                         TCase{kMax, kMax, true, 1073741732},
                         TCase{kMin, 0, true, -1073741915}}) {
    SCOPED_TRACE(c.OuterWidth);
    EXPECT_EQ(BmenuLeft(c.OuterWidth, c.Panel1Width, c.MenuVisible), c.Left);
  }
}

TEST(CentreOn, HalvesTowardZeroAndRaisesNegativesToZero) {
  // The about window (298 x 391 outside) on the main window at its design place.
  EXPECT_EQ(CentreOn({416, 115, 229, 480}, 298, 391), (TBounds{382, 159, 298, 391}));
  // Odd differences: (229 - 300) div 2 = -35, not -36.
  EXPECT_EQ(CentreOn({100, 100, 229, 480}, 300, 481), (TBounds{65, 100, 300, 481}));
  EXPECT_EQ(CentreOn({0, 0, 229, 200}, 298, 391), (TBounds{0, 0, 298, 391}));
  EXPECT_EQ(CentreOn({-500, -500, 229, 480}, 100, 100), (TBounds{0, 0, 100, 100}));
  EXPECT_EQ(CentreOn({kMax, kMax, kMax, kMax}, 0, 0), (TBounds{kMax, kMax, 0, 0}));
  EXPECT_EQ(CentreOn({kMin, kMin, kMin, kMin}, kMax, kMax), (TBounds{0, 0, kMax, kMax}));
}

TEST(SettingsLeft, SitsTenPixelsRightOfTheBar) {
  EXPECT_EQ(SettingsLeft(416, 94), 520);
  EXPECT_EQ(SettingsLeft(-300, 94), -196);
  EXPECT_EQ(SettingsLeft(kMax, 94), kMax);
  // The ten design pixels scale with the window.
  EXPECT_EQ(SettingsLeft(416, 94, 120), 416 + 94 + 13);
  EXPECT_EQ(SettingsLeft(624, 141, 144), 624 + 141 + 15);
  EXPECT_EQ(SettingsLeft(416, 94, 192), 416 + 94 + 20);
}

TEST(SanitizeBounds, KeepsCoordinatesInAWindowSafeRange) {
  EXPECT_EQ(SanitizeBounds({416, 115, 229, 480}), (TBounds{416, 115, 229, 480}));
  EXPECT_EQ(SanitizeBounds({kMin, kMax, kMax, kMin}), (TBounds{-32000, 32000, 32000, 0}));
  EXPECT_EQ(SanitizeBounds({-1, -1, -1, -1}), (TBounds{-1, -1, 0, 0}));
}

TEST(KeepReachable, LeavesAGrabbableCaptionAlone) {
  const TEdges work{0, 0, 1280, 994};
  for (const TBounds& b : {TBounds{416, 115, 229, 480}, TBounds{-190, 0, 229, 480}, TBounds{1240, 500, 229, 480},
                           TBounds{100, 980, 229, 480}, TBounds{100, -8, 229, 480}}) {
    SCOPED_TRACE(b.Left);
    EXPECT_TRUE(CaptionReachable(b, work));
    EXPECT_EQ(KeepReachable(b, work), b);
  }
}

TEST(KeepReachable, MovesAnUnreachableWindowTheShortestWayIn) {
  const TEdges work{0, 0, 1280, 994};
  struct TCase {
    TBounds In, Out;
  };
  for (const TCase& c : {TCase{{-30000, -30000, 229, 480}, {0, 0, 229, 480}},
                         TCase{{30000, 30000, 229, 480}, {1051, 514, 229, 480}},
                         TCase{{300, -470, 229, 480}, {300, 0, 229, 480}},
                         TCase{{1270, 200, 229, 480}, {1051, 200, 229, 480}},
                         TCase{{-32000, 5, 32000, 32000}, {0, 0, 32000, 32000}},
                         TCase{{0, 0, 0, 0}, {0, 0, 0, 0}},
                         TCase{{kMax, kMin, 229, 480}, {1051, 0, 229, 480}}}) {
    SCOPED_TRACE(c.In.Left);
    EXPECT_FALSE(CaptionReachable(c.In, work));
    EXPECT_EQ(KeepReachable(c.In, work), c.Out);
  }
}

TEST(KeepReachable, RespectsAWorkAreaAwayFromTheOrigin) {
  // A second monitor left of the first.
  const TEdges work{-1920, 40, 0, 1080};
  EXPECT_EQ(KeepReachable({-5000, 0, 229, 480}, work), (TBounds{-1920, 40, 229, 480}));
  EXPECT_EQ(KeepReachable({-1000, 300, 229, 480}, work), (TBounds{-1000, 300, 229, 480}));
}

TEST(LayOutPanelText, MovesTheButtonLeftThenNarrowsItOnlyAsFarAsTheTextNeeds) {
  const struct { const char* What; int32_t Panel, Left, Text; TPanelTextLayout Expected; } cases[] = {
      {"room to spare with the menu open", 221, 23, 27, {23, 57, 84, 135}},
      {"folded: moved left", 94, 18, 27, {4, 57, 65, 27}},
      {"folded, a wider text: moved to the margin and narrowed", 94, 18, 36, {2, 50, 56, 36}},
      {"too narrow even so: the caption keeps its width", 80, 11, 36, {2, 46, 52, 26}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LayOutPanelText(c.Panel, c.Left, 57, 46, c.Text, 4, 2), c.Expected) << c.What;
}

}  // namespace
}  // namespace lumeno
