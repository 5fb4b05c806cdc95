// The Practice window: opened from the settings dialog, its choices stored
// the moment they are made and shown again on the next opening.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "windows/LumenoPractice.h"
#include "windows/WindowsTestSupport.h"

namespace lumeno::test {
namespace {

class TPracticeWindow : public TLumenoFixture {
 protected:
  // Opens the Practice window from the settings dialog, runs action in it, closes both.
  void WhileOpen(std::function<void(TFormPractice&)> action) {
    TLater::After(40, [this, action] {
      TLater::After(40, [this, action] {
        TFormPractice& practice = *Settings().FormPractice();
        action(practice);
        practice.CloseClick();
      });
      SendMessageW(Settings().ButtonPractice(), BM_CLICK, 0, 0);
      PostMessageW(Settings().Handle(), WM_CLOSE, 0, 0);
    });
    Settings().ShowModal();
  }
  static std::wstring Selected(HWND list) {
    const LRESULT i = SendMessageW(list, CB_GETCURSEL, 0, 0);
    std::wstring text(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
    return text;
  }
  static void Choose(TFormPractice& p, int id, int index) {
    HWND list = p.Control(id);
    SendMessageW(list, CB_SETCURSEL, index, 0);
    SendMessageW(p.Handle(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  }
};

TEST_F(TPracticeWindow, ChoicesAreStoredAtOnceAndShownOnTheNextOpening) {
  StoreSettings(30, 60, 5, 5, false, true, true);
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Session Minutes", Dword(7));
  Start();
  std::wstring first, entries;
  HWND owner = nullptr;
  WhileOpen([&](TFormPractice& p) {
    owner = GetWindow(p.Handle(), GW_OWNER);
    EXPECT_FALSE(IsWindowEnabled(Settings().Handle()));
    first = Selected(p.Control(IDC_SESSION));
    HWND list = p.Control(IDC_SESSION);
    for (LRESULT i = 0; i < SendMessageW(list, CB_GETCOUNT, 0, 0); ++i) {
      wchar_t text[32] = {};
      SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entries += std::wstring(text) + L"|";
    }
    Choose(p, IDC_SESSION, 5);  // after "No end", 3, 5, 7 (the stored one), 10
    EXPECT_EQ(Stored("Session Minutes"), Dword(15));
    EXPECT_EQ(Settings().Practice().SessionMinutes, 15);
    EXPECT_EQ(Main().Session().LengthMinutes(), 15);
    SendMessageW(p.Control(IDC_ENDBELL), BM_CLICK, 0, 0);
    EXPECT_EQ(Stored("End Bell"), Dword(0));
    Choose(p, IDC_COLOURS, 2);
    EXPECT_EQ(Stored("Colour Scheme"), Dword(2));
    EXPECT_EQ(Main().Colours().Name, std::string("Ocean"));
  });
  EXPECT_EQ(owner, Settings().Handle());
  EXPECT_EQ(first, L"7 minutes");
  EXPECT_EQ(entries,
            L"No end|3 minutes|5 minutes|7 minutes|10 minutes|15 minutes|20 minutes|30 minutes|45 minutes|60 minutes|");

  std::wstring again, colours;
  bool bell = true;
  WhileOpen([&](TFormPractice& p) {
    again = Selected(p.Control(IDC_SESSION));
    bell = SendMessageW(p.Control(IDC_ENDBELL), BM_GETCHECK, 0, 0) == BST_CHECKED;
    colours = Selected(p.Control(IDC_COLOURS));
  });
  EXPECT_EQ(again, L"15 minutes");
  EXPECT_EQ(colours, L"Ocean");
  EXPECT_FALSE(bell);
  // The seven settings' save writes the practice values with them.
  TFakeSeeder("Software\\Quorvale\\Lumeno").Put("Session Minutes", Dword(3));
  Settings().zapiszRejestr();
  EXPECT_EQ(Stored("Session Minutes"), Dword(15));
}

}  // namespace
}  // namespace lumeno::test
