#include "windows/LumenoSettings.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <iterator>

#include "exercise/BreathingPresets.h"
#include "exercise/WaveFile_win.h"
#include "persistence/Registry_win.h"
#include "windows/KeyboardUpDown.h"
#include "windows/LumenoForm.h"
#include "windows/LumenoLook.h"
#include "windows/LumenoPractice.h"

namespace lumeno {

namespace {

constexpr wchar_t kClassName[] = L"TFormSettings";
constexpr int kStaticId = -1;
constexpr int kTextHeight = 13;
constexpr int kFigureWidth = 25;
constexpr int kUpDownWidth = 17;
constexpr int kUpDownHeight = 25;

constexpr int kPatternTop = 180;
constexpr int kComboTop = 196;
constexpr int kColumnWidth = 184;
// The closed list is as high as its font makes it; this leaves room for the
// entries when it drops down.
constexpr int kComboDroppedHeight = 150;

struct TRow {
  const wchar_t* Before;
  int Figure;
  int UpDown;
  const wchar_t* After;
  // Where the row's pause falls or how its arrows split the cycle; none for
  // the two breathing rows.
  const wchar_t* Tip;
};

constexpr TRow kLeftRows[] = {
    {L"Cycle duration is ", IDC_DURATION, IDC_UDURATION, L"seconds.",
     L"Changing the cycle splits it: 60% breathing out, 5% for each pause, the rest breathing in."},
    {L"It is ", IDC_BPM, IDC_UBPM, L"breaths per minute.",
     L"Changing the rate splits the cycle it gives: 60% breathing out, 5% for each pause, "
     L"the rest breathing in."},
};
constexpr TRow kRightRows[] = {
    {L"Breath in for ", IDC_BREATHIN, IDC_UBREATHIN, L"seconds.", nullptr},
    {L"Hold in for ", IDC_HOLDIN, IDC_UHOLDIN, L"seconds.",
     L"The pause with empty lungs: after breathing out, before breathing in."},
    {L"Breath out for ", IDC_BREATHOUT, IDC_UBREATHOUT, L"seconds.", nullptr},
    {L"Hold out for ", IDC_HOLDOUT, IDC_UHOLDOUT, L"seconds.",
     L"The pause with full lungs: after breathing in, before breathing out."},
};
constexpr wchar_t kPatternTip[] = L"Sets all four phases; OK saves them.";
constexpr wchar_t kPatternLabel[] = L"Pattern:";

// The six rows in the order they are made: where each starts, and whether its
// figure lines up in the right column's figure column.
struct TRowSpot {
  const TRow& Row;
  int X, Y;
  bool Aligned;
};
const TRowSpot kRowSpots[] = {{kLeftRows[0], 12, 30, false},   {kLeftRows[1], 12, 70, false},
                              {kRightRows[0], 222, 30, true},  {kRightRows[1], 222, 74, true},
                              {kRightRows[2], 222, 118, true}, {kRightRows[3], 222, 162, true}};
static_assert(std::size(kRowSpots) == TFormSettings::kRowCount);
// A row's controls: text, figure, arrows, unit.
constexpr size_t kFigureOfRow = 1;

// A tool of the dialog's tooltip: a window of its own (TTF_IDISHWND, id the
// window) or a rectangle of the dialog, placed later (id of our choosing).
void AddTool(HWND toolTip, HWND dialog, UINT flags, UINT_PTR id, const wchar_t* text) {
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = flags;
  tool.hwnd = dialog;
  tool.uId = id;
  tool.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(toolTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// A row's text as a screen reader's name or unit: no trailing blanks or full stop.
std::wstring Trimmed(const wchar_t* text) {
  std::wstring s(text);
  while (!s.empty() && (s.back() == L' ' || s.back() == L'.')) s.pop_back();
  return s;
}

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

std::array<TFormSettings::TRowPlaces, TFormSettings::kRowCount> TFormSettings::RowPlaces(int& patternLabelWidth) const {
  TTextMeasure measure(Font());
  // A label's design width: its text measured in the window's font.
  auto textWidth = [&](const wchar_t* text) { return DesignOf(measure.Width(text)); };
  patternLabelWidth = textWidth(kPatternLabel);
  int widest = 0;
  for (const TRow& row : kRightRows) widest = std::max(widest, textWidth(row.Before));
  std::array<TRowPlaces, kRowCount> places;
  for (size_t i = 0; i < places.size(); ++i) {
    // Text, value label, arrows, unit; unaligned, the figure follows its own text.
    const TRowSpot& spot = kRowSpots[i];
    const int before = textWidth(spot.Row.Before);
    const int fx = spot.X + (spot.Aligned ? widest : before);
    const int ux = fx + kFigureWidth + 2;
    places[i] = {{{spot.X, spot.Y, before, kTextHeight},
                  {fx, spot.Y, kFigureWidth, kTextHeight},
                  {ux, spot.Y - 6, kUpDownWidth, kUpDownHeight},
                  {ux + kUpDownWidth + 4, spot.Y, textWidth(spot.Row.After), kTextHeight}}};
  }
  return places;
}

void TFormSettings::DpiChanged() {
  // Text widths do not follow the DPI in step: the labels are measured again.
  if (FRowControls[0][0]) {
    int patternLabelWidth = 0;
    const auto places = RowPlaces(patternLabelWidth);
    for (size_t i = 0; i < places.size(); ++i)
      for (size_t c = 0; c < 4; ++c) MoveControl(FRowControls[i][c], places[i].Controls[c]);
    MoveControl(GetDlgItem(FHandle, IDC_PATTERNLABEL), {12, kPatternTop, patternLabelWidth, kTextHeight});
  }
  PlaceRowTips();
}

TFormSettings::TFormSettings(TFormLumeno& main, TRegistryFactory makeRegistry)
    : FMain(main), FMakeRegistry(makeRegistry ? makeRegistry : MakeWin32Registry) {
  CreateForm(DialogDesc(kClassName, L"Settings", kClientWidth, kClientHeight, main.Handle(), WS_CLIPCHILDREN));
  ReadDecimalSeparator();
  FormCreate();
}

TFormSettings::~TFormSettings() {
  // The Practice window is owned by this one's window: it goes first.
  FFormPractice.reset();
  // The pacer must not read a pattern that is gone.
  FMain.Pacer().SetPatternSource(nullptr);
  DestroyForm();
}

HWND TFormSettings::Control(int id) {
  EnsureControls();
  return FHandle ? GetDlgItem(FHandle, id) : nullptr;
}

void TFormSettings::CreateLateControls() {
  int patternLabelWidth = 0;
  const auto places = RowPlaces(patternLabelWidth);

  // The bottom strip comes first so that OK has the focus when the dialog
  // opens; Tab goes on through Cancel and "Default settings", the six pairs of
  // arrows in reading order, the check boxes and the pattern list, back to OK.
  FBottomPanel = AddControl(FHandle, {PanelClass(), L"", 0, WS_EX_CONTROLPARENT, 0, kClientHeight - kBottomStripHeight,
                                      kClientWidth, kBottomStripHeight, IDC_BOTTOMPANEL});
  FOK = AddControl(FBottomPanel, {L"BUTTON", L"OK", BS_PUSHBUTTON | WS_TABSTOP, 0, 331, 13, 75, 25, IDC_OK});
  FCancel = AddControl(FBottomPanel, {L"BUTTON", L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, 0, 248, 13, 75, 25, IDC_CANCEL});
  FButtonDefaultSettings = AddControl(FBottomPanel, {L"BUTTON", L"Default settings", BS_PUSHBUTTON | WS_TABSTOP, 0,
                                                     12, 13, 105, 25, IDC_DEFAULTSETTINGS});
  // In the strip's free space between "Default settings" and "Cancel", next
  // in the Tab order after "Default settings".
  FButtonPractice = AddControl(FBottomPanel, {L"BUTTON", L"Practice...", BS_PUSHBUTTON | WS_TABSTOP, 0, 145, 13, 75,
                                              25, IDC_PRACTICEBUTTON});

  // Tooltips show over an inactive window too: the pacer's window may hold the focus.
  FToolTip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, FHandle, nullptr,
                             GetModuleHandleW(nullptr), nullptr);

  // One row: text, value label, arrows, unit.
  auto addRow = [&](size_t i) {
    const TRow& row = kRowSpots[i].Row;
    const TRowPlaces& at = places[i];
    auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD style, size_t c, int id) {
      const TBounds& b = at.Controls[c];
      return FRowControls[i][c] = AddControl(FHandle, {cls, text, style, 0, b.Left, b.Top, b.Width, b.Height, id});
    };
    HWND text = add(L"STATIC", row.Before, SS_LEFT | SS_NOPREFIX, 0, kStaticId);
    HWND value = add(L"STATIC", L"00.0", SS_CENTER | SS_NOPREFIX, kFigureOfRow, row.Figure);
    HWND ud = add(UPDOWN_CLASSW, L"", UDS_ARROWKEYS | WS_TABSTOP, 2, row.UpDown);
    MakeKeyboardUpDown(ud, value, Trimmed(row.Before), Trimmed(row.After));
    SendMessageW(ud, UDM_SETRANGE32, static_cast<WPARAM>(kUpDownMin), static_cast<LPARAM>(kUpDownMax));
    SendMessageW(ud, UDM_SETPOS32, 0, 0);
    // One step per press, however long the arrow is held.
    UDACCEL accel{0, 1};
    SendMessageW(ud, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&accel));
    HWND after = add(L"STATIC", row.After, SS_LEFT | SS_NOPREFIX, 3, kStaticId);
    if (row.Tip) AddRowTip({text, value, ud, after}, row.Figure, row.Tip);
  };

