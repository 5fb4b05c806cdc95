// The Practice window's history: a chart of active minutes on each of the
// last 30 days (today on the right), the figures beside it, what could not be
// read or is still waiting to be written, "Export..." and "Open folder". It
// reads the history file each time the window opens, and again when a
// practice ends while the window is open; nothing at start-up.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <new>
#include <string>

#include "base/DpiScale.h"
#include "base/WinHandles.h"
#include "controls/Accessible_win.h"
#include "exercise/PracticeSummary.h"
#include "persistence/PracticeJournal_win.h"
#include "windows/LumenoForm.h"
#include "windows/LumenoPractice.h"

namespace lumeno {

namespace {

using namespace practice_layout;

constexpr wchar_t kChartClass[] = L"TPracticeChart";

// The design, inside the history's rectangle.
constexpr int kChartHeight = 116;
constexpr int kRowTop = kHistoryTop + 121;
constexpr int kRowStep = 15;
constexpr int kFigureLeft = kHistoryLeft + 72;
constexpr int kFigureWidth = 100;
constexpr int kButtonsLeft = kHistoryLeft + kHistoryWidth - kButtonWidth;
constexpr int kStatusTop = kRowTop + 6 * kRowStep;
constexpr int kStatusStep = 14;

constexpr const wchar_t* kRowLabels[] = {L"Today:", L"This week:", L"Current run:", L"Longest run:", L"In all:",
                                         L"Practices:"};

std::wstring Counted(int64_t count, const wchar_t* one, const wchar_t* many) {
  return std::to_wstring(count) + L" " + (count == 1 ? one : many);
}
std::wstring Minutes(int64_t milliseconds) { return Counted(WholeMinutes(milliseconds), L"minute", L"minutes"); }
std::wstring Days(int64_t days) { return Counted(days, L"day", L"days"); }

// The scale's top in minutes and the step between its lines: two to four
// steps of a round length that reach the chart's tallest day.
int64_t ScaleTop(int64_t tallestMilliseconds, int64_t& step) {
  const int64_t tallest = tallestMilliseconds / 60000 + (tallestMilliseconds % 60000 != 0);
  static constexpr int64_t kSteps[] = {5, 10, 15, 30, 60, 120, 240, 360, 720};
  step = kSteps[0];
  for (size_t i = 1; (tallest + step - 1) / step > 4; ++i) step = i < std::size(kSteps) ? kSteps[i] : step * 2;
  return std::max<int64_t>(2, (tallest + step - 1) / step) * step;
}

class THistorySection;

LRESULT CALLBACK ChartProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

class TChartAccessible final : public TAccessibleProxy {
 public:
  TChartAccessible(HWND hwnd, IAccessible* standard) : TAccessibleProxy(hwnd, standard) {}

 protected:
  long Role() const override { return ROLE_SYSTEM_CHART; }
  bool Name(std::wstring& name) const override;
  long ExtraState() const override { return STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_READONLY; }
};

class THistorySection final : public IPracticeSection {
 public:
  ~THistorySection() override {
    if (FForm) FForm->Main().Journal().OnChanged = nullptr;
  }

