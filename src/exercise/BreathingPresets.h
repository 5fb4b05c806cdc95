// The ready-made breathing patterns the settings dialog offers, and finding
// which of them a pattern is. Each sets the four phases only; the cycle and
// the rate follow from them as for any other pattern.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "exercise/BreathingPattern.h"

namespace lumeno {

struct TBreathingPreset {
  const char* Name;
  int32_t FBreathIn;
  // The pause after breathing in, with full lungs.
  int32_t FHoldOut;
  int32_t FBreathOut;
  // The pause after breathing out, with empty lungs.
  int32_t FHoldIn;
};

// In the order the list shows them; the list ends with kCustomPresetName.
inline constexpr TBreathingPreset kBreathingPresets[] = {
    {"Default (6 per minute)", 30, 5, 60, 5},
    {"Coherent (5.5 per minute)", 55, 0, 55, 0},
    {"Box 4-4-4-4", 40, 40, 40, 40},
    {"4-7-8 relaxing", 40, 70, 80, 0},
    {"Long exhale 4-6", 40, 0, 60, 0},
};

// The list's last entry: any pattern no preset matches. Choosing it changes nothing.
inline constexpr char kCustomPresetName[] = "Custom";
inline constexpr int kCustomPreset = static_cast<int>(std::size(kBreathingPresets));

// The index of the preset whose four phases are the pattern's, else kCustomPreset.
int PresetIndexOf(const TBreathingPattern& pattern);

// The list's entry at index: a preset's name, or kCustomPresetName for
// kCustomPreset and anything out of range.
const char* PresetName(int index);

// Sets the four phases of preset index and recomputes the cycle and rate; for
// kCustomPreset or any index out of range it changes nothing and returns false.
bool ApplyPreset(TBreathingPattern& pattern, int index);

}  // namespace lumeno
