// The Practice window's "Colours:" row: the main window's colour scheme,
// stored and applied the moment it is chosen.
#include "windows/LumenoPractice.h"

#include <commctrl.h>

#include <string>

#include "controls/ColourSchemes.h"
#include "windows/LumenoSettings.h"

namespace lumeno {

namespace {

class TColoursSection final : public IPracticeSection {
 public:
  void Create(TFormPractice& form) override {
    FForm = &form;
    FList = form.AddListRow(L"Colours:", IDC_COLOURS_LABEL, IDC_COLOURS, practice_layout::kColoursTop);
    // In the schemes' order, so an entry's index is the scheme's number.
    for (int i = 0; i < kColourSchemeCount; ++i) {
      const std::wstring name = Widen(ColourScheme(static_cast<TColourSchemeId>(i)).Name);
      SendMessageW(FList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
  }

  void Show() override {
    SendMessageW(FList, CB_SETCURSEL, static_cast<WPARAM>(FForm->Settings().Practice().Colours), 0);
  }

  bool Message(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    if (msg != WM_COMMAND || LOWORD(wp) != IDC_COLOURS || HIWORD(wp) != CBN_SELCHANGE) return false;
    const LRESULT index = SendMessageW(FList, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return false;
    TFormSettings& settings = FForm->Settings();
    settings.Practice().Colours = ColourSchemeFromStored(static_cast<int32_t>(index));
    settings.PracticeChoiceMade();
    result = 0;
    return true;
  }

 private:
  TFormPractice* FForm = nullptr;
  HWND FList = nullptr;
};

}  // namespace

std::unique_ptr<IPracticeSection> MakeColoursSection() { return std::make_unique<TColoursSection>(); }

}  // namespace lumeno
