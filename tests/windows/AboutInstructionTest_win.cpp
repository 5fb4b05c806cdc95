// The about and instruction windows under Wine: layout, the version text from
// a version record (or its absence), placement on the first and later
// showings, the keys that close (or do not close) them, edits that last.
#include <windows.h>
#include <richedit.h>

#include <regex>

#include "base/ExecutablePath_win.h"
#include "windows/LumenoTexts.h"
#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

using TAboutWindow = TLumenoFixture;
using TInstructionWindow = TLumenoFixture;

// Shows a window modally and runs the action inside its loop; the action
// must close it (a safety close follows).
int ShowAndDo(TForm& form, std::function<void()> action, int delay = 60) {
  TLater::After(delay, std::move(action));
  TLater::After(delay + 1500, [&form] {
    if (IsWindowVisible(form.Handle())) PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
  });
  return form.ShowModal();
}

std::wstring SystemFile(const wchar_t* name) {
  wchar_t dir[MAX_PATH] = {};
  GetSystemDirectoryW(dir, MAX_PATH);
  return std::wstring(dir) + L"\\" + name;
}

TEST(PobierzWersje, FormatsTheFixedFileVersionOfARecord) {
  const std::string version = pobierzWersje(SystemFile(L"kernel32.dll"));
  EXPECT_TRUE(std::regex_match(version, std::regex(R"([0-9]+\.[0-9]+  \(Build: [0-9]+\.[0-9]+\))"))) << version;
}

TEST(PobierzWersje, IsEmptyWithoutARecord) {
  // This test program carries no version record.
  EXPECT_EQ(pobierzWersje(ExecutablePath()), "");
  EXPECT_EQ(pobierzWersje(L"Z:\\no\\such\\file.exe"), "");
  EXPECT_EQ(pobierzWersje(L""), "");
}

