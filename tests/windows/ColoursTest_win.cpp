// The main window as the screen shows it in each colour scheme, and in the
// system's colours while a high-contrast theme is on: the bar, the side menu,
// its buttons and texts, the panel's text; and the caption bar asked for.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "windows/LumenoLook.h"
#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

std::vector<bool> gDarkRequests;

// What the screen shows at a point of a window's client area.
COLORREF At(HWND hwnd, int x, int y) { return GetPixel(TScopedGetDc(hwnd).get(), x, y); }

bool Shows(HWND hwnd, COLORREF c) {
  const std::vector<COLORREF> pixels = ClientPixels(hwnd);
  return std::find(pixels.begin(), pixels.end(), c) != pixels.end();
}

class TSchemeShown : public TLumenoFixture, public ::testing::WithParamInterface<int32_t> {
 protected:
  void SetUp() override {
    TLumenoFixture::SetUp();
    gDarkRequests.clear();
    UseDarkTitleBar = [](HWND, bool dark) { gDarkRequests.push_back(dark); };
    QueryHighContrast = [] { return false; };
  }
  void TearDown() override {
    TLumenoFixture::TearDown();
    UseDarkTitleBar = FDarkTitleBar;
    QueryHighContrast = FHighContrast;
    RefreshHighContrast();
  }

  void ExpectShown(const TColourScheme& s) {
    SCOPED_TRACE(s.Name);
    HWND bar = Main().AlBarOddech().Handle();
    RECT r{};
    GetClientRect(bar, &r);
    // The track's lowest row is within a step of the gradient's end.
    const COLORREF fill = At(bar, r.right / 2, r.bottom - 2), end = ToColorRef(s.Bar1);
    for (int shift : {0, 8, 16}) EXPECT_LE(std::abs(int((fill >> shift) & 255) - int((end >> shift) & 255)), 3);
    EXPECT_EQ(At(bar, r.right / 2, 2), ToColorRef(s.Track));
    EXPECT_EQ(At(bar, 0, 0), ToColorRef(s.Frame1));
    EXPECT_EQ(At(Main().PanelMenu(), 4, 4), ToColorRef(s.Panel));
    EXPECT_EQ(At(Main().Memo1(), 1, 1), ToColorRef(s.Panel));
    EXPECT_TRUE(Shows(Main().Memo1(), ToColorRef(s.Text)));
    EXPECT_TRUE(Shows(Main().LinkLabel1(), ToColorRef(s.Link)));
    if (s.OwnPanels) EXPECT_EQ(At(Main().BInstruction(), 4, 4), ToColorRef(s.Button));
  }

 private:
  void (*FDarkTitleBar)(HWND, bool) = UseDarkTitleBar;
  bool (*FHighContrast)() = QueryHighContrast;
};

TEST_P(TSchemeShown, AsItsTableSaysOrAsTheSystemsWhileHighContrastIsOn) {
  StoreSettings(30, 60, 5, 5, false, true, false);
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Colour Scheme", Dword(GetParam()));
  Start();
  // Half-way through the first inhale.
  ShowWindow(Main().Handle(), SW_SHOWNA);
  Clock.Now = 1500;
  PumpFor(100);
  const TColourScheme& s = ColourScheme(static_cast<TColourSchemeId>(GetParam()));
  ExpectShown(s);
  QueryHighContrast = [] { return true; };
  for (HWND window : {Main().Handle(), About().Handle()})
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  PumpFor(100);
  ExpectShown(HighContrastColours());
  EXPECT_EQ(TLinkLabel::FromHandle(About().LinkLabel1())->Color(), GetSysColor(COLOR_HOTLIGHT));
  QueryHighContrast = [] { return false; };
  SendMessageW(Main().Handle(), WM_SYSCOLORCHANGE, 0, 0);
  PumpFor(100);
  ExpectShown(s);
  // Only a dark scheme asks for the dark caption bar (and for the normal one
  // while the theme is on); Classic asks for nothing.
  EXPECT_EQ(gDarkRequests, (s.DarkTitleBar ? std::vector<bool>{true, false, true} : std::vector<bool>{}));
  Main().AlBarOddechClick();  // "Paused" beside the menu button
  PumpFor(100);
  EXPECT_TRUE(Shows(Main().PanelText(), ToColorRef(s.Text)));
}

INSTANTIATE_TEST_SUITE_P(EachScheme, TSchemeShown, ::testing::Values(0, 1, 2, 3));

}  // namespace
}  // namespace lumeno::test
