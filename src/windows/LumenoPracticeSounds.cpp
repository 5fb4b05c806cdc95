// The Practice window's sound rows: the set of sounds (or two files of the
// user's), the cue at each pause, and the volume of Lumeno's audio session.
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <optional>
#include <string>

#include "base/Utf16.h"
#include "exercise/SessionVolume_win.h"
#include "exercise/SoundSets.h"
#include "exercise/WaveFile_win.h"
#include "windows/LumenoForm.h"
#include "windows/LumenoPractice.h"
#include "windows/LumenoSettings.h"

namespace lumeno {

namespace {

using namespace practice_layout;

// The slider with its figure at its right, both within the control column.
constexpr int kSliderWidth = 126;
constexpr int kFigureLeft = kControlLeft + kSliderWidth + 4;
constexpr int kFigureWidth = kColumnRight - kFigureLeft;
constexpr int kVolumeTextTop = kVolumeTop + (kVolumeHeight - kTextHeight) / 2;
// While the window shows, the slider follows the system's volume mixer.
constexpr UINT_PTR kVolumePollTimer = IDC_VOLUME;
constexpr UINT kVolumePollMs = 500;

std::wstring FileNameOf(const std::string& path) {
  if (path.empty()) return L"(no file chosen)";
  const std::wstring wide = Widen(path);
  const size_t slash = wide.find_last_of(L"\\/");
  return slash == std::wstring::npos ? wide : wide.substr(slash + 1);
}

class TSoundsSection final : public IPracticeSection {
 public:
  void Create(TFormPractice& form) override {
    FForm = &form;
    HWND parent = form.Handle();
    FList = form.AddListRow(L"Sounds:", IDC_SOUNDS_LABEL, IDC_SOUNDS, kSoundsTop);
    for (const TSoundSet& set : kSoundSets) AddEntry(set.Name);
    AddEntry(kOwnSoundFilesName);
    FCue = form.AddRow(parent, {L"BUTTON", L"Cue each pause", BS_AUTOCHECKBOX | WS_TABSTOP, 0, kControlLeft, kCueTop,
                                kControlWidth, kCheckHeight, IDC_PAUSECUE});
    // The label first: a screen reader names the slider after it.
    form.AddRow(parent, {L"STATIC", L"Volume:", SS_LEFT | SS_NOPREFIX, 0, kLabelLeft, kVolumeTextTop, kLabelWidth,
                         kTextHeight, IDC_VOLUME_LABEL});
    FSlider = form.AddRow(parent, {TRACKBAR_CLASSW, L"", TBS_HORZ | TBS_NOTICKS | WS_TABSTOP, 0, kControlLeft,
                                   kVolumeTop, kSliderWidth, kVolumeHeight, IDC_VOLUME});
    SendMessageW(FSlider, TBM_SETRANGE, FALSE, MAKELPARAM(0, 100));
    SendMessageW(FSlider, TBM_SETLINESIZE, 0, 1);
    SendMessageW(FSlider, TBM_SETPAGESIZE, 0, 10);
    FFigure = form.AddRow(parent, {L"STATIC", L"", SS_LEFT | SS_NOPREFIX, 0, kFigureLeft, kVolumeTextTop,
                                   kFigureWidth, kTextHeight, IDC_VOLUME_FIGURE});
    // Two lines, each cut with an ellipsis rather than wrapped into the other.
    auto statusLine = [&](int top, int id) {
      return form.AddRow(parent, {L"STATIC", L"", SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX, 0, kLabelLeft, top,
                                  kColumnRight - kLabelLeft, kSoundStatusHeight / 2, id});
    };
    FFilesLine = statusLine(kSoundStatusTop, IDC_SOUND_STATUS);
    FVolumeLine = statusLine(kSoundStatusTop + kSoundStatusHeight / 2, IDC_VOLUME_STATUS);
  }

  void Show() override {
    const TPracticeSettings& practice = FForm->Settings().Practice();
    SendMessageW(FList, CB_SETCURSEL, static_cast<WPARAM>(practice.SoundSet), 0);
    SendMessageW(FCue, BM_SETCHECK, practice.PauseCue ? BST_CHECKED : BST_UNCHECKED, 0);
    ShowFiles();
    // The default device may have changed since the last showing; the poll,
    // stopped while the window was hidden, starts again.
    Volume().Connect();
    FShownPercent = kNotShown;
    ShowVolume();
  }

  bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (msg == WM_HSCROLL && reinterpret_cast<HWND>(lp) == FSlider && FSlider) {
      const int percent = static_cast<int>(SendMessageW(FSlider, TBM_GETPOS, 0, 0));
      if (FShownPercent != percent) {
        Volume().SetPercent(percent);
        ShowVolume();
      }
    } else if (msg == WM_TIMER && wp == kVolumePollTimer) {
      if (IsWindowVisible(FForm->Handle())) {
        ShowVolume();
      } else {
        KillTimer(FForm->Handle(), kVolumePollTimer);
      }
    } else if (msg == WM_COMMAND && LOWORD(wp) == IDC_SOUNDS && HIWORD(wp) == CBN_SELCHANGE) {
      ChooseSet(static_cast<int32_t>(SendMessageW(FList, CB_GETCURSEL, 0, 0)));
    } else if (msg == WM_COMMAND && LOWORD(wp) == IDC_PAUSECUE && HIWORD(wp) == BN_CLICKED) {
      FForm->Settings().Practice().PauseCue = SendMessageW(FCue, BM_GETCHECK, 0, 0) == BST_CHECKED;
      FForm->Settings().PracticeChoiceMade();
    } else {
      return false;
    }
    result = 0;
    return true;
  }

