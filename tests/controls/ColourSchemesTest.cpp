// The colour schemes: Classic as the window always looked; outside Classic a
// fill that stands out from its track (3:1) all along the gradient, texts that
// read on what they are written on (4.5:1), and the dark caption bar exactly
// where the panels are dark. A ratio is the lighter relative luminance plus
// 0.05 over the darker one plus 0.05.
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

TEST(ColourSchemes, ClassicIsTheWindowAsItAlwaysLooked) {
  const TColourScheme& s = ColourScheme(TColourSchemeId::Classic);
  EXPECT_EQ(std::make_tuple(s.Bar1, s.Bar3, s.Track, s.Frame1, s.Frame2, s.OwnPanels, s.Text, s.Link, s.DarkTitleBar),
            std::make_tuple(clActiveCaption, TColor{114686}, clBtnFace, clBtnShadow, clBtnHighlight, false,
                            clWindowText, RgbColor(0, 0, 255), false));
}

TEST(ColourSchemes, TheOthersStandOutAndRead) {
  const char* const names[] = {"Classic", "Night", "Ocean", "High visibility"};
  for (int id = 0; id < kColourSchemeCount; ++id)
    EXPECT_STREQ(ColourScheme(static_cast<TColourSchemeId>(id)).Name, names[id]);
  for (int id = 1; id < kColourSchemeCount; ++id) {
    const TColourScheme& s = ColourScheme(static_cast<TColourSchemeId>(id));
    SCOPED_TRACE(s.Name);
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
    EXPECT_EQ(s.DarkTitleBar, Luminance(s.Panel) < 0.2);
  }
}

}  // namespace
}  // namespace lumeno::test
