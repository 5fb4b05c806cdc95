// The colour schemes: where each gradient starts and ends, Classic as the
// window always looked, and outside Classic a fill that stands out from its
// track (3:1) and texts that read on what they are written on (4.5:1), by the
// contrast ratio of the web's accessibility guidelines.
#include "controls/ColourSchemes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

#include "ALProgressBarFakeSurface.h"

namespace lumeno::test {
namespace {

double Luminance(TColor c) {
  auto linear = [](uint8_t v) { return v <= 10 ? v / 255.0 / 12.92 : std::pow((v / 255.0 + 0.055) / 1.055, 2.4); };
  return 0.2126 * linear(RedOf(c)) + 0.7152 * linear(GreenOf(c)) + 0.0722 * linear(BlueOf(c));
}

double Contrast(TColor a, TColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

struct TSchemeCase {
  TColourSchemeId Id;
  const char* Name;
  TColor Bottom, Top, Track;  // the gradient's ends on the main window's bar, and its track
  bool Dark;                  // panels, buttons and caption bar dark
};

void PrintTo(const TSchemeCase& c, std::ostream* os) { *os << c.Name; }

class ColourSchemes : public ::testing::TestWithParam<TSchemeCase> {};

TEST_P(ColourSchemes, EndsAndContrast) {
  const TSchemeCase& expected = GetParam();
  const TColourScheme& s = ColourScheme(expected.Id);
  EXPECT_STREQ(s.Name, expected.Name);
  EXPECT_EQ(std::make_tuple(s.Bar1, s.Bar3, s.Track, s.DarkTitleBar),
            std::make_tuple(expected.Bottom, expected.Top, expected.Track, expected.Dark));
  if (expected.Id == TColourSchemeId::Classic) {
    // The system draws the rest, as it always did.
    EXPECT_EQ(std::make_tuple(s.OwnPanels, s.Frame1, s.Frame2, s.Text, s.Link),
              std::make_tuple(false, clBtnShadow, clBtnHighlight, clWindowText, RgbColor(0, 0, 255)));
    return;
  }
  // The main window's bar at 96 dpi, full and without its frame: every row shows the gradient.
  TFakeBarSurface surface;
  TALProgressBarCore bar(&surface);
  bar.SetSize(86, 403);
  bar.SetShowPosText(false);
  bar.SetShowBorder(false);
  bar.SetDirection(pdBottomToTop);
  bar.SetPosition(bar.GetMax());
  bar.SetColors(BarColors(s));
  EXPECT_EQ(std::make_pair(surface.ColorAt(40, 402), surface.ColorAt(40, 0)), std::make_pair(s.Bar1, s.Bar3));
  for (int32_t y = 0; y < 403; ++y) ASSERT_GE(Contrast(surface.ColorAt(40, y), s.Track), 3.0) << "row " << y;
  for (const auto& [text, background] : {std::pair{s.Text, s.Panel}, std::pair{s.Link, s.Panel},
                                         std::pair{s.ButtonText, s.Button}, std::pair{s.BarText, s.Track}})
    EXPECT_GE(Contrast(text, background), 4.5);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColourSchemes,
    ::testing::Values(
        TSchemeCase{TColourSchemeId::Classic, "Classic", clActiveCaption, 114686, clBtnFace, false},
        TSchemeCase{TColourSchemeId::Night, "Night", RgbColor(176, 80, 34), RgbColor(196, 132, 52),
                    RgbColor(18, 16, 14), true},
        TSchemeCase{TColourSchemeId::Ocean, "Ocean", RgbColor(40, 102, 216), RgbColor(24, 172, 160),
                    RgbColor(8, 18, 30), true},
        TSchemeCase{TColourSchemeId::HighVisibility, "High visibility", RgbColor(0, 114, 178),
                    RgbColor(213, 94, 0), clWhite, false}));

}  // namespace
}  // namespace lumeno::test
