#include "persistence/SettingsStore.h"

#include <array>

namespace lumeno {

namespace {

constexpr const char* kBreathIn = "Breath In";
constexpr const char* kBreathOut = "Breath Out";
constexpr const char* kHoldIn = "Hold In";
constexpr const char* kHoldOut = "Hold Out";
constexpr const char* kStayOnTop = "Stay on top";
constexpr const char* kMenuOpen = "Menu open";
constexpr const char* kEnableSounds = "Enable sounds";

// The order in which a load checks that everything is there; the first
// missing value decides, the rest are not asked.
constexpr std::array<const char*, 7> kExistenceOrder = {kMenuOpen, kEnableSounds, kBreathIn, kBreathOut,
                                                        kHoldIn,   kHoldOut,      kStayOnTop};

bool AllValuesExist(IRegistry& registry) {
  for (const char* name : kExistenceOrder) {
    if (!registry.ValueExists(name)) return false;
  }
  return true;
}

// Reads the stored values into the host one by one; the first failed read
// ends the load with everything before it already applied.
bool ReadStored(IRegistry& registry, ISettingsHost& host) {
  int32_t value = 0;
  TBreathingPattern& pattern = host.Pattern();
  if (!registry.ReadInteger(kBreathIn, value)) return false;
  pattern.FBreathIn = value;
  if (!registry.ReadInteger(kBreathOut, value)) return false;
  pattern.FBreathOut = value;
  if (!registry.ReadInteger(kHoldIn, value)) return false;
  pattern.FHoldIn = value;
  if (!registry.ReadInteger(kHoldOut, value)) return false;
  pattern.FHoldOut = value;
  pattern.przeliczCykl();
  host.aktualizujWyswietlaneCyfry();

  if (!registry.ReadInteger(kStayOnTop, value)) return false;
  host.SetStayOnTopChecked(value != 0);
  host.zmianaStayOnTop();
  if (!registry.ReadInteger(kMenuOpen, value)) return false;
  host.SetMenuVisible(value != 0);
  if (!registry.ReadInteger(kEnableSounds, value)) return false;
  host.SetSoundsChecked(value != 0);
  return true;
}

bool WriteAll(IRegistry& registry, ISettingsHost& host) {
  const TBreathingPattern& pattern = host.Pattern();
  return registry.WriteInteger(kBreathIn, pattern.FBreathIn) && registry.WriteInteger(kBreathOut, pattern.FBreathOut) &&
         registry.WriteInteger(kHoldIn, pattern.FHoldIn) && registry.WriteInteger(kHoldOut, pattern.FHoldOut) &&
         registry.WriteInteger(kStayOnTop, host.StayOnTopChecked() ? 1 : 0) &&
         registry.WriteInteger(kMenuOpen, host.MenuVisible() ? 1 : 0) &&
         registry.WriteInteger(kEnableSounds, host.SoundsChecked() ? 1 : 0);
}

}  // namespace

void wczytajRejestr(IRegistry& registry, ISettingsHost& host) {
  // Store errors are silent by design; nothing may escape into the dialog's handlers.
  try {
    registry.SetRoot(TRegLocation::CurrentUser);
    registry.OpenKey(kLumenoKey, true);
    if (!AllValuesExist(registry)) {
      host.Pattern().ApplyDefaults();
      host.aktualizujWyswietlaneCyfry();
      zapiszRejestr(registry, host);
    } else {
      ReadStored(registry, host);
    }
  } catch (...) {
  }
  registry.CloseKey();
}

void zapiszRejestr(IRegistry& registry, ISettingsHost& host) {
  try {
    registry.SetRoot(TRegLocation::CurrentUser);
    registry.OpenKey(kLumenoKey, true);
    WriteAll(registry, host);
  } catch (...) {
  }
  registry.CloseKey();
}

}  // namespace lumeno
