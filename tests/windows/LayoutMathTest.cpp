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

}  // namespace
}  // namespace lumeno
