// The windows at the process's display scale: every window and control where
// its 96-dpi design scaled by the one rule puts it, every text fitting its
// control in the control's own font, and a DPI change re-laying the main
// window out without losing its state. The suite runs at 96 dpi with the
// others and again in processes of their own at 120, 144 and 192 dpi
// (LUMENO_TEST_DPI names the DPI each process must have).
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "windows/LayoutMath.h"
#include "windows/LumenoPractice.h"
#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

class TDpiLayout : public TLumenoFixture {
 protected:
  void SetUp() override {
    TLumenoFixture::SetUp();
    Dpi = SystemDpi();
    if (const char* expected = std::getenv("LUMENO_TEST_DPI")) {
      ASSERT_EQ(Dpi, std::atoi(expected)) << "the process was meant to run at this DPI";
    }
  }
  int32_t S(int32_t design) const { return ScaleToDpi(design, Dpi); }
  TBounds S(const TBounds& design) const { return ScaleToDpi(design, Dpi); }

  int Dpi = kDesignDpi;
};

// Shows a window modally and closes it from inside its loop, noting where it stood.
TBounds ShowAndClose(TForm& form) {
  TBounds shown{};
  TLater::After(60, [&] {
    shown = WindowBounds(form.Handle());
    PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  });
  form.ShowModal();
  return shown;
}

TBounds ClientSize(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return {0, 0, r.right, r.bottom};
}

// The text's extent in the control's own font, one line per "\r\n".
SIZE TextExtent(HWND control, const std::wstring& text, UINT format = DT_SINGLELINE) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &r, format | DT_CALCRECT | DT_NOPREFIX);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {r.right - r.left, r.bottom - r.top};
}

// A push button's caption fits inside its 3-D edge (two pixels a side at 96
// dpi) with room to spare.
void ExpectButtonFits(HWND button, int dpi) {
  const std::wstring text = TextOf(button);
  SCOPED_TRACE(Narrow(text));
  const SIZE extent = TextExtent(button, text);
  const TBounds b = ChildBounds(button);
  EXPECT_LE(extent.cx + 2 * ScaleToDpi(4, dpi), b.Width);
  EXPECT_LE(extent.cy + 2 * ScaleToDpi(2, dpi), b.Height);
}

// A label's text on one line inside it.
void ExpectLabelFits(HWND label) {
  const std::wstring text = TextOf(label);
  SCOPED_TRACE(Narrow(text));
  const SIZE extent = TextExtent(label, text);
  const TBounds b = ChildBounds(label);
  EXPECT_LE(extent.cx, b.Width);
  EXPECT_LE(extent.cy, b.Height);
}

// A check box's box, the gap and its caption.
void ExpectCheckBoxFits(HWND box, int dpi) {
  const std::wstring text = TextOf(box);
  SCOPED_TRACE(Narrow(text));
  const SIZE extent = TextExtent(box, text);
  const TBounds b = ChildBounds(box);
  EXPECT_LE(ScaleToDpi(13 + 4, dpi) + extent.cx, b.Width);
  EXPECT_LE(extent.cy, b.Height);
}

// A multi-line edit shows each of its lines whole, without wrapping them.
void ExpectMemoFits(HWND memo, int lines) {
  SCOPED_TRACE(Narrow(TextOf(memo)));
  EXPECT_EQ(SendMessageW(memo, EM_GETLINECOUNT, 0, 0), lines);
  RECT format{};
  SendMessageW(memo, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  TEXTMETRICW tm{};
  HDC dc = GetDC(memo);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(memo, WM_GETFONT, 0, 0)));
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(memo, dc);
  EXPECT_LE(lines * tm.tmHeight, format.bottom - format.top + tm.tmExternalLeading);
}

