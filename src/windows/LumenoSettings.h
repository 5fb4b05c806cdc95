// TFormSettings, the settings dialog. It owns the breathing pattern and the
// two check boxes the pacer and the settings store read; its creation loads
// the settings and starts the pacer. Created once, hidden, shown modally.
// Its controls come with the first showing (or the first accessor below):
// until then the two check boxes' states are kept in fields, so nothing the
// pacer or the store sees changes, and start-up under Wine is shorter.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "exercise/BreathingPacer.h"
#include "exercise/BreathingPattern.h"
#include "persistence/PracticeSettings.h"
#include "persistence/Registry.h"
#include "persistence/SettingsStore.h"
#include "windows/Form.h"

namespace lumeno {

class TFormLumeno;
class TFormPractice;

enum : int {
  IDC_DURATION = 300,
  IDC_BPM,
  IDC_BREATHIN,
  IDC_HOLDIN,
  IDC_BREATHOUT,
  IDC_HOLDOUT,
  IDC_UDURATION = 310,
  IDC_UBPM,
  IDC_UBREATHIN,
  IDC_UHOLDIN,
  IDC_UBREATHOUT,
  IDC_UHOLDOUT,
  IDC_STAYONTOP = 320,
  IDC_ENABLESOUNDS,
  IDC_BOTTOMPANEL,
  IDC_OK,
  IDC_CANCEL,
  IDC_DEFAULTSETTINGS,
  IDC_PRACTICEBUTTON,
  IDC_PATTERNLABEL = 330,
  IDC_PATTERN,
};

class TFormSettings final : public TForm, public ISettingsHost, public IPatternSource {
 public:
  static constexpr int kClientWidth = 418;
  static constexpr int kClientHeight = 285;
  static constexpr int kBottomStripHeight = 51;
  // The up-downs' own counters.
  static constexpr int kUpDownMin = -10000;
  static constexpr int kUpDownMax = 10000;
  // Rows of a text, a figure, a pair of arrows and a unit.
  static constexpr size_t kRowCount = 6;

  // FormCreate runs at once: the settings are loaded (or the defaults written),
  // and the main window's pacer starts.
  TFormSettings(TFormLumeno& main, TRegistryFactory makeRegistry = nullptr);
  ~TFormSettings() override;

  // The store on the registry this dialog was given.
  void wczytajRejestr();
  void zapiszRejestr();
  void przeliczCykl();

  // Handlers.
  void FormCreate();
  void UBreathInClick(TStep step);
  void UHoldInClick(TStep step);
  void UBreathOutClick(TStep step);
  void UHoldOutClick(TStep step);
  void UDurationClick(TStep step);
  void UBpmClick(TStep step);
  // An entry chosen in the "Pattern:" list: its four phases, as an arrow press
  // would; "Custom" brings back the figures from before the first preset
  // chosen in this showing.
  void ComboPatternChange();
  void ButtonDefaultSettingsClick();
  // Opens the Practice window (made with its first opening).
  void ButtonPracticeClick();
  void OKClick();
  void CancelClick();

  // The locale's decimal separator as the figures use it (UTF-8).
  const std::string& DecimalSeparator() const { return FDecimalSeparator; }
  void ReadDecimalSeparator();

  // Controls, for tests and the driver (created on first use): figures and
  // up-downs by their ids.
  HWND Figure(int id) { return Control(id); }
  HWND UpDown(int id) { return Control(id); }
  HWND CheckBoxStayOnTop() { return Ensured(FCheckBoxStayOnTop); }
  HWND ChEnableSounds() { return Ensured(FChEnableSounds); }
  HWND ButtonOK() { return Ensured(FOK); }
  HWND ButtonCancel() { return Ensured(FCancel); }
  HWND ButtonDefaultSettings() { return Ensured(FButtonDefaultSettings); }
  HWND ButtonPractice() { return Ensured(FButtonPractice); }
  // The Practice window once it has been opened, else null.
  TFormPractice* FormPractice() { return FFormPractice.get(); }
  HWND BottomPanel() { return Ensured(FBottomPanel); }
  HWND ComboPattern() { return Ensured(FComboPattern); }
  // The tooltips of the cycle, rate and hold rows and of the list.
  HWND ToolTip() { return Ensured(FToolTip); }