  // Left column: cycle and rate, a line, the two check boxes.
  addRow(0);
  addRow(1);
  AddControl(FHandle, {L"STATIC", L"", SS_ETCHEDHORZ, 0, 12, 106, kColumnWidth, 2, kStaticId});
  FCheckBoxStayOnTop = AddControl(FHandle, {L"BUTTON", L"stay on top", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 12, 124, 170,
                                            17, IDC_STAYONTOP});
  FChEnableSounds = AddControl(FHandle, {L"BUTTON", L"enable sounds", BS_AUTOCHECKBOX | WS_TABSTOP, 0, 12, 150, 170,
                                         17, IDC_ENABLESOUNDS});
  // The ready-made patterns, next in the tab order after the check boxes.
  AddControl(FHandle, {L"STATIC", kPatternLabel, SS_LEFT | SS_NOPREFIX, 0, 12, kPatternTop, patternLabelWidth,
                       kTextHeight, IDC_PATTERNLABEL});
  FComboPattern = AddControl(FHandle, {WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0, 12,
                                       kComboTop, kColumnWidth, kComboDroppedHeight, IDC_PATTERN});
  for (int i = 0; i <= kCustomPreset; ++i)
    SendMessageW(FComboPattern, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(PresetName(i)).c_str()));
  if (FToolTip && FComboPattern)
    AddTool(FToolTip, FHandle, TTF_IDISHWND | TTF_SUBCLASS, reinterpret_cast<UINT_PTR>(FComboPattern), kPatternTip);

