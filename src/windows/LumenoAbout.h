// TFormAbout, the about window: the product name, the version read from the
// executable's version record at every showing, the legal notice, the credit
// line and the link to the maker's site. Created once, hidden, shown modally.
#pragma once

#include <windows.h>

#include <string>

#include "controls/LinkLabel_win.h"
#include "windows/Form.h"

namespace lumeno {

class TFormLumeno;

enum : int {
  IDC_ABOUT_LABEL1 = 400,
  IDC_ABOUT_LABEL2,
  IDC_ABOUT_BUTTON1,
  IDC_ABOUT_MEMO1,
  IDC_ABOUT_MEMO2,
  IDC_ABOUT_LINKLABEL1,
};

// The file version of the given executable as "major.minor  (Build: release.build)",
// or "" when it has no readable version record.
std::string pobierzWersje(const std::wstring& exePath);

class TFormAbout final : public TForm {
 public:
  static constexpr int kClientWidth = 292;
  static constexpr int kClientHeight = 366;

  // exePath: whose version the window shows; empty means the running executable.
  explicit TFormAbout(TFormLumeno& main, std::wstring exePath = {});
  ~TFormAbout() override { DestroyForm(); }

  // The window's show event: sets the version text.
  void FormCreate();
  void Button1Click();

  // The controls, created on first use.
  HWND Label1() { return Ensured(FLabel1); }
  HWND Label2() { return Ensured(FLabel2); }
  HWND Button1() { return Ensured(FButton1); }
  HWND Memo1() { return Ensured(FMemo1); }
  HWND Memo2() { return Ensured(FMemo2); }
  HWND LinkLabel1() {
    EnsureControls();
    return FLinkLabel1.Handle();
  }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormShow() override { FormCreate(); }
  // The link in the system's link colour while a high-contrast theme is on.
  void ColoursChanged() override;
  void CreateLateControls() override;
  void DpiChanged() override;

 private:
  // The title's and the version's fonts at the window's DPI.
  void MakeFonts();
  void SetLabelFonts();
  // The title label sized to its text, in design units.
  TBounds TitleBounds() const;

  std::wstring FExePath;
  HWND FLabel1 = nullptr;
  HWND FLabel2 = nullptr;
  HWND FButton1 = nullptr;
  HWND FMemo1 = nullptr;
  HWND FMemo2 = nullptr;
  TLinkLabel FLinkLabel1;
  TUniqueFont FTitleFont;
  TUniqueFont FVersionFont;
};

}  // namespace lumeno
