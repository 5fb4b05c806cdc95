#include "windows/LumenoSettings.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "persistence/Registry_win.h"
#include "windows/LumenoForm.h"

namespace lumeno {

namespace {

constexpr wchar_t kClassName[] = L"TFormSettings";
constexpr int kStaticId = -1;
constexpr int kTextHeight = 13;
constexpr int kFigureWidth = 25;
constexpr int kUpDownWidth = 17;
constexpr int kUpDownHeight = 25;

struct TRow {
  const wchar_t* Before;
  int Figure;
  int UpDown;
  const wchar_t* After;
};

constexpr TRow kLeftRows[] = {
    {L"Cycle duration is ", IDC_DURATION, IDC_UDURATION, L"seconds."},
    {L"It is ", IDC_BPM, IDC_UBPM, L"breaths per minute."},
};
constexpr TRow kRightRows[] = {
    {L"Breath in for ", IDC_BREATHIN, IDC_UBREATHIN, L"seconds."},
    {L"Hold in for ", IDC_HOLDIN, IDC_UHOLDIN, L"seconds."},
    {L"Breath out for ", IDC_BREATHOUT, IDC_UBREATHOUT, L"seconds."},
    {L"Hold out for ", IDC_HOLDOUT, IDC_UHOLDOUT, L"seconds."},
};

// Text extents in the dialog's font, for labels sized to their text.
class TTextMeasure {
 public:
  explicit TTextMeasure(HFONT font) : FDc(nullptr), FSelect(FDc.get(), font) {}
  int Width(const wchar_t* text) const {
    SIZE size{};
    if (FDc) GetTextExtentPoint32W(FDc.get(), text, static_cast<int>(wcslen(text)), &size);
    return size.cx;
  }

