// The breathing sounds Lumeno offers, in sets: a loop while breathing in, a
// loop while breathing out and a short cue for the start of a pause. A
// built-in set's files lie in the executable's folder (the names below are
// relative to it); the choice after them plays two files of the user's own.
#pragma once

#include <cstdint>
#include <string>

namespace lumeno {

struct TSoundSet {
  const char* Name;  // as the "Sounds:" list shows it
  const char* In;
  const char* Ex;
  const char* Cue;
};

// The first is the default, the two files Lumeno has always played.
inline constexpr TSoundSet kSoundSets[] = {
    {"Soft tones", "in.wav", "ex.wav", "sounds\\tones-cue.wav"},
    {"Singing bowl", "sounds\\bowl-in.wav", "sounds\\bowl-ex.wav", "sounds\\bowl-cue.wav"},
    {"Gentle surf", "sounds\\surf-in.wav", "sounds\\surf-ex.wav", "sounds\\surf-cue.wav"},
};
inline constexpr int32_t kBuiltInSoundSets = static_cast<int32_t>(sizeof kSoundSets / sizeof kSoundSets[0]);
// The choice after the built-in sets: two files of the user's, with the
// first set's cue.
inline constexpr int32_t kOwnSoundFiles = kBuiltInSoundSets;
inline constexpr const char* kOwnSoundFilesName = "Your own files...";

// What the pacer plays: names in the executable's folder or full paths
// (UTF-8). An empty name plays nothing.
struct TBreathSounds {
  std::string In = kSoundSets[0].In;
  std::string Ex = kSoundSets[0].Ex;
  std::string Cue = kSoundSets[0].Cue;
  // The cue once at the start of every pause that is not zero long.
  bool CueEachPause = false;
};

// A choice's sounds: a built-in set's files, or ownIn and ownEx for the
// user's own (the caller leaves out a file it found it cannot play). Any
// other choice gives the first set.
TBreathSounds SoundsOf(int32_t set, const std::string& ownIn, const std::string& ownEx, bool cueEachPause);

// A full path: a drive's ("C:\...") or a share's ("\\server\share\..."), not
// the system's device or long-path forms ("\\.\", "\\?\").
bool IsFullPath(const std::string& path);

}  // namespace lumeno
