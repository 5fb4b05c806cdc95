#include "windows/LumenoPractice.h"

#include <commctrl.h>
#include <commdlg.h>

#include <array>
#include <string>

#include "base/SystemLibrary_win.h"
#include "windows/LumenoForm.h"
#include "windows/LumenoSettings.h"

namespace lumeno {

namespace {

constexpr wchar_t kClassName[] = L"TFormPractice";

using namespace practice_layout;

std::wstring SessionText(int minutes) {
  return minutes == 0 ? std::wstring(L"No end") : std::to_wstring(minutes) + L" minutes";
}

class TSessionSection final : public IPracticeSection {
 public:
  void Create(TFormPractice& form) override {
    FForm = &form;
    FList = form.AddListRow(L"Session:", IDC_SESSION_LABEL, IDC_SESSION, kSessionTop);
    FBell = form.AddRow(form.Handle(), {L"BUTTON", L"Bell at the end", BS_AUTOCHECKBOX | WS_TABSTOP, 0, kControlLeft,
                                        kBellTop, kControlWidth, kCheckHeight, IDC_ENDBELL});
  }

  void Show() override {
    const TPracticeSettings& practice = FForm->Settings().Practice();
    FillList(practice.SessionMinutes);
    SendMessageW(FBell, BM_SETCHECK, practice.EndBell ? BST_CHECKED : BST_UNCHECKED, 0);
  }

  bool Message(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    if (msg != WM_COMMAND) return false;
    TFormSettings& settings = FForm->Settings();
    if (LOWORD(wp) == IDC_SESSION && HIWORD(wp) == CBN_SELCHANGE) {
      const LRESULT index = SendMessageW(FList, CB_GETCURSEL, 0, 0);
      if (index == CB_ERR) return false;
      settings.Practice().SessionMinutes = static_cast<int32_t>(SendMessageW(FList, CB_GETITEMDATA, index, 0));
    } else if (LOWORD(wp) == IDC_ENDBELL && HIWORD(wp) == BN_CLICKED) {
      settings.Practice().EndBell = SendMessageW(FBell, BM_GETCHECK, 0, 0) == BST_CHECKED;
    } else {
      return false;
    }
    settings.PracticeChoiceMade();
    result = 0;
    return true;
  }

 private:
  // The offered lengths, and a stored length the list does not offer at its
  // place among them, so that what is in effect is what the list shows.
  void FillList(int32_t minutes) {
    SendMessageW(FList, CB_RESETCONTENT, 0, 0);
    bool placed = false;
    for (int choice : kSessionChoices) {
      if (!placed && minutes < choice) {
        AddEntry(minutes);
        placed = true;
      }
      AddEntry(choice);
      placed = placed || choice == minutes;
    }
    if (!placed) AddEntry(minutes);
    const LRESULT count = SendMessageW(FList, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
      if (static_cast<int32_t>(SendMessageW(FList, CB_GETITEMDATA, i, 0)) == minutes) {
        SendMessageW(FList, CB_SETCURSEL, i, 0);
        break;
      }
    }
  }

  void AddEntry(int32_t minutes) {
    const LRESULT i = SendMessageW(FList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(SessionText(minutes).c_str()));
    if (i >= 0) SendMessageW(FList, CB_SETITEMDATA, i, static_cast<LPARAM>(minutes));
  }

  TFormPractice* FForm = nullptr;
  HWND FList = nullptr;
  HWND FBell = nullptr;
};

}  // namespace

std::unique_ptr<IPracticeSection> MakeSessionSection() { return std::make_unique<TSessionSection>(); }

TFileAnswer AskForFile(HWND owner, bool save, const wchar_t* title, const wchar_t* filter, const wchar_t* extension,
                       std::wstring& path) {
  using TAsk = decltype(&GetOpenFileNameW);
  static const std::array<TAsk, 2> ask = [] {
    HMODULE comdlg = LoadSystemLibrary(L"comdlg32.dll");
    TAsk open = nullptr, saveAs = nullptr;
    ResolveProc(comdlg, "GetOpenFileNameW", open);
    ResolveProc(comdlg, "GetSaveFileNameW", saveAs);
    return std::array<TAsk, 2>{open, saveAs};
  }();
  if (!ask[save]) return TFileAnswer::NoDialog;
  // Room for the longest path the system allows.
  std::wstring buffer(32768, L'\0');
  path.copy(buffer.data(), buffer.size() - 1);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter;
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(buffer.size());
  ofn.lpstrTitle = title;
  ofn.lpstrDefExt = extension;
  ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR |
              (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
  if (!ask[save](&ofn)) return TFileAnswer::Cancelled;
  path = buffer.c_str();
  return TFileAnswer::Chosen;
}

TFormPractice::TFormPractice(TFormSettings& settings, TFormLumeno& main) : FSettings(settings), FMain(main) {
  CreateForm(DialogDesc(kClassName, L"Practice", kClientWidth, kClientHeight, settings.Handle(), WS_CLIPCHILDREN));
  // Reading order, which is also the Tab order.
  FSections.push_back(MakeSessionSection());
  FSections.push_back(MakeSoundsSection());
  FSections.push_back(MakeColoursSection());
  FSections.push_back(MakeHistorySection());
}

TFormPractice::~TFormPractice() {
  DestroyForm();
  FSections.clear();
}

HWND TFormPractice::AddListRow(const wchar_t* label, int labelId, int listId, int top) {
  // The label first: a screen reader names the list after the label before it.
  AddControl(FHandle, {L"STATIC", label, SS_LEFT | SS_NOPREFIX, 0, kLabelLeft, top + kLabelDrop, kLabelWidth,
                       kTextHeight, labelId});
  return AddControl(FHandle, {WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, kControlLeft, top,
                              kControlWidth, kListDroppedHeight, listId});
}

HWND TFormPractice::Control(int id) {
  EnsureControls();
  if (!FHandle) return nullptr;
  if (HWND child = GetDlgItem(FHandle, id)) return child;
  return FStrip ? GetDlgItem(FStrip, id) : nullptr;
}

void TFormPractice::CreateLateControls() {
  for (auto& section : FSections) section->Create(*this);
  AddControl(FHandle, {L"STATIC", L"", SS_ETCHEDVERT, 0, kDividerLeft, kDividerTop, 2, kDividerHeight,
                       IDC_PRACTICE_DIVIDER});
  // The strip last: Tab reaches "Close" after every choice.
  FStrip = AddControl(FHandle, {PanelClass(), L"", 0, WS_EX_CONTROLPARENT, 0, kClientHeight - kStripHeight,
                                kClientWidth, kStripHeight, IDC_PRACTICE_STRIP});
  FClose = AddControl(FStrip, {L"BUTTON", L"Close", BS_PUSHBUTTON | WS_TABSTOP, 0, kCloseLeft, kCloseTop,
                               kButtonWidth, kButtonHeight, IDC_PRACTICE_CLOSE});
}

void TFormPractice::FormShow() {
  for (auto& section : FSections) section->Show();
}

void TFormPractice::DpiChanged() {
  for (auto& section : FSections) section->DpiChanged();
}

void TFormPractice::CloseClick() { EndModal(mrOk); }

LRESULT TFormPractice::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = 0;
  for (auto& section : FSections) {
    if (section->Message(msg, wp, lp, result)) return result;
  }
  // "Close" and Escape (which the dialog manager sends as IDCANCEL) close the window.
  if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED && (LOWORD(wp) == IDC_PRACTICE_CLOSE || LOWORD(wp) == IDCANCEL)) {
    CloseClick();
    return 0;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace lumeno
