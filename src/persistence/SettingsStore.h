// Loading and saving the pattern and the three preferences under
// HKCU\Software\Quorvale\Lumeno. The settings dialog is the host.
#pragma once

#include "exercise/BreathingPattern.h"
#include "persistence/Registry.h"

namespace lumeno {

inline constexpr const char* kLumenoKey = "\\Software\\Quorvale\\Lumeno";

class ISettingsHost {
 public:
  virtual ~ISettingsHost() = default;
  virtual TBreathingPattern& Pattern() = 0;
  // Refreshes the six figures shown in the dialog.
  virtual void aktualizujWyswietlaneCyfry() = 0;
  virtual bool StayOnTopChecked() const = 0;
  virtual void SetStayOnTopChecked(bool checked) = 0;
  // Applies the "stay on top" check box to the main window.
  virtual void zmianaStayOnTop() = 0;
  virtual bool MenuVisible() const = 0;
  // Shows or hides the side menu only: width and button caption stay.
  virtual void SetMenuVisible(bool visible) = 0;
  virtual bool SoundsChecked() const = 0;
  virtual void SetSoundsChecked(bool checked) = 0;
};

// Loads everything, or falls back to the defaults and writes them.
void wczytajRejestr(IRegistry& registry, ISettingsHost& host);
// Saves everything.
void zapiszRejestr(IRegistry& registry, ISettingsHost& host);

}  // namespace lumeno