  AddControl(FHandle, {L"STATIC", L"", SS_ETCHEDVERT, 0, 208, 12, 2, 210, kStaticId});

  // Right column: the four phases, figures lined up.
  for (size_t i = 2; i < kRowCount; ++i) addRow(i);
  // The check boxes and the list follow the right column's arrows in the tab
  // order; nothing overlaps them, so only the order changes.
  HWND previous = GetDlgItem(FHandle, IDC_UHOLDOUT);
  for (HWND control : {FCheckBoxStayOnTop, FChEnableSounds, GetDlgItem(FHandle, IDC_PATTERNLABEL), FComboPattern}) {
    SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = control;
  }
  PlaceRowTips();
  SetStayOnTopChecked(FStayOnTopChecked);
  SetSoundsChecked(FSoundsChecked);
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::AddRowTip(const HWND (&controls)[4], int id, const wchar_t* tip) {
  if (!FToolTip || FRowTipCount >= static_cast<int>(std::size(FRowTips))) return;
  TRowTip& row = FRowTips[FRowTipCount++];
  std::copy(std::begin(controls), std::end(controls), row.Controls);
  row.Id = id;
  // The labels are transparent to the mouse, so over them the dialog gets it:
  // a rectangle on the dialog. The arrows are a window of their own.
  AddTool(FToolTip, FHandle, 0, static_cast<UINT_PTR>(id), tip);
  if (HWND arrows = controls[2])
    AddTool(FToolTip, FHandle, TTF_IDISHWND | TTF_SUBCLASS, reinterpret_cast<UINT_PTR>(arrows), tip);
}

void TFormSettings::PlaceRowTips() {
  if (!FToolTip) return;
  // Without a maximum a tip is one line however long; two thirds of the
  // dialog's width wraps the longest in two or three lines, and grows with
  // the dialog where a larger font or DPI makes it wider.
  RECT client{};
  if (GetClientRect(FHandle, &client) && client.right > 0)
    SendMessageW(FToolTip, TTM_SETMAXTIPWIDTH, 0, client.right * 2 / 3);
  for (int i = 0; i < FRowTipCount; ++i) {
    RECT area{};
    for (HWND control : FRowTips[i].Controls) {
      if (!control) continue;
      RECT r{};
      GetWindowRect(control, &r);
      MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&r), 2);
      UnionRect(&area, &area, &r);
    }
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = FHandle;
    tool.uId = static_cast<UINT_PTR>(FRowTips[i].Id);
    tool.rect = area;
    SendMessageW(FToolTip, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void TFormSettings::RelayToToolTip(UINT msg, WPARAM wp, LPARAM lp) {
  if (!FToolTip) return;
  // Read afresh, so the tools follow the rows wherever they are laid out.
  if (msg == WM_MOUSEMOVE) PlaceRowTips();
  MSG relayed{FHandle, msg, wp, lp, static_cast<DWORD>(GetMessageTime()), {}};
  const DWORD pos = GetMessagePos();
  relayed.pt = {static_cast<short>(LOWORD(pos)), static_cast<short>(HIWORD(pos))};
  SendMessageW(FToolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
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
  FMain.Session().Begin();
}

void TFormSettings::wczytajRejestr() {
  std::unique_ptr<IRegistry> registry = FMakeRegistry();
  if (!registry) return;
  lumeno::wczytajRejestr(*registry, *this);
  ReadPracticeSettings(*registry, FPractice);
  ApplyPracticeSettings();
}

void TFormSettings::zapiszRejestr() {
  std::unique_ptr<IRegistry> registry = FMakeRegistry();
  if (!registry) return;
  lumeno::zapiszRejestr(*registry, *this);
  WritePracticeSettings(*registry, FPractice);
}

void TFormSettings::PracticeChoiceMade() {
  if (std::unique_ptr<IRegistry> registry = FMakeRegistry()) WritePracticeSettings(*registry, FPractice);
  ApplyPracticeSettings();
}

void TFormSettings::ApplyPracticeSettings() {
  // Own files are read only when they are chosen: the built-in sets cost
  // start-up nothing.
  const bool own = FPractice.SoundSet == kOwnSoundFiles;
  auto playable = [own](const std::string& path) { return own && CanPlaySoundFile(path) ? path : std::string(); };
  FSounds = SoundsOf(FPractice.SoundSet, playable(FPractice.SoundInFile), playable(FPractice.SoundOutFile),
                     FPractice.PauseCue);
  FMain.ApplySession(FPractice.SessionMinutes, FPractice.EndBell);
  FMain.SetColourScheme(FPractice.Colours);
}

void TFormSettings::ButtonPracticeClick() {
  if (!FFormPractice) FFormPractice = std::make_unique<TFormPractice>(*this, FMain);
  FFormPractice->ShowModal();
}

void TFormSettings::przeliczCykl() {
  FPattern.przeliczCykl();
  aktualizujWyswietlaneCyfry();
}

void TFormSettings::aktualizujWyswietlaneCyfry() {
  const int32_t values[6] = {FPattern.FCycle,   FPattern.FBpm,      FPattern.FBreathIn,
                             FPattern.FHoldIn, FPattern.FBreathOut, FPattern.FHoldOut};
  for (int i = 0; i < 6; ++i) {
    if (HWND figure = FRowControls[i][kFigureOfRow])
      SetWindowTextW(figure, Widen(FormatTenths(values[i], FDecimalSeparator)).c_str());
  }
  // The list names the pattern the figures show, "Custom" when it is none of its entries.
  if (FComboPattern) SendMessageW(FComboPattern, CB_SETCURSEL, static_cast<WPARAM>(PresetIndexOf(FPattern)), 0);
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

void TFormSettings::ComboPatternChange() {
  const LRESULT index = FComboPattern ? SendMessageW(FComboPattern, CB_GETCURSEL, 0, 0) : CB_ERR;
  if (index == CB_ERR) return;
  const TBreathingPattern before = FPattern;
  if (ApplyPreset(FPattern, static_cast<int>(index))) {
    if (!FBeforePresets) FBeforePresets = before;
  } else if (FBeforePresets) {
    // "Custom": the user's own figures again.
    FPattern = *FBeforePresets;
  } else {
    // No preset chosen yet: "Custom" stays shown until the figures next change.
    return;
  }
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
  EndModal(mrOk);
}

void TFormSettings::CancelClick() {
  wczytajRejestr();
  EndModal(mrCancel);
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
  FBeforePresets.reset();
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
      if (HIWORD(wp) == CBN_SELCHANGE && LOWORD(wp) == IDC_PATTERN) {
        ComboPatternChange();
        return 0;
      }
      if (HIWORD(wp) == BN_CLICKED) {
        switch (LOWORD(wp)) {
          case IDC_OK: OKClick(); return 0;
          case IDC_CANCEL: CancelClick(); return 0;
          case IDC_DEFAULTSETTINGS: ButtonDefaultSettingsClick(); return 0;
          case IDC_PRACTICEBUTTON: ButtonPracticeClick(); return 0;
          default: break;
        }
      }
      break;
    case WM_CTLCOLORSTATIC: {
      HWND control = reinterpret_cast<HWND>(lp);
      const auto showsFigure = [control](const HWND(&row)[4]) { return row[kFigureOfRow] == control; };
      if (std::any_of(std::begin(FRowControls), std::end(FRowControls), showsFigure)) {
        // In a high-contrast theme the pair the theme makes for reading.
        HDC dc = reinterpret_cast<HDC>(wp);
        const int background = HighContrast() ? COLOR_WINDOW : COLOR_HIGHLIGHTTEXT;
        SetBkColor(dc, GetSysColor(background));
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(background));
      }
      break;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      RelayToToolTip(msg, wp, lp);
      break;
    case WM_SIZE:
      PlaceRowTips();
      break;
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
