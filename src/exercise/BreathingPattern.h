// The breathing pattern: four phase lengths and the two figures derived from
// them, all in tenths (of a second, or of a breath per minute), with the rules
// by which the settings dialog's arrows change them. Pure integer arithmetic:
// sums and steps wrap in 32-bit two's complement, and each real-valued result
// is rounded exactly as x87 extended precision would (Ext80.h), so stored
// values of any size or sign are safe.
#pragma once

#include <cstdint>
#include <string>

namespace lumeno {

enum class TStep { Up, Down };

// The arrows' rule: up adds 1; down subtracts 1 unless the value is below 3,
// in which case it becomes 1. Wraps at INT32_MAX instead of overflowing.
int32_t StepValue(int32_t value, TStep step);

// round(6000 / value), halves to even. 0 for a value of 0: a cycle or rate of
// 0 (stepped up from -1, only after negative stored phases) shows as 0.0.
int32_t SixThousandOver(int32_t value);

struct TBreathingPattern {
  int32_t FBreathIn = 30;
  int32_t FBreathOut = 60;
  int32_t FHoldIn = 5;
  int32_t FHoldOut = 5;
  int32_t FCycle = 100;
  int32_t FBpm = 60;

  // 30 / 60 / 5 / 5, then przeliczCykl.
  void ApplyDefaults();
  // FCycle from the four phases (an all-zero pattern becomes inhale 1), FBpm from FCycle.
  void przeliczCykl();
  // Cycle c split into exhale round(c*0.6), holds round(c*0.05), inhale the rest.
  void Split(int32_t cycle);

  // One press of a phase's arrow, then przeliczCykl.
  void StepBreathIn(TStep step);
  void StepBreathOut(TStep step);
  void StepHoldIn(TStep step);
  void StepHoldOut(TStep step);
  // One press of the cycle arrow: step FCycle, split it, FBpm from it.
  void StepCycle(TStep step);
  // One press of the rate arrow: step FBpm, FCycle from it, split it.
  void StepBpm(TStep step);

  friend bool operator==(const TBreathingPattern&, const TBreathingPattern&) = default;
};

// Tenths as the dialog shows them ("3.0", "124.0", "1E3", "-0.5"), with the
// locale's decimal separator (UTF-8, may be more than one character).
std::string FormatTenths(int32_t tenths, const std::string& decimalSeparator);

}  // namespace lumeno