TEST_F(TAboutWindow, IsLaidOutAsDesigned) {
  Start();
  HWND about = About().Handle();
  EXPECT_EQ(TextOf(about), L"About");
  RECT client{};
  GetClientRect(about, &client);
  EXPECT_EQ(client.right, 292);
  EXPECT_EQ(client.bottom, 366);
  EXPECT_FALSE(GetWindowLongW(about, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_EQ(ToString(ChildBounds(About().Label1())), "74,48,147,13");
  EXPECT_EQ(ToString(ChildBounds(About().Memo1())), "44,88,207,125");
  EXPECT_EQ(ToString(ChildBounds(About().Memo2())), "44,270,207,17");
  EXPECT_EQ(ToString(ChildBounds(About().Button1())), "110,330,75,25");
  EXPECT_EQ(TextOf(About().Button1()), L"OK");
  const TBounds link = ChildBounds(About().LinkLabel1());
  EXPECT_EQ(link.Left, 104);
  EXPECT_EQ(link.Top, 288);
  EXPECT_EQ(TextOf(About().LinkLabel1()), kMakerHostW);
  // The title is centred where the design centres it, whatever the face's width.
  const TBounds title = ChildBounds(About().Label2());
  EXPECT_EQ(TextOf(About().Label2()), L"Lumeno");
  EXPECT_LE(std::abs(title.Left + title.Width / 2 - 147), 1);
  EXPECT_EQ(title.Top, 12);
  EXPECT_EQ(TextOf(About().Memo1()), LegalNoticeText());
  EXPECT_EQ(TextOf(About().Memo2()), std::wstring(kCreditLine));
  // Tab order: Button1, Memo1, Memo2.
  EXPECT_EQ(GetNextDlgTabItem(about, nullptr, FALSE), About().Button1());
  EXPECT_EQ(GetNextDlgTabItem(about, About().Button1(), FALSE), About().Memo1());
  EXPECT_EQ(GetNextDlgTabItem(about, About().Memo1(), FALSE), About().Memo2());
}

TEST_F(TAboutWindow, ShowsVerAloneWhenTheExecutableHasNoVersionRecord) {
  Start();
  EXPECT_EQ(ShowAndDo(About(), [&] { PostMessageW(About().Button1(), BM_CLICK, 0, 0); }), mrOk);
  EXPECT_EQ(TextOf(About().Label1()), L"ver. ");
}

TEST_F(TAboutWindow, GetsItsControlsWithTheFirstShowing) {
  Start();
  HWND about = About().Handle();
  EXPECT_EQ(GetWindow(about, GW_CHILD), nullptr);
  HWND first = nullptr;
  std::wstring version;
  ShowAndDo(About(), [&] {
    first = GetNextDlgTabItem(about, nullptr, FALSE);
    version = TextOf(GetDlgItem(about, IDC_ABOUT_LABEL1));
    PostMessageW(first, BM_CLICK, 0, 0);
  });
  EXPECT_EQ(first, About().Button1());
  EXPECT_EQ(version, L"ver. ");
}

TEST_F(TAboutWindow, RecomputesTheVersionAtEveryShowing) {
  Start();
  TFormAbout about(Main(), SystemFile(L"kernel32.dll"));
  SetWindowTextW(about.Label1(), L"stale");
  ShowAndDo(about, [&] { PostMessageW(about.Button1(), BM_CLICK, 0, 0); });
  const std::wstring text = TextOf(about.Label1());
  EXPECT_EQ(text, L"ver. " + Widen(pobierzWersje(SystemFile(L"kernel32.dll"))));
  EXPECT_GT(text.size(), 5u);
}

TEST_F(TAboutWindow, ShowsTheVersionOfLumenoExeItself) {
  Start();
  // lumeno.exe is built beside this test program.
  const std::wstring self = ExecutablePath();
  const std::wstring lumeno = self.substr(0, self.find_last_of(L"\\/") + 1) + L"lumeno.exe";
  ASSERT_NE(GetFileAttributesW(lumeno.c_str()), INVALID_FILE_ATTRIBUTES) << "build lumeno first";
  EXPECT_EQ(pobierzWersje(lumeno), "1.0  (Build: 1.2)");
  TFormAbout about(Main(), lumeno);
  ShowAndDo(about, [&] { PostMessageW(about.Button1(), BM_CLICK, 0, 0); });
  EXPECT_EQ(TextOf(about.Label1()), L"ver. 1.0  (Build: 1.2)");
}

TEST_F(TAboutWindow, EscapeLeavesItOpenWhileOkAndTheCloseButtonClose) {
  Start();
  bool openAfterEscape = false;
  ShowAndDo(About(), [&] {
    for (HWND target : {GetFocus(), About().Memo1()}) {
      SetFocus(target);
      PostMessageW(target, WM_KEYDOWN, VK_ESCAPE, 1);
      PostMessageW(target, WM_KEYUP, VK_ESCAPE, static_cast<LPARAM>(0xC0000001u));
    }
    TLater::After(150, [&] {
      openAfterEscape = IsWindowVisible(About().Handle()) != FALSE;
      PostMessageW(About().Handle(), WM_CLOSE, 0, 0);
    });
  });
  EXPECT_TRUE(openAfterEscape);
  EXPECT_FALSE(IsWindowVisible(About().Handle()));
  EXPECT_EQ(ShowAndDo(About(), [&] { PostMessageW(About().Handle(), WM_CLOSE, 0, 0); }), mrCancel);
}

TEST_F(TAboutWindow, CentresOnTheMainWindowOnceThenStaysWhereItWasLeft) {
  Start();
  HWND main = Main().Handle();
  ShowWindow(main, SW_SHOWNA);
  // Wider than the main window: at the screen's left edge it starts at 0.
  SetWindowPos(main, nullptr, 0, 100, 229, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  const TBounds self = WindowBounds(About().Handle());
  TBounds first{};
  ShowAndDo(About(), [&] {
    first = WindowBounds(About().Handle());
    SetWindowPos(About().Handle(), nullptr, 333, 44, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(About().Button1(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(first.Left, 0);
  EXPECT_EQ(first.Top, 100 + (480 - self.Height) / 2);
  SetWindowPos(main, nullptr, 500, 300, 229, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  TBounds second{};
  ShowAndDo(About(), [&] {
    second = WindowBounds(About().Handle());
    PostMessageW(About().Button1(), BM_CLICK, 0, 0);
  });
  EXPECT_EQ(second.Left, 333);
  EXPECT_EQ(second.Top, 44);
}

TEST_F(TAboutWindow, TypedTextLastsBetweenShowings) {
  Start();
  ShowAndDo(About(), [&] {
    SetWindowTextW(About().Memo2(), L"edited");
    PostMessageW(About().Button1(), BM_CLICK, 0, 0);
  });
  ShowAndDo(About(), [&] { PostMessageW(About().Button1(), BM_CLICK, 0, 0); });
  EXPECT_EQ(TextOf(About().Memo2()), L"edited");
  EXPECT_FALSE(GetWindowLongW(About().Memo1(), GWL_STYLE) & ES_READONLY);
}

TEST_F(TAboutWindow, TypingRepaintsTheNoticeBoxesWithNoOldGlyphsLeft) {
  Start();
  ShowAndDo(About(), [&] {
    for (HWND memo : {About().Memo1(), About().Memo2()}) {
      std::vector<COLORREF> fresh;
      const std::vector<COLORREF> typed = TypeAndCompare(memo, 2, L"\u015bli ch", fresh);
      EXPECT_TRUE(typed == fresh) << "memo " << GetDlgCtrlID(memo);
    }
    PostMessageW(About().Button1(), BM_CLICK, 0, 0);
  });
}

TEST_F(TInstructionWindow, FramesTheHelpTextInItsBorder) {
  Start();
  HWND window = Instruction().Handle();
  EXPECT_EQ(TextOf(window), L"How to use?");
  RECT client{};
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 379);
  EXPECT_EQ(client.bottom, 268);
  // The client area sits 21 pixels inside the frame the system draws.
  RECT outer{0, 0, 0, 0};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  const TBounds w = WindowBounds(window);
  EXPECT_EQ(origin.x - w.Left, -outer.left + 21);
  EXPECT_EQ(w.Left + w.Width - (origin.x + 379), outer.right + 21);
  EXPECT_EQ(w.Top + w.Height - (origin.y + 268), outer.bottom + 21);

  HWND rich = Instruction().RichEdit1();
  ASSERT_NE(rich, nullptr);
  wchar_t cls[32] = {};
  GetClassNameW(rich, cls, 32);
  EXPECT_TRUE(lstrcmpiW(cls, L"RICHEDIT50W") == 0 || lstrcmpiW(cls, L"RichEdit20W") == 0) << Narrow(cls);
  EXPECT_EQ(ToString(ChildBounds(rich)), "0,0,379,268");
  EXPECT_FALSE(GetWindowLongW(rich, GWL_STYLE) & (ES_READONLY | WS_BORDER | WS_HSCROLL));
  EXPECT_EQ(GetNextDlgTabItem(window, nullptr, FALSE), rich);
}

TEST_F(TInstructionWindow, GetsItsHelpTextWithTheFirstShowing) {
  Start();
  HWND window = Instruction().Handle();
  EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
  HWND child = nullptr;
  std::wstring text;
  ShowAndDo(Instruction(), [&] {
    child = GetWindow(window, GW_CHILD);
    text = TextOf(child);
    PostMessageW(window, WM_CLOSE, 0, 0);
  });
  ASSERT_NE(child, nullptr);
  EXPECT_EQ(child, Instruction().RichEdit1());
  EXPECT_EQ(ToString(ChildBounds(child)), "0,0,379,268");
  EXPECT_NE(text.find(L"INSTRUKCJA"), std::wstring::npos);
}

TEST_F(TInstructionWindow, ShowsTheHelpTextInMsSerifOfCentralEurope) {
  Start();
  HWND rich = Instruction().RichEdit1();
  const std::wstring text = TextOf(rich);
  EXPECT_NE(text.find(L"ODDYCHANIE - FIZJOLOGIA"), std::wstring::npos);
  EXPECT_NE(text.find(L"INSTRUKCJA"), std::wstring::npos);
  CHARFORMAT2W cf{};
  cf.cbSize = sizeof cf;
  SendMessageW(rich, EM_SETSEL, 10, 20);
  SendMessageW(rich, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&cf));
  EXPECT_STREQ(cf.szFaceName, L"MS Serif");
  EXPECT_EQ(cf.bCharSet, EASTEUROPE_CHARSET);
  EXPECT_EQ(cf.yHeight, 240);
  EXPECT_FALSE(cf.dwEffects & (CFE_BOLD | CFE_ITALIC | CFE_UNDERLINE));
}

TEST_F(TInstructionWindow, ClosesFromTheCaptionAndKeepsEditsAndItsPlace) {
  Start();
  HWND main = Main().Handle();
  ShowWindow(main, SW_SHOWNA);
  SetWindowPos(main, nullptr, 400, 100, 229, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  const TBounds self = WindowBounds(Instruction().Handle());
  TBounds first{};
  EXPECT_EQ(ShowAndDo(Instruction(), [&] {
              first = WindowBounds(Instruction().Handle());
              SetWindowTextW(Instruction().RichEdit1(), L"mine");
              PostMessageW(Instruction().Handle(), WM_CLOSE, 0, 0);
            }),
            mrCancel);
  EXPECT_EQ(first.Left, 400 + (229 - self.Width) / 2);
  EXPECT_EQ(first.Top, 100 + (480 - self.Height) / 2);
  TBounds second{};
  SetWindowPos(main, nullptr, 10, 10, 229, 480, SWP_NOZORDER | SWP_NOACTIVATE);
  ShowAndDo(Instruction(), [&] {
    second = WindowBounds(Instruction().Handle());
    PostMessageW(Instruction().Handle(), WM_CLOSE, 0, 0);
  });
  EXPECT_EQ(second.Left, first.Left);
  EXPECT_EQ(TextOf(Instruction().RichEdit1()), L"mine");
}

}  // namespace
}  // namespace lumeno::test
