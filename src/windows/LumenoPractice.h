// TFormPractice, the "Practice" window: a column of choices on the left
// (session length, end bell, sounds, volume, colours), the practice history
// on the right, and "Close" in a strip at the bottom. It is opened modally
// from the settings dialog, made with its first opening (nothing of it at
// start-up), and kept until the program ends. A choice applies and is saved
// the moment it is made; there is no OK or Cancel.
//
// The window is made of sections, each owning its rows: the window creates
// them in reading order (which is also the Tab order) and hands each the
// messages of its controls. Every row has its fixed place in the 96-dpi
// design below, so a section never moves another's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "windows/Form.h"

namespace lumeno {

class TFormLumeno;
class TFormSettings;
class TFormPractice;

// The design (96 dpi; every length is scaled by the window's DPI).
namespace practice_layout {
inline constexpr int kClientWidth = 560;
inline constexpr int kClientHeight = 320;

// The choices: a label column and a control column.
inline constexpr int kLabelLeft = 12;
inline constexpr int kLabelWidth = 72;
inline constexpr int kControlLeft = 90;
inline constexpr int kControlWidth = 162;
inline constexpr int kColumnRight = kControlLeft + kControlWidth;  // 252
// A label beside a drop-down list sits this much lower than the list.
inline constexpr int kLabelDrop = 3;
inline constexpr int kTextHeight = 13;
inline constexpr int kCheckHeight = 17;
// The closed lists are as high as their font makes them; this is the room
// they drop down into.
inline constexpr int kListDroppedHeight = 200;

// Rows, top to bottom (the list's or the box's top edge).
inline constexpr int kSessionTop = 16;      // "Session:" list
inline constexpr int kBellTop = 44;         // "Bell at the end"
inline constexpr int kSoundsTop = 72;       // "Sounds:" list
inline constexpr int kCueTop = 100;         // "Cue each pause"
inline constexpr int kVolumeTop = 124;      // "Volume:" slider, 26 high, its figure at its right
inline constexpr int kVolumeHeight = 26;
inline constexpr int kSoundStatusTop = 154;  // what cannot be played, or why the slider is off
inline constexpr int kSoundStatusHeight = 28;
inline constexpr int kColoursTop = 192;     // "Colours:" list

// The line between the choices and the history.
inline constexpr int kDividerLeft = 266;
inline constexpr int kDividerTop = 12;
inline constexpr int kDividerHeight = 252;

// The history: everything inside this rectangle.
inline constexpr int kHistoryLeft = 280;
inline constexpr int kHistoryTop = 12;
inline constexpr int kHistoryWidth = 268;
inline constexpr int kHistoryHeight = 252;

// The bottom strip with "Close" at its right.
inline constexpr int kStripHeight = 44;
inline constexpr int kButtonWidth = 75;
inline constexpr int kButtonHeight = 25;
inline constexpr int kCloseLeft = kClientWidth - 12 - kButtonWidth;  // in the strip
inline constexpr int kCloseTop = 10;
}  // namespace practice_layout

enum : int {
  IDC_PRACTICE_STRIP = 500,
  IDC_PRACTICE_CLOSE,
  IDC_PRACTICE_DIVIDER,
  IDC_SESSION_LABEL = 510,
  IDC_SESSION,
  IDC_ENDBELL,
  IDC_SOUNDS_LABEL = 520,
  IDC_SOUNDS,
  IDC_PAUSECUE,
  IDC_VOLUME_LABEL,
  IDC_VOLUME,
  IDC_VOLUME_FIGURE,
  IDC_SOUND_STATUS,
  IDC_VOLUME_STATUS,
  IDC_COLOURS_LABEL = 540,
  IDC_COLOURS,
  IDC_HISTORY_CHART = 560,
  IDC_HISTORY_EXPORT,
  IDC_HISTORY_FOLDER,
  // What could not be read, what waits to be written, how an export went.
  IDC_HISTORY_DAMAGED,
  IDC_HISTORY_WAITING,
  IDC_HISTORY_EXPORTED,
  // Six rows of a label and its figure: today, this week, the current run,
  // the longest run, all minutes, all practices.
  IDC_HISTORY_FIGURES = 570,
};

// One part of the window with the rows it owns.
class IPracticeSection {
 public:
  virtual ~IPracticeSection() = default;
  // Creates the section's controls, in Tab order, with the window's first showing.
  virtual void Create(TFormPractice& form) = 0;
  // Every showing, before the window appears: shows the current choices.
  virtual void Show() {}
  // A message of the window (WM_COMMAND, WM_NOTIFY, WM_HSCROLL, colour and
  // drawing requests, ...); true when the section answered it, with result.
  virtual bool Message(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    (void)msg, (void)wp, (void)lp, (void)result;
    return false;
  }
  // After a DPI change: what the window's scaling does not do by itself.
  virtual void DpiChanged() {}
};

class TFormPractice final : public TForm {
 public:
  static constexpr int kClientWidth = practice_layout::kClientWidth;
  static constexpr int kClientHeight = practice_layout::kClientHeight;

  // Owned by the settings dialog, from which it opens.
  TFormPractice(TFormSettings& settings, TFormLumeno& main);
  ~TFormPractice() override;

  TFormSettings& Settings() { return FSettings; }
  TFormLumeno& Main() { return FMain; }

  // A control of the window at its design place (scaled to the DPI, again on
  // every DPI change), in the window's font.
  HWND AddRow(HWND parent, const TControlDesc& desc) { return AddControl(parent, desc); }
  // A label and the drop-down list it names, the label beside the list.
  HWND AddListRow(const wchar_t* label, int labelId, int listId, int top);
  // The window's own child with this id (the controls created first).
  HWND Control(int id);

  void CloseClick();

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormShow() override;
  void CreateLateControls() override;
  void DpiChanged() override;

 private:
  TFormSettings& FSettings;
  TFormLumeno& FMain;
  std::vector<std::unique_ptr<IPracticeSection>> FSections;
  HWND FStrip = nullptr;
  HWND FClose = nullptr;
};

// The "Session:" list and "Bell at the end".
std::unique_ptr<IPracticeSection> MakeSessionSection();

// "Sounds:" (the sets and "Your own files..."), "Cue each pause", the
// "Volume:" slider of Lumeno's audio session, and two status lines: the own
// files that cannot be played, and why the slider is off.
std::unique_ptr<IPracticeSection> MakeSoundsSection();
// The "Colours:" list: the main window's colour scheme.
std::unique_ptr<IPracticeSection> MakeColoursSection();

// The practice history: the last 30 days' chart, the figures, export.
std::unique_ptr<IPracticeSection> MakeHistorySection();

// The system's Open dialog (save false) or Save dialog for one file; comdlg32
// is loaded with the first use, from the system folder only. path is the name
// the dialog starts with and, once one is chosen, that one.
enum class TFileAnswer : uint8_t { Chosen, Cancelled, NoDialog };
TFileAnswer AskForFile(HWND owner, bool save, const wchar_t* title, const wchar_t* filter, const wchar_t* extension,
                       std::wstring& path);

// The session lengths the list offers, in minutes (0: no end), and their texts.
inline constexpr int kSessionChoices[] = {0, 3, 5, 10, 15, 20, 30, 45, 60};

}  // namespace lumeno