 private:
  TScopedGetDc FDc;
  TScopedSelect FSelect;
};

}  // namespace

TFormSettings::TFormSettings(TFormLumeno& main, TRegistryFactory makeRegistry)
    : FMain(main), FMakeRegistry(makeRegistry ? makeRegistry : MakeWin32Registry) {
  CreateForm(DialogDesc(kClassName, L"Settings", kClientWidth, kClientHeight, main.Handle(), WS_CLIPCHILDREN));
  ReadDecimalSeparator();
  FormCreate();
}

TFormSettings::~TFormSettings() {
  // The pacer must not read a pattern that is gone.
  FMain.Pacer().SetPatternSource(nullptr);
  DestroyForm();
}

HWND TFormSettings::Control(int id) {
  EnsureControls();
  return FHandle ? GetDlgItem(FHandle, id) : nullptr;
}

void TFormSettings::CreateLateControls() {
  TTextMeasure measure(Font());
  // A label's design width: its text measured in the window's font.
  auto textWidth = [&](const wchar_t* text) { return DesignOf(measure.Width(text)); };

  // The bottom strip comes first so that OK is the first tab stop.
  FBottomPanel = AddControl(FHandle, {PanelClass(), L"", 0, WS_EX_CONTROLPARENT, 0, kClientHeight - kBottomStripHeight,
                                      kClientWidth, kBottomStripHeight, IDC_BOTTOMPANEL});
  FOK = AddControl(FBottomPanel, {L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP, 0, 331, 13, 75, 25, IDC_OK});
  FCancel = AddControl(FBottomPanel, {L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, 248, 13, 75, 25, IDC_CANCEL});
  FButtonDefaultSettings = AddControl(FBottomPanel, {L"BUTTON", L"Default settings", BS_PUSHBUTTON | WS_TABSTOP, 0,
                                                     12, 13, 105, 25, IDC_DEFAULTSETTINGS});

  int figure = 0;
  // One row: text, value label, arrows, unit. With a figure column given the
  // value labels line up there, otherwise each follows its own text.
  auto addRow = [&](const TRow& row, int x, int y, int figureX) {
    const int before = textWidth(row.Before);
    AddControl(FHandle, {L"STATIC", row.Before, SS_LEFT | SS_NOPREFIX, 0, x, y, before, kTextHeight, kStaticId});
    const int fx = figureX > 0 ? figureX : x + before;
    HWND value = AddControl(FHandle, {L"STATIC", L"00.0", SS_CENTER | SS_NOPREFIX, 0, fx, y, kFigureWidth,
                                      kTextHeight, row.Figure});
    if (figure < 6) FFigures[figure++] = value;
    const int ux = fx + kFigureWidth + 2;
    HWND ud = AddControl(FHandle, {UPDOWN_CLASSW, L"", 0, 0, ux, y - 6, kUpDownWidth, kUpDownHeight, row.UpDown});
    SendMessageW(ud, UDM_SETRANGE32, static_cast<WPARAM>(kUpDownMin), static_cast<LPARAM>(kUpDownMax));
    SendMessageW(ud, UDM_SETPOS32, 0, 0);
    // One step per press, however long the arrow is held.
    UDACCEL accel{0, 1};
    SendMessageW(ud, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    const int ax = ux + kUpDownWidth + 4;
    AddControl(FHandle, {L"STATIC", row.After, SS_LEFT | SS_NOPREFIX, 0, ax, y, textWidth(row.After),
                         kTextHeight, kStaticId});
  };

  // Left column: cycle and rate, a line, the two check boxes.
  addRow(kLeftRows[0], 12, 30, 0);
  addRow(kLeftRows[1], 12, 70, 0);
  AddControl(FHandle, {L"STATIC", L"", SS_ETCHEDHORZ, 0, 12, 106, 184, 2, kStaticId});
  FCheckBoxStayOnTop = AddControl(FHandle, {L"BUTTON", L"stay on top", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 12, 124, 170,
                                            17, IDC_STAYONTOP});
  FChEnableSounds = AddControl(FHandle, {L"BUTTON", L"enable sounds", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 12, 150, 170,
                                         17, IDC_ENABLESOUNDS});

  AddControl(FHandle, {L"STATIC", L"", SS_ETCHEDVERT, 0, 208, 12, 2, 210, kStaticId});

  // Right column: the four phases, figures lined up.
  int widest = 0;
  for (const TRow& row : kRightRows) widest = std::max(widest, textWidth(row.Before));
  int y = 30;
  for (const TRow& row : kRightRows) {
    addRow(row, 222, y, 222 + widest);
    y += 44;
  }
  SetStayOnTopChecked(FStayOnTopChecked);
  SetSoundsChecked(FSoundsChecked);
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::ReadDecimalSeparator() {
  wchar_t buffer[8] = {};
  std::string separator;
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8) > 0) separator = Narrow(buffer);
  FDecimalSeparator = separator.empty() ? "." : separator;
}

void TFormSettings::FormCreate() {
  wczytajRejestr();
  TBreathingPacer& pacer = FMain.Pacer();
  pacer.SetPatternSource(this);
  pacer.Start();
}

void TFormSettings::wczytajRejestr() {
  std::unique_ptr<IRegistry> registry = FMakeRegistry();
  if (registry) lumeno::wczytajRejestr(*registry, *this);
}

void TFormSettings::zapiszRejestr() {
  std::unique_ptr<IRegistry> registry = FMakeRegistry();
  if (registry) lumeno::zapiszRejestr(*registry, *this);
}

void TFormSettings::przeliczCykl() {
  FPattern.przeliczCykl();
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::aktualizujWyswietlaneCyfry() {
  const int32_t values[6] = {FPattern.FCycle,   FPattern.FBpm,      FPattern.FBreathIn,
                             FPattern.FHoldIn, FPattern.FBreathOut, FPattern.FHoldOut};
  for (int i = 0; i < 6; ++i) {
    if (FFigures[i]) SetWindowTextW(FFigures[i], Widen(FormatTenths(values[i], FDecimalSeparator)).c_str());
  }
}

void TFormSettings::UBreathInClick(TStep step) {
  FPattern.StepBreathIn(step);
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::UHoldInClick(TStep step) {
  FPattern.StepHoldIn(step);
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::UBreathOutClick(TStep step) {
  FPattern.StepBreathOut(step);
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::UHoldOutClick(TStep step) {
  FPattern.StepHoldOut(step);
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::UDurationClick(TStep step) {
  FPattern.StepCycle(step);
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::UBpmClick(TStep step) {
  FPattern.StepBpm(step);
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::ButtonDefaultSettingsClick() {
  FPattern.FBreathIn = 30;
  FPattern.FHoldIn = 5;
  FPattern.FHoldOut = 5;
  FPattern.FBreathOut = 60;
  przeliczCykl();
  zapiszRejestr();
}

void TFormSettings::OKClick() {
  zapiszRejestr();
  Finish(mrOk);
}

void TFormSettings::CancelClick() {
  wczytajRejestr();
  Finish(mrCancel);
}

void TFormSettings::Finish(int result) {
  if (IsModal()) {
    SetModalResult(result);
  } else if (FHandle) {
    ShowWindow(FHandle, SW_HIDE);
  }
}

bool TFormSettings::StayOnTopChecked() const {
  if (!FCheckBoxStayOnTop) return FStayOnTopChecked;
  return SendMessageW(FCheckBoxStayOnTop, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TFormSettings::SetStayOnTopChecked(bool checked) {
  FStayOnTopChecked = checked;
  if (FCheckBoxStayOnTop) SendMessageW(FCheckBoxStayOnTop, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TFormSettings::zmianaStayOnTop() { FMain.SetStayOnTop(StayOnTopChecked()); }

bool TFormSettings::MenuVisible() const { return FMain.PanelMenuVisible(); }

void TFormSettings::SetMenuVisible(bool visible) { FMain.SetPanelMenuVisible(visible); }

bool TFormSettings::SoundsChecked() const {
  if (!FChEnableSounds) return FSoundsChecked;
  return SendMessageW(FChEnableSounds, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TFormSettings::SetSoundsChecked(bool checked) {
  FSoundsChecked = checked;
  if (FChEnableSounds) SendMessageW(FChEnableSounds, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TFormSettings::FormShow() {
  SetLeft(SettingsLeft(FMain.Bounds().Left, FMain.BarWidth(), FMain.Dpi()));
}

bool TFormSettings::UpDownPressed(const NMUPDOWN& nm) {
  // The counter moves only while it stays inside its range; a press at the
  // end of the range changes nothing and is not reported.
  if (nm.iDelta == 0) return false;
  const int64_t next = int64_t{nm.iPos} + nm.iDelta;
  return next >= kUpDownMin && next <= kUpDownMax;
}

LRESULT TFormSettings::WndProc(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
      if (hdr && hdr->code == UDN_DELTAPOS) {
        const auto* nm = reinterpret_cast<const NMUPDOWN*>(lp);
        if (UpDownPressed(*nm)) {
          const TStep step = nm->iDelta > 0 ? TStep::Up : TStep::Down;
          switch (static_cast<int>(hdr->idFrom)) {
            case IDC_UBREATHIN: UBreathInClick(step); break;
            case IDC_UHOLDIN: UHoldInClick(step); break;
            case IDC_UBREATHOUT: UBreathOutClick(step); break;
            case IDC_UHOLDOUT: UHoldOutClick(step); break;
            case IDC_UDURATION: UDurationClick(step); break;
            case IDC_UBPM: UBpmClick(step); break;
            default: break;
          }
        }
        return 0;
      }
      break;
    }
    case WM_COMMAND:
      if (HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case IDC_OK: OKClick(); return 0;
          case IDC_CANCEL: CancelClick(); return 0;
          case IDC_DEFAULTSETTINGS: ButtonDefaultSettingsClick(); return 0;
          default: break;
        }
      }
      break;
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lp);
      if (std::find(std::begin(FFigures), std::end(FFigures), control) != std::end(FFigures)) {
        HDC dc = reinterpret_cast<HDC>(wp);
        SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_HIGHLIGHTTEXT));
      }
      break;
    }
    case WM_SETTINGCHANGE: {
      const std::string before = FDecimalSeparator;
      ReadDecimalSeparator();
      if (FDecimalSeparator != before) aktualizujWyswietlaneCyfry();
      break;
    }
    default:
      break;
  }
  return DefaultProc(msg, wp, lp);
}

}  // namespace lumeno
