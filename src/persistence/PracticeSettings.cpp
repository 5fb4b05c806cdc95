#include "persistence/PracticeSettings.h"

#include "persistence/SettingsStore.h"

namespace lumeno {

namespace {

constexpr const char* kSessionMinutes = "Session Minutes";
constexpr const char* kEndBell = "End Bell";
constexpr const char* kSoundSet = "Sound Set";
constexpr const char* kSoundInFile = "Sound In File";
constexpr const char* kSoundOutFile = "Sound Out File";
constexpr const char* kPauseCue = "Pause Cue";
constexpr const char* kColourScheme = "Colour Scheme";

// A number from 0 to highest, else 0 (no end, the first set).
int32_t ReadUpTo(IRegistry& registry, const char* name, int32_t highest) {
  int32_t value = 0;
  if (!registry.ReadInteger(name, value)) return 0;
  return value >= 0 && value <= highest ? value : 0;
}

std::string ReadText(IRegistry& registry, const char* name) {
  std::string value;
  return registry.ReadString(name, value) ? value : std::string();
}

bool ReadFlag(IRegistry& registry, const char* name, bool fallback) {
  int32_t value = 0;
  return registry.ReadInteger(name, value) ? value != 0 : fallback;
}

}  // namespace

void ReadPracticeSettings(IRegistry& registry, TPracticeSettings& settings) {
  const TPracticeSettings defaults;
  try {
    registry.SetRoot(TRegLocation::CurrentUser);
    if (registry.OpenKey(kLumenoKey, false)) {
      settings.SessionMinutes = ReadUpTo(registry, kSessionMinutes, TPracticeSettings::kMaxSessionMinutes);
      settings.EndBell = ReadFlag(registry, kEndBell, defaults.EndBell);
      settings.SoundSet = ReadUpTo(registry, kSoundSet, kOwnSoundFiles);
      settings.SoundInFile = ReadText(registry, kSoundInFile);
      settings.SoundOutFile = ReadText(registry, kSoundOutFile);
      settings.PauseCue = ReadFlag(registry, kPauseCue, defaults.PauseCue);
      int32_t scheme = 0;
      settings.Colours = registry.ReadInteger(kColourScheme, scheme) ? ColourSchemeFromStored(scheme)
                                                                      : defaults.Colours;
    }
  } catch (...) {
  }
  registry.CloseKey();
}

void WritePracticeSettings(IRegistry& registry, const TPracticeSettings& settings) {
  try {
    registry.SetRoot(TRegLocation::CurrentUser);
    registry.OpenKey(kLumenoKey, true);
    // The two paths only once they have been chosen: until then there is
    // nothing to keep.
    registry.WriteInteger(kSessionMinutes, settings.SessionMinutes) &&
        registry.WriteInteger(kEndBell, settings.EndBell ? 1 : 0) &&
        registry.WriteInteger(kSoundSet, settings.SoundSet) &&
        (settings.SoundInFile.empty() || registry.WriteString(kSoundInFile, settings.SoundInFile)) &&
        (settings.SoundOutFile.empty() || registry.WriteString(kSoundOutFile, settings.SoundOutFile)) &&
        registry.WriteInteger(kPauseCue, settings.PauseCue ? 1 : 0) &&
        registry.WriteInteger(kColourScheme, static_cast<int32_t>(settings.Colours));
  } catch (...) {
  }
  registry.CloseKey();
}

}  // namespace lumeno