  // The Practice window's choices: loaded after the seven settings and saved
  // with them; a choice made in the window is saved and applied at once.
  TPracticeSettings& Practice() { return FPractice; }
  void PracticeChoiceMade();

  // ISettingsHost
  TBreathingPattern& Pattern() override { return FPattern; }
  void aktualizujWyswietlaneCyfry() override;
  bool StayOnTopChecked() const override;
  void SetStayOnTopChecked(bool checked) override;
  void zmianaStayOnTop() override;
  bool MenuVisible() const override;
  void SetMenuVisible(bool visible) override;
  bool SoundsChecked() const override;
  void SetSoundsChecked(bool checked) override;

  // IPatternSource
  const TBreathingPattern& Pattern() const override { return FPattern; }
  bool SoundsEnabled() const override { return SoundsChecked(); }
  // The chosen set's files (an own file that cannot be played left out) and the pause cue.
  const TBreathSounds& Sounds() const override { return FSounds; }

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void FormShow() override;
  // The labels measured again, and the row tips' rectangles following them.
  void DpiChanged() override;
  // The controls, showing the check boxes' states kept until then.
  void CreateLateControls() override;

 private:
  // A row's text, figure, arrows and unit in design units, the texts
  // measured in the window's font; also the "Pattern:" label's width.
  struct TRowPlaces {
    TBounds Controls[4];
  };
  std::array<TRowPlaces, kRowCount> RowPlaces(int& patternLabelWidth) const;
  // The dialog's own child with this id, the controls created first.
  HWND Control(int id);
  // Hands the practice choices to what they change.
  void ApplyPracticeSettings();
  // An arrow press that moved the up-down's counter; false when it did not.
  bool UpDownPressed(const NMUPDOWN& nm);
  // A tooltip over a whole row (its texts, value label and arrows).
  void AddRowTip(const HWND (&controls)[4], int id, const wchar_t* tip);
  // The rows' tools cover wherever the rows' controls now are, and the tips
  // wrap at a width that follows the dialog's.
  void PlaceRowTips();
  // Mouse messages of the dialog itself (the labels let the mouse through to
  // it) go on to the tooltip, whose rectangle tools are on the dialog.
  void RelayToToolTip(UINT msg, WPARAM wp, LPARAM lp);

  TFormLumeno& FMain;
  TRegistryFactory FMakeRegistry;
  TBreathingPattern FPattern;
  std::string FDecimalSeparator = ".";
  HWND FBottomPanel = nullptr;
  HWND FCheckBoxStayOnTop = nullptr;
  HWND FChEnableSounds = nullptr;
  HWND FOK = nullptr;
  HWND FCancel = nullptr;
  HWND FButtonDefaultSettings = nullptr;
  HWND FButtonPractice = nullptr;
  // Each row's text, figure, arrows and unit.
  HWND FRowControls[kRowCount][4] = {};
  HWND FComboPattern = nullptr;
  HWND FToolTip = nullptr;
  // The rows with a tooltip: their controls and the tool's id.
  struct TRowTip {
    HWND Controls[4];
    int Id;
  };
  TRowTip FRowTips[4] = {};
  int FRowTipCount = 0;
  TPracticeSettings FPractice;
  TBreathSounds FSounds;
  std::unique_ptr<TFormPractice> FFormPractice;
  // The pattern before the first preset chosen in this showing.
  std::optional<TBreathingPattern> FBeforePresets;
  // The check boxes' states while they do not exist yet.
  bool FStayOnTopChecked = false;
  bool FSoundsChecked = true;
};

}  // namespace lumeno