 private:
  void AddEntry(const char* name) {
    SendMessageW(FList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(name).c_str()));
  }

  ISessionVolume& Volume() {
    if (ISessionVolume* given = FForm->Main().Services().Volume) return *given;
    if (!FOwnVolume) FOwnVolume = std::make_unique<TAudioSessionVolume>();
    return *FOwnVolume;
  }

  // A built-in set applies at once; own files only once both are chosen
  // (a cancelled dialog leaves everything as it was).
  void ChooseSet(int32_t index) {
    TFormSettings& settings = FForm->Settings();
    TPracticeSettings& practice = settings.Practice();
    if (index == kOwnSoundFiles) {
      std::string in, out;
      if (ChooseFile(L"Sound for breathing in", practice.SoundInFile, in) &&
          ChooseFile(L"Sound for breathing out", practice.SoundOutFile, out)) {
        practice.SoundSet = index;
        practice.SoundInFile = in;
        practice.SoundOutFile = out;
        settings.PracticeChoiceMade();
      }
    } else if (index >= 0 && index < kBuiltInSoundSets) {
      practice.SoundSet = index;
      settings.PracticeChoiceMade();
    }
    SendMessageW(FList, CB_SETCURSEL, static_cast<WPARAM>(practice.SoundSet), 0);
    ShowFiles();
  }

  bool ChooseFile(const wchar_t* title, const std::string& current, std::string& chosen) {
    std::wstring path = Widen(current);
    const auto& choose = FForm->Main().Services().ChooseSoundFile;
    const bool picked = choose ? choose(FForm->Handle(), title, path)
                               : AskForFile(FForm->Handle(), false, title,
                                            L"WAV files (*.wav)\0*.wav\0All files (*.*)\0*.*\0", L"wav",
                                            path) == TFileAnswer::Chosen;
    if (!picked) return false;
    return Utf16ToUtf8(std::u16string(path.begin(), path.end()), chosen) && !chosen.empty();
  }

  // The slider and its figure show the session's volume as it is now.
  void ShowVolume() {
    const std::optional<int> percent = Volume().Percent();
    EnableWindow(FSlider, percent.has_value());
    if (percent) {
      // Not while the user drags the thumb: it would jump back under the mouse.
      if (GetCapture() != FSlider && SendMessageW(FSlider, TBM_GETPOS, 0, 0) != *percent)
        SendMessageW(FSlider, TBM_SETPOS, TRUE, *percent);
      if (*percent != FShownPercent) SetWindowTextW(FFigure, (std::to_wstring(*percent) + L"%").c_str());
      if (FShownPercent < 0) SetTimer(FForm->Handle(), kVolumePollTimer, kVolumePollMs, nullptr);
    } else {
      SetWindowTextW(FFigure, L"");
      KillTimer(FForm->Handle(), kVolumePollTimer);
    }
    // Set only when it changes: the poll would otherwise repaint it twice a second.
    if (percent.has_value() != (FShownPercent >= 0) || FShownPercent == kNotShown)
      SetWindowTextW(FVolumeLine, percent ? L"" : L"No audio device: the volume cannot be set.");
    FShownPercent = percent.value_or(-1);
  }

  // Names the own files that cannot be played (looked at when the window
  // shows and when files are chosen, not on every poll of the volume).
  void ShowFiles() {
    const TPracticeSettings& practice = FForm->Settings().Practice();
    std::wstring text;
    if (practice.SoundSet == kOwnSoundFiles) {
      for (const std::string* file : {&practice.SoundInFile, &practice.SoundOutFile}) {
        if (!file->empty() && CanPlaySoundFile(*file)) continue;
        text += (text.empty() ? L"Cannot play " : L" and ") + FileNameOf(*file);
      }
    }
    SetWindowTextW(FFilesLine, text.c_str());
  }

  TFormPractice* FForm = nullptr;
  HWND FList = nullptr;
  HWND FCue = nullptr;
  HWND FSlider = nullptr;
  HWND FFigure = nullptr;
  HWND FFilesLine = nullptr;
  HWND FVolumeLine = nullptr;
  std::unique_ptr<ISessionVolume> FOwnVolume;
  // What the figure shows: a percentage, -1 for no session.
  static constexpr int kNotShown = -2;
  int FShownPercent = kNotShown;
};

}  // namespace

std::unique_ptr<IPracticeSection> MakeSoundsSection() { return std::make_unique<TSoundsSection>(); }

}  // namespace lumeno
