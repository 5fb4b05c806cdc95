#include "exercise/BreathingPattern.h"

#include "base/Ext80.h"

namespace lumeno {
namespace {

// All pattern arithmetic wraps in 32-bit two's complement: the fields are
// signed 32-bit and the store may hand us anything, so sums and steps at the
// extremes wrap around instead of overflowing.
int32_t Wrap(uint32_t v) { return static_cast<int32_t>(v); }
int32_t Add(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
int32_t Sub(int32_t a, int32_t b) { return Wrap(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }

// |c * 0.6| and |c * 0.05| stay well inside int32 for any int32 c.
int32_t RoundFactor(int32_t c, const TExt80& factor) { return static_cast<int32_t>(RoundTimes(c, factor)); }

}  // namespace

int32_t StepValue(int32_t value, TStep step) {
  if (step == TStep::Up) return Add(value, 1);
  return value < 3 ? 1 : value - 1;
}

// A cycle or rate of 0 is reachable only from negative stored phases (stepped
// up from -1). Its reciprocal is taken as 0: the dialog then shows a cycle and
// rate of 0.0 with all phases 0, and the next press up recovers normally.
int32_t SixThousandOver(int32_t value) {
  if (value == 0) return 0;
  // |6000 / value| <= 6000.
  return static_cast<int32_t>(RoundQuotient(6000, value));
}

void TBreathingPattern::ApplyDefaults() {
  FBreathIn = 30;
  FHoldIn = 5;
  FBreathOut = 60;
  FHoldOut = 5;
  przeliczCykl();
}

void TBreathingPattern::przeliczCykl() {
  FCycle = Add(Add(Add(FBreathIn, FBreathOut), FHoldIn), FHoldOut);
  if (FCycle == 0) {
    FBreathIn = 1;
    FCycle = 1;
  }
  FBpm = SixThousandOver(FCycle);
}

void TBreathingPattern::Split(int32_t cycle) {
  FBreathOut = RoundFactor(cycle, kExtPointSix);
  const int32_t hold = RoundFactor(cycle, kExtPointZeroFive);
  FHoldIn = hold;
  FHoldOut = hold;
  // The inhale takes up whatever the rounding left over.
  FBreathIn = Sub(Sub(cycle, FBreathOut), Add(hold, hold));
}

void TBreathingPattern::StepBreathIn(TStep step) {
  FBreathIn = StepValue(FBreathIn, step);
  przeliczCykl();
}

void TBreathingPattern::StepBreathOut(TStep step) {
  FBreathOut = StepValue(FBreathOut, step);
  przeliczCykl();
}

void TBreathingPattern::StepHoldIn(TStep step) {
  FHoldIn = StepValue(FHoldIn, step);
  przeliczCykl();
}

void TBreathingPattern::StepHoldOut(TStep step) {
  FHoldOut = StepValue(FHoldOut, step);
  przeliczCykl();
}

void TBreathingPattern::StepCycle(TStep step) {
  FCycle = StepValue(FCycle, step);
  Split(FCycle);
  FBpm = SixThousandOver(FCycle);
}

void TBreathingPattern::StepBpm(TStep step) {
  FBpm = StepValue(FBpm, step);
  FCycle = SixThousandOver(FBpm);
  Split(FCycle);
  // FBpm keeps the stepped value even where the rounded cycle differs slightly.
}

// Rounding works on the exact integer: at most three significant digits of
// |tenths| are kept (the tenths digit counts, so at most one decimal), and a
// dropped part of one half or more rounds the magnitude up.
std::string FormatTenths(int32_t tenths, const std::string& decimalSeparator) {
  const bool negative = tenths < 0;
  // Unsigned negation: |INT32_MIN| fits in 32 unsigned bits.
  const uint64_t magnitude = negative ? 0u - static_cast<uint32_t>(tenths) : static_cast<uint32_t>(tenths);

  int digits = 1;
  for (uint64_t v = magnitude; v >= 10; v /= 10) ++digits;
  // Decimal exponent of the last kept digit, counted in tenths.
  int dropped = digits > 3 ? digits - 3 : 0;
  uint64_t unit = 1;
  for (int i = 0; i < dropped; ++i) unit *= 10;
  uint64_t kept = magnitude / unit;
  if (dropped > 0 && (magnitude % unit) * 2 >= unit) ++kept;  // half or more rounds up
  if (kept == 1000) {  // 999.5 and the like carried into a fourth digit
    kept = 100;
    ++dropped;
  }
  const std::string sign = negative ? "-" : "";

  // Fixed point while the whole part keeps to three digits.
  if (dropped <= 1) {
    uint64_t rounded = kept;
    for (int i = 0; i < dropped; ++i) rounded *= 10;
    return sign + std::to_string(rounded / 10) + decimalSeparator + std::to_string(rounded % 10);
  }

  // Scientific: first digit, the other kept digits without trailing zeros, E, exponent.
  std::string significant = std::to_string(kept);
  // The first kept digit stands for 10^(digits - 1 + dropped) tenths.
  const int exponent = static_cast<int>(significant.size()) - 1 + dropped - 1;
  while (significant.size() > 1 && significant.back() == '0') significant.pop_back();
  std::string text = sign + significant.substr(0, 1);
  if (significant.size() > 1) text += decimalSeparator + significant.substr(1);
  return text + "E" + std::to_string(exponent);
}

}  // namespace lumeno
