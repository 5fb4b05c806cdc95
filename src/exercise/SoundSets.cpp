#include "exercise/SoundSets.h"

namespace lumeno {

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

TBreathSounds SoundsOf(int32_t set, const std::string& ownIn, const std::string& ownEx, bool cueEachPause) {
  TBreathSounds sounds;
  sounds.CueEachPause = cueEachPause;
  if (set == kOwnSoundFiles) {
    sounds.In = ownIn;
    sounds.Ex = ownEx;
  } else if (set > 0 && set < kBuiltInSoundSets) {
    const TSoundSet& chosen = kSoundSets[set];
    sounds.In = chosen.In;
    sounds.Ex = chosen.Ex;
    sounds.Cue = chosen.Cue;
  }
  return sounds;
}

bool IsFullPath(const std::string& path) {
  if (path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z') && path[1] == ':' &&
      IsSeparator(path[2])) {
    return true;
  }
  return path.size() >= 3 && IsSeparator(path[0]) && IsSeparator(path[1]) && !IsSeparator(path[2]) &&
         path[2] != '.' && path[2] != '?';
}

}  // namespace lumeno
