// The Practice window's choices, kept beside the seven settings under
// HKCU\Software\Quorvale\Lumeno. They are read after the seven (a load of
// their own, so the seven's reading and fallback stay as they are) and
// written with them; each choice is also saved the moment it is made.
// A value that is missing or cannot be used leaves that choice at its default
// and changes nothing else.
#pragma once

#include <cstdint>
#include <string>

#include "controls/ColourSchemes.h"
#include "exercise/SoundSets.h"
#include "persistence/Registry.h"

namespace lumeno {

struct TPracticeSettings {
  // Minutes of active practice; 0 is no end.
  int32_t SessionMinutes = 0;
  static constexpr int32_t kMaxSessionMinutes = 600;
  // The bell at a session's end (whether or not the breathing sounds are on).
  bool EndBell = true;
  // The main window's colours.
  TColourSchemeId Colours = TColourSchemeId::Classic;
  // The "Sounds:" choice: a built-in set (0 the soft tones Lumeno always
  // had) or kOwnSoundFiles, which plays the two files named here (full
  // paths, UTF-8; empty until chosen).
  int32_t SoundSet = 0;
  std::string SoundInFile{};
  std::string SoundOutFile{};
  // A short cue at the start of every pause that is not zero long.
  bool PauseCue = false;

  friend bool operator==(const TPracticeSettings&, const TPracticeSettings&) = default;
};

// Opens the key without creating it, reads every value it knows, closes it.
// Registry errors are swallowed.
void ReadPracticeSettings(IRegistry& registry, TPracticeSettings& settings);
// Opens the key (creating it), writes every value, closes it. Stops at the
// first write the registry refuses, silently.
void WritePracticeSettings(IRegistry& registry, const TPracticeSettings& settings);

}  // namespace lumeno