TEST_F(TDpiLayout, MainWindowAndItsControlsFollowTheRule) {
  Start();
  HWND main = Main().Handle();
  EXPECT_EQ(Main().Dpi(), Dpi);
  EXPECT_EQ(ToString(WindowBounds(main)), ToString(S(TBounds{416, 115, 229, 480})));
  const TBounds client = ClientSize(main);
  const int32_t cw = client.Width, ch = client.Height;
  EXPECT_EQ(ToString(ChildBounds(Main().Panel1())), ToString({0, ch - S(41), cw, S(41)}));
  EXPECT_EQ(ToString(ChildBounds(Main().PanelMenu())), ToString({cw - S(127), 0, S(127), ch - S(41)}));
  EXPECT_EQ(ToString(ChildBounds(Main().AlBarOddech().Handle())), ToString({0, 0, cw - S(127), ch - S(41)}));
  EXPECT_EQ(Main().AlBarOddech().GetBorderWidth(), S(1));
  const int32_t bmenuLeft = BmenuLeft(S(229), cw, true, S(127), S(57));
  EXPECT_EQ(ToString(ChildBounds(Main().Bmenu())), ToString({bmenuLeft, S(8), S(57), S(25)}));
  EXPECT_EQ(ToString(ChildBounds(Main().BInstruction())), ToString(S(TBounds{16, 14, 99, 25})));
  EXPECT_EQ(ToString(ChildBounds(Main().BSettings())), ToString(S(TBounds{16, 46, 99, 25})));
  EXPECT_EQ(ToString(ChildBounds(Main().BAbout())), ToString(S(TBounds{16, 80, 99, 25})));
  EXPECT_EQ(ToString(ChildBounds(Main().Memo1())), ToString(S(TBounds{9, 120, 109, 41})));
  EXPECT_EQ(ToString(ChildBounds(Main().LinkLabel1())), ToString(S(TBounds{-1, 160, 130, 13})));
  // The fold takes the scaled menu off and no more; the window goes no narrower.
  const int32_t width = WindowBounds(main).Width;
  Main().BmenuClick();
  EXPECT_EQ(WindowBounds(main).Width, width - S(127));
  SetWindowPos(main, nullptr, 0, 0, 10, WindowBounds(main).Height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(WindowBounds(main).Width, MainMinTrackWidth(Dpi));
}

TEST_F(TDpiLayout, MainWindowTextsFitTheirControls) {
  Start();
  for (HWND button : {Main().Bmenu(), Main().BInstruction(), Main().BSettings(), Main().BAbout()})
    ExpectButtonFits(button, Dpi);
  // "Menu  >>" after a fold and back, with both captions.
  Main().BmenuClick();
  ExpectButtonFits(Main().Bmenu(), Dpi);
  Main().BmenuClick();
  ExpectButtonFits(Main().Bmenu(), Dpi);
  ExpectMemoFits(Main().Memo1(), 3);
  // The link's text inside the side menu, not under the window's frame.
  const SIZE link = TextExtent(Main().LinkLabel1(), TextOf(Main().LinkLabel1()));
  EXPECT_LE(link.cx, ClientSize(Main().PanelMenu()).Width - 2 * S(1));
  EXPECT_LE(link.cy, ChildBounds(Main().LinkLabel1()).Height);
}

TEST_F(TDpiLayout, TheTimeLeftAndPausedFitBesideTheFoldedMenuButton) {
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Session Minutes", Dword(60));
  Start();
  Main().BmenuClick();
  SendMessageW(Main().Handle(), WM_TIMER, TFormLumeno::kTimerSessionId, 0);
  for (const wchar_t* text : {L"60:00", L"Paused"}) {
    if (text[0] == L'P') Main().AlBarOddechClick();
    HWND shown = Main().PanelText();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(TextOf(shown), text);
    ExpectLabelFits(shown);
    ExpectButtonFits(Main().Bmenu(), Dpi);
    const TBounds t = ChildBounds(shown), menu = ChildBounds(Main().Bmenu());
    EXPECT_GE(t.Left, menu.Left + menu.Width);
  }
}

TEST_F(TDpiLayout, SettingsDialogFollowsTheRuleAndFitsItsTexts) {
  Start();
  TFormSettings& settings = Settings();
  EXPECT_EQ(ToString(ClientSize(settings.Handle())),
            ToString({0, 0, S(TFormSettings::kClientWidth), S(TFormSettings::kClientHeight)}));
  EXPECT_EQ(ToString(ChildBounds(settings.ButtonOK())), ToString(S(TBounds{331, 13, 75, 25})));
  EXPECT_EQ(ToString(ChildBounds(settings.ButtonCancel())), ToString(S(TBounds{248, 13, 75, 25})));
  EXPECT_EQ(ToString(ChildBounds(settings.ButtonDefaultSettings())), ToString(S(TBounds{12, 13, 105, 25})));
  EXPECT_EQ(ToString(ChildBounds(settings.CheckBoxStayOnTop())), ToString(S(TBounds{12, 124, 170, 17})));
  EXPECT_EQ(ToString(ChildBounds(settings.BottomPanel())),
            ToString(S(TBounds{0, TFormSettings::kClientHeight - TFormSettings::kBottomStripHeight,
                               TFormSettings::kClientWidth, TFormSettings::kBottomStripHeight})));
  EXPECT_EQ(ToString(ChildBounds(settings.ButtonPractice())), ToString(S(TBounds{145, 13, 75, 25})));
  for (HWND button : {settings.ButtonOK(), settings.ButtonCancel(), settings.ButtonDefaultSettings(),
                      settings.ButtonPractice()})
    ExpectButtonFits(button, Dpi);
  for (HWND box : {settings.CheckBoxStayOnTop(), settings.ChEnableSounds()}) ExpectCheckBoxFits(box, Dpi);
  // Every label (texts and figures) holds its text on one line.
  for (HWND child = GetWindow(settings.Handle(), GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (std::wstring(cls) == L"Static" && !TextOf(child).empty()) ExpectLabelFits(child);
  }
  // Centred first, then, from its second showing on, the bar's width plus
  // ten scaled pixels right of the window's left edge.
  ShowWindow(Main().Handle(), SW_SHOWNA);
  const TBounds self = WindowBounds(settings.Handle());
  const TBounds owner = WindowBounds(Main().Handle());
  EXPECT_EQ(ToString(ShowAndClose(settings)),
            ToString(CentreOn(owner, self.Width, self.Height)));
  EXPECT_EQ(ShowAndClose(settings).Left, owner.Left + Main().BarWidth() + S(10));
}

// Every label, check box and push button among window's children (and
// theirs) holds its text.
void ExpectChildrenFit(HWND window, int dpi) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    const std::wstring kind = cls;
    const LONG type = GetWindowLongW(child, GWL_STYLE) & BS_TYPEMASK;
    if (kind == L"Static" && !TextOf(child).empty()) ExpectLabelFits(child);
    if (kind == L"Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)) ExpectCheckBoxFits(child, dpi);
    if (kind == L"Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)) ExpectButtonFits(child, dpi);
    ExpectChildrenFit(child, dpi);
  }
}

// After a move to a monitor of another scale the dialog has exactly the
// scaled client area at the suggested top-left, and its texts, measured again
// in the new font, still fit.
TEST_F(TDpiLayout, SettingsTextsFitAfterADpiChange) {
  Start();
  HWND s = Settings().ButtonOK() ? Settings().Handle() : nullptr;
  for (int to : {120, 144, 192}) {
    SCOPED_TRACE(to);
    const TBounds at = WindowBounds(s);
    RECT r{at.Left + 7, at.Top + 5, at.Left + 7 + at.Width * to / Dpi, at.Top + 5 + at.Height * to / Dpi};
    SendMessageW(s, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&r));
    const TBounds b = WindowBounds(s), client = ClientSize(s);
    EXPECT_EQ(ToString({b.Left, b.Top, client.Width, client.Height}),
              ToString({r.left, r.top, ScaleToDpi(TFormSettings::kClientWidth, to),
                        ScaleToDpi(TFormSettings::kClientHeight, to)}));
    ExpectChildrenFit(s, to);
  }
}

// Each text with letters beyond ASCII (the side menu's note) has a glyph for
// each in the face its control draws with, the windows' own.
void ExpectOneFaceForEveryLetter(HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    ExpectOneFaceForEveryLetter(child);
    std::wstring letters;
    for (wchar_t c : TextOf(child)) letters += c >= 0x80 ? std::wstring(1, c) : L"";
    if (letters.empty()) continue;
    TUniqueMemDc dc(CreateCompatibleDC(nullptr));
    TScopedSelect font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    std::vector<WORD> glyphs(letters.size());
    GetGlyphIndicesW(dc.get(), letters.c_str(), static_cast<int>(letters.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc.get(), LF_FACESIZE, face);
    EXPECT_EQ(std::count(glyphs.begin(), glyphs.end(), 0xFFFF), 0) << Narrow(TextOf(child));
    EXPECT_STREQ(face, L"MS Sans Serif") << Narrow(TextOf(child));
  }
}

TEST_F(TDpiLayout, PolishLettersComeFromTheFaceTheirTextIsDrawnIn) {
  Start();
  ExpectOneFaceForEveryLetter(Main().Handle());
  ExpectOneFaceForEveryLetter(About().Memo1() ? About().Handle() : nullptr);
}

TEST_F(TDpiLayout, PracticeWindowFollowsTheRuleAndFitsItsTexts) {
  Start();
  TLater::After(60, [this] { Settings().FormPractice()->CloseClick(); });
  Settings().ButtonPracticeClick();
  TFormPractice* practice = Settings().FormPractice();
  ASSERT_NE(practice, nullptr);
  EXPECT_EQ(ToString(ClientSize(practice->Handle())),
            ToString({0, 0, S(TFormPractice::kClientWidth), S(TFormPractice::kClientHeight)}));
  ExpectChildrenFit(practice->Handle(), Dpi);
}

TEST_F(TDpiLayout, AboutAndHelpWindowsFollowTheRuleAndFitTheirTexts) {
  Start();
  TFormAbout& about = About();
  EXPECT_EQ(ToString(ClientSize(about.Handle())),
            ToString({0, 0, S(TFormAbout::kClientWidth), S(TFormAbout::kClientHeight)}));
  EXPECT_EQ(ToString(ChildBounds(about.Button1())), ToString(S(TBounds{110, 330, 75, 25})));
  EXPECT_EQ(ToString(ChildBounds(about.Memo1())), ToString(S(TBounds{44, 88, 207, 125})));
  ExpectButtonFits(about.Button1(), Dpi);
  ExpectMemoFits(about.Memo1(), 9);
  ExpectMemoFits(about.Memo2(), 1);
  about.FormCreate();
  ExpectLabelFits(about.Label1());
  ExpectLabelFits(about.Label2());
  const SIZE link = TextExtent(about.LinkLabel1(), TextOf(about.LinkLabel1()));
  EXPECT_LE(link.cx, ChildBounds(about.LinkLabel1()).Width);

  TFormInstruction& help = Instruction();
  const TBounds helpClient = ClientSize(help.Handle());
  const int32_t frame = S(TFormInstruction::kBorderWidth);
  EXPECT_EQ(helpClient.Width, S(TFormInstruction::kClientWidth + 2 * TFormInstruction::kBorderWidth) - 2 * frame);
  EXPECT_EQ(helpClient.Height, S(TFormInstruction::kClientHeight + 2 * TFormInstruction::kBorderWidth) - 2 * frame);
  EXPECT_EQ(ToString(ChildBounds(help.RichEdit1())), ToString(helpClient));
}

TEST_F(TDpiLayout, ADpiChangeReLaysTheMainWindowOutAndKeepsItsState) {
  StoreSettings(30, 60, 5, 5, false, true, false);
  Start();
  HWND main = Main().Handle();
  Clock.Now += 1500;
  Main().TimerBreatchTimer();
  Main().BmenuClick();  // folded
  const int32_t position = Main().AlBarOddech().GetPosition();
  const TBounds before = WindowBounds(main);
  const TBounds barBefore = ChildBounds(Main().AlBarOddech().Handle());

  const int other = Dpi == 144 ? 192 : 144;
  const TBounds suggested{before.Left, before.Top, before.Width * other / Dpi, before.Height * other / Dpi};
  RECT r{suggested.Left, suggested.Top, suggested.Left + suggested.Width, suggested.Top + suggested.Height};
  SendMessageW(main, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&r));
  EXPECT_EQ(Main().Dpi(), other);
  // The suggested rectangle, but never narrower than the window goes at the
  // new DPI (a folded window scaled by 144 / 120 rounds below it).
  TBounds taken = suggested;
  taken.Width = std::max(taken.Width, MainMinTrackWidth(other));
  EXPECT_EQ(ToString(WindowBounds(main)), ToString(taken));
  const TBounds client = ClientSize(main);
  const int32_t panel = ScaleToDpi(41, other);
  EXPECT_EQ(ToString(ChildBounds(Main().Panel1())), ToString({0, client.Height - panel, client.Width, panel}));
  EXPECT_EQ(ToString(ChildBounds(Main().AlBarOddech().Handle())),
            ToString({0, 0, client.Width, client.Height - panel}));
  EXPECT_EQ(ChildBounds(Main().Bmenu()).Width, ScaleToDpi(57, other));
  EXPECT_EQ(ChildBounds(Main().BSettings()).Width, ScaleToDpi(99, other));
  EXPECT_EQ(Main().AlBarOddech().GetBorderWidth(), ScaleToDpi(1, other));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(Main().Bmenu(), WM_GETFONT, 0, 0)), TForm::DefaultFont(other));
  // The pacer, the figures and the fold are as they were.
  EXPECT_EQ(Main().AlBarOddech().GetPosition(), position);
  EXPECT_FALSE(Main().PanelMenuVisible());
  EXPECT_EQ(TextOf(Main().Bmenu()), L"Menu >>");

  // And back: every pixel where it was.
  RECT back{before.Left, before.Top, before.Left + before.Width, before.Top + before.Height};
  SendMessageW(main, 0x02E0, MAKEWPARAM(Dpi, Dpi), reinterpret_cast<LPARAM>(&back));
  EXPECT_EQ(ToString(WindowBounds(main)), ToString(before));
  EXPECT_EQ(ToString(ChildBounds(Main().AlBarOddech().Handle())), ToString(barBefore));
  Main().BmenuClick();
  EXPECT_EQ(ToString(ChildBounds(Main().Bmenu())), ToString({BmenuLeft(before.Width + S(127), ClientSize(main).Width,
                                                                        true, S(127), S(57)),
                                                             S(8), S(57), S(25)}));
}

}  // namespace
}  // namespace lumeno::test
