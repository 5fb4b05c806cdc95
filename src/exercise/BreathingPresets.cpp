#include "exercise/BreathingPresets.h"

namespace lumeno {

namespace {

bool Matches(const TBreathingPreset& preset, const TBreathingPattern& p) {
  return p.FBreathIn == preset.FBreathIn && p.FHoldOut == preset.FHoldOut && p.FBreathOut == preset.FBreathOut &&
         p.FHoldIn == preset.FHoldIn;
}

bool IsPreset(int index) { return index >= 0 && index < kCustomPreset; }

}  // namespace

int PresetIndexOf(const TBreathingPattern& pattern) {
  for (int i = 0; i < kCustomPreset; ++i) {
    if (Matches(kBreathingPresets[i], pattern)) return i;
  }
  return kCustomPreset;
}

const char* PresetName(int index) { return IsPreset(index) ? kBreathingPresets[index].Name : kCustomPresetName; }

bool ApplyPreset(TBreathingPattern& pattern, int index) {
  if (!IsPreset(index)) return false;
  const TBreathingPreset& preset = kBreathingPresets[index];
  pattern.FBreathIn = preset.FBreathIn;
  pattern.FHoldOut = preset.FHoldOut;
  pattern.FBreathOut = preset.FBreathOut;
  pattern.FHoldIn = preset.FHoldIn;
  pattern.przeliczCykl();
  return true;
}

}  // namespace lumeno