  void Create(TFormPractice& form) override {
    FForm = &form;
    HWND window = form.Handle();
    // The chart first: Tab reaches it, and a screen reader reads its summary.
    FChart = form.AddRow(window, {ChildClass(kChartClass, ChartProc), L"", WS_TABSTOP, WS_EX_CLIENTEDGE, kHistoryLeft,
                                  kHistoryTop, kHistoryWidth, kChartHeight, IDC_HISTORY_CHART});
    SetWindowLongPtrW(FChart, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    for (int i = 0; i < 6; ++i) {
      const int top = kRowTop + i * kRowStep;
      form.AddRow(window, {L"STATIC", kRowLabels[i], SS_LEFT | SS_NOPREFIX, 0, kHistoryLeft, top,
                           kFigureLeft - kHistoryLeft - 2, kTextHeight, IDC_HISTORY_FIGURES + 2 * i});
      FFigures[i] = form.AddRow(window, {L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, kFigureLeft, top, kFigureWidth,
                                         kTextHeight, IDC_HISTORY_FIGURES + 2 * i + 1});
    }
    form.AddRow(window, {L"BUTTON", L"Export...", BS_PUSHBUTTON | WS_TABSTOP, 0, kButtonsLeft, kRowTop, kButtonWidth,
                         kButtonHeight, IDC_HISTORY_EXPORT});
    form.AddRow(window, {L"BUTTON", L"Open folder", BS_PUSHBUTTON | WS_TABSTOP, 0, kButtonsLeft, kRowTop + 30,
                         kButtonWidth, kButtonHeight, IDC_HISTORY_FOLDER});
    for (int i = 0; i < 3; ++i) {
      FStatus[i] = form.AddRow(window, {L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, kHistoryLeft,
                                        kStatusTop + i * kStatusStep, kHistoryWidth, kTextHeight,
                                        IDC_HISTORY_DAMAGED + i});
    }
    form.Main().Journal().OnChanged = [this] {
      if (IsWindowVisible(FForm->Handle())) Refresh();
    };
  }

  void Show() override {
    SetWindowTextW(FStatus[2], L"");
    Refresh();
  }

  bool Message(UINT msg, WPARAM wp, LPARAM, LRESULT& result) override {
    if (msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return false;
    if (LOWORD(wp) == IDC_HISTORY_EXPORT) {
      ExportClick();
    } else if (LOWORD(wp) == IDC_HISTORY_FOLDER) {
      OpenFolderClick();
    } else {
      return false;
    }
    result = 0;
    return true;
  }

  void DpiChanged() override { InvalidateRect(FChart, nullptr, TRUE); }

  const std::wstring& Summary() const { return FSummaryText; }
  void PaintChart(HDC dc, const RECT& client) const;

 private:
  void Refresh() {
    const TLocalTime now = FForm->Main().LocalNow();
    const TPracticeJournal::TLoaded loaded =
        FForm->Main().Journal().Load(now.LocalSeconds - int64_t{now.UtcOffsetMinutes} * 60);
    FToday = DayOf(now.LocalSeconds);
    FSummary = Summarize(loaded.History.Records, FToday, FirstDayOfWeek());
    const TPracticeSummary& s = FSummary;
    const std::wstring figures[] = {Minutes(s.Today),      Minutes(s.Week),  Days(s.CurrentRun),
                                    Days(s.LongestRun),    Minutes(s.Total), std::to_wstring(s.Practices)};
    for (int i = 0; i < 6; ++i) SetWindowTextW(FFigures[i], figures[i].c_str());
    const int64_t damaged = loaded.History.Damaged;
    SetWindowTextW(FStatus[0], loaded.Unreadable ? L"The history file cannot be read just now."
                               : damaged > 0     ? (Counted(damaged, L"line", L"lines") + L" could not be read").c_str()
                                                 : L"");
    SetWindowTextW(FStatus[1], loaded.Waiting > 0
                                   ? (Counted(loaded.Waiting, L"practice", L"practices") + L" waiting to be written").c_str()
                                   : L"");
    int64_t practised = 0, minutes = 0;
    for (int64_t day : s.Days) {
      practised += day > 0;
      minutes += day;
    }
    FSummaryText = L"Last 30 days: " + Days(practised) + L" practised, " + Minutes(minutes) + L"; today " +
                   Minutes(s.Today) + L"; run of " + Days(s.CurrentRun);
    InvalidateRect(FChart, nullptr, TRUE);
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, FChart, OBJID_CLIENT, CHILDID_SELF);
  }

  void ExportClick() {
    std::wstring file = L"practice.csv";
    const TFileAnswer answer = AskForFile(FForm->Handle(), true, L"Export the practice history",
                                          L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0", L"csv", file);
    if (answer == TFileAnswer::Cancelled) return;
    const bool saved = answer == TFileAnswer::Chosen && FForm->Main().Journal().Export(file.c_str()) == ERROR_SUCCESS;
    SetWindowTextW(FStatus[2], saved ? L"A copy was saved." : L"The copy could not be saved.");
  }

  void OpenFolderClick() {
    const std::wstring folder = FForm->Main().Journal().MakeFolder();
    if (!folder.empty()) ShellExecuteW(FForm->Handle(), L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  }

  TFormPractice* FForm = nullptr;
  HWND FChart = nullptr;
  HWND FFigures[6] = {};
  // What could not be read, what waits to be written, how the export went.
  HWND FStatus[3] = {};
  TPracticeSummary FSummary;
  int64_t FToday = 0;
  std::wstring FSummaryText;
};

bool TChartAccessible::Name(std::wstring& name) const {
  const auto* section = reinterpret_cast<const THistorySection*>(GetWindowLongPtrW(FHwnd, GWLP_USERDATA));
  if (!section) return false;
  name = section->Summary();
  return true;
}

void THistorySection::PaintChart(HDC dc, const RECT& client) const {
  const int dpi = FForm->Dpi();
  auto S = [dpi](int32_t design) { return ScaleToDpi(design, dpi); };
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  TScopedSelect font(dc, FForm->Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int textHeight = metrics.tmHeight;

  int64_t tallest = 0;
  for (int64_t day : FSummary.Days) tallest = std::max(tallest, day);
  int64_t step = 0;
  const int64_t top = ScaleTop(tallest, step);
  SIZE label{};
  const std::wstring topText = std::to_wstring(top);
  GetTextExtentPoint32W(dc, topText.c_str(), static_cast<int>(topText.size()), &label);
  // The scale's figures on the left, then 30 equal slots up to the right edge.
  const int right = client.right - S(2);
  const int slot = std::max<int>(1, (right - client.left - label.cx - S(6)) / kChartDays);
  const int barsLeft = right - slot * kChartDays;
  const int base = client.bottom - textHeight - S(3);
  const int chartTop = client.top + textHeight / 2 + S(2);
  const int height = std::max(1, base - chartTop);

  // The light scale: a line and its minutes at every step, the lines halfway
  // between the background and the shadow colour (also in high contrast).
  const COLORREF paper = GetSysColor(COLOR_WINDOW), shadow = GetSysColor(COLOR_BTNSHADOW);
  const COLORREF light = RGB((GetRValue(paper) + GetRValue(shadow)) / 2, (GetGValue(paper) + GetGValue(shadow)) / 2,
                             (GetBValue(paper) + GetBValue(shadow)) / 2);
  for (int64_t minutes = step; minutes <= top; minutes += step) {
    const int y = base - static_cast<int>(height * minutes / top);
    FillSolid(dc, {barsLeft, y, right, y + 1}, light);
    const std::wstring text = std::to_wstring(minutes);
    RECT where{client.left, y - textHeight / 2, barsLeft - S(3), y + textHeight};
    DrawTextW(dc, text.c_str(), -1, &where, DT_RIGHT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  const RECT baseline{barsLeft, base, right, base + S(1)};
  FillRect(dc, &baseline, GetSysColorBrush(COLOR_BTNSHADOW));

  // A bar for every day practised; a short grey dash on the line for every day without.
  const int gap = std::min(S(2), slot - 1);
  for (int i = 0; i < kChartDays; ++i) {
    const int left = barsLeft + i * slot + gap / 2;
    const int width = slot - gap;
    const int64_t day = FSummary.Days[static_cast<size_t>(i)];
    if (day > 0) {
      const double exact = static_cast<double>(day) * height / (static_cast<double>(top) * 60000.0);
      const int h = std::clamp(static_cast<int>(std::lround(exact)), S(2), height);
      const RECT bar{left, base - h, left + width, base};
      FillRect(dc, &bar, GetSysColorBrush(COLOR_HIGHLIGHT));
    } else {
      const RECT dash{left, base - S(2), left + width, base};
      FillRect(dc, &dash, GetSysColorBrush(COLOR_GRAYTEXT));
    }
    // The day of the month under today and every fifth day before it.
    if ((kChartDays - 1 - i) % 5 == 0) {
      const std::wstring text = std::to_wstring(DateOfDay(FToday - (kChartDays - 1 - i)).Day);
      RECT where{left - slot, base + S(2), left + width + slot, client.bottom};
      DrawTextW(dc, text.c_str(), -1, &where, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
  }
  if (GetFocus() == FChart) DrawFocusRect(dc, &client);
}

LRESULT CALLBACK ChartProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto* section = reinterpret_cast<const THistorySection*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client{};
      GetClientRect(hwnd, &client);
      if (section) section->PaintChart(dc, client);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_GETOBJECT:
      return AnswerGetObject(hwnd, wp, lp, [](HWND window, IAccessible* standard) -> TAccessibleProxy* {
        return new (std::nothrow) TChartAccessible(window, standard);
      });
    default:
      return DefWindowProcW(hwnd, msg, wp, lp);
  }
}

}  // namespace

std::unique_ptr<IPracticeSection> MakeHistorySection() { return std::make_unique<THistorySection>(); }

}  // namespace lumeno
