#include "base/Ext80.h"

namespace lumeno {
namespace {

constexpr uint64_t kTopBit = 0x8000000000000000ULL;
// The x87 exponent range for normal numbers.
constexpr int32_t kMaxExponent = 16383;
constexpr int32_t kMinExponent = -16382;

struct TUint128 {
  uint64_t hi;
  uint64_t lo;
};

// 64 x 64 -> 128 from 32-bit halves; no compiler extension needed.
TUint128 MultiplyWide(uint64_t a, uint64_t b) {
  const uint64_t aLo = a & 0xFFFFFFFFULL, aHi = a >> 32;
  const uint64_t bLo = b & 0xFFFFFFFFULL, bHi = b >> 32;
  const uint64_t ll = aLo * bLo;
  const uint64_t lh = aLo * bHi;
  const uint64_t hl = aHi * bLo;
  const uint64_t hh = aHi * bHi;
  // Middle column: each term is below 2^32, so three of them cannot overflow.
  const uint64_t middle = (ll >> 32) + (lh & 0xFFFFFFFFULL) + (hl & 0xFFFFFFFFULL);
  TUint128 r;
  r.lo = (middle << 32) | (ll & 0xFFFFFFFFULL);
  r.hi = hh + (lh >> 32) + (hl >> 32) + (middle >> 32);
  return r;
}

int Leading0s(uint64_t v) {
  int n = 0;
  while (!(v & kTopBit)) {
    v <<= 1;
    ++n;
  }
  return n;
}

// Rounds a normalised significand with its round bit and sticky flag to
// nearest-even, then keeps the exponent within the x87 range.
TExt80 Finish(bool negative, uint64_t significand, int64_t exponent, bool roundBit, bool sticky) {
  if (roundBit && (sticky || (significand & 1))) {
    ++significand;
    if (significand == 0) {  // carried out of the top: 1.111... became 10.000...
      significand = kTopBit;
      ++exponent;
    }
  }
  if (exponent > kMaxExponent) return TExt80{negative, ~0ULL, kMaxExponent};
  if (exponent < kMinExponent) return TExt80{negative, 0, 0};
  return TExt80{negative, significand, static_cast<int32_t>(exponent)};
}

uint64_t Magnitude(int64_t v) {
  // Unsigned negation is defined for INT64_MIN as well.
  return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

int64_t Saturated(bool negative) { return negative ? INT64_MIN : INT64_MAX; }

}  // namespace

TExt80 TExt80::FromInt(int64_t value) {
  const uint64_t magnitude = Magnitude(value);
  if (magnitude == 0) return TExt80{};
  const int shift = Leading0s(magnitude);
  return TExt80{value < 0, magnitude << shift, 63 - shift};
}

TExt80 Multiply(const TExt80& a, const TExt80& b) {
  const bool negative = a.negative != b.negative;
  if (a.IsZero() || b.IsZero()) return TExt80{negative, 0, 0};
  const TUint128 p = MultiplyWide(a.significand, b.significand);
  const int64_t exponent = int64_t{a.exponent} + b.exponent;
  // The product of two [2^63, 2^64) significands lies in [2^126, 2^128).
  if (p.hi & kTopBit) {
    return Finish(negative, p.hi, exponent + 1, (p.lo & kTopBit) != 0, (p.lo & ~kTopBit) != 0);
  }
  const uint64_t significand = (p.hi << 1) | (p.lo >> 63);
  const uint64_t rest = p.lo << 1;
  return Finish(negative, significand, exponent, (rest & kTopBit) != 0, (rest & ~kTopBit) != 0);
}

TExt80 Divide(const TExt80& a, const TExt80& b) {
  const bool negative = a.negative != b.negative;
  if (a.IsZero()) return TExt80{negative, 0, 0};
  if (b.IsZero()) return TExt80{a.negative, ~0ULL, kMaxExponent};

  const uint64_t divisor = b.significand;
  uint64_t remainder = a.significand;
  int64_t exponent = int64_t{a.exponent} - b.exponent;
  // Long division, one quotient bit per step; the remainder is 65 bits wide
  // for a moment after the shift, the carry holding its top bit.
  auto nextBit = [&]() {
    const bool carry = (remainder & kTopBit) != 0;
    remainder <<= 1;
    const bool bit = carry || remainder >= divisor;
    if (bit) remainder -= divisor;  // wraps back to the true, smaller value
    return bit;
  };
  uint64_t quotient = 1;
  if (remainder >= divisor) {
    remainder -= divisor;
  } else {
    --exponent;
    nextBit();  // always 1: both significands are normalised
  }
  for (int i = 0; i < 63; ++i) quotient = (quotient << 1) | (nextBit() ? 1 : 0);
  const bool roundBit = nextBit();
  return Finish(negative, quotient, exponent, roundBit, remainder != 0);
}

int64_t RoundHalfEven(const TExt80& value) {
  if (value.IsZero() || value.exponent < -1) return 0;  // below one half
  if (value.exponent >= 63) {
    if (value.negative && value.exponent == 63 && value.significand == kTopBit) return INT64_MIN;
    return Saturated(value.negative);
  }
  uint64_t magnitude;
  if (value.exponent == -1) {
    // [0.5, 1): exactly one half goes to 0, anything above to 1.
    magnitude = value.significand == kTopBit ? 0 : 1;
  } else {
    const int shift = 63 - value.exponent;  // 1..63
    magnitude = value.significand >> shift;
    const uint64_t fraction = value.significand & ((uint64_t{1} << shift) - 1);
    const uint64_t half = uint64_t{1} << (shift - 1);
    if (fraction > half || (fraction == half && (magnitude & 1))) ++magnitude;
  }
  if (magnitude > static_cast<uint64_t>(INT64_MAX)) {
    return value.negative ? INT64_MIN : INT64_MAX;  // only 2^63 gets here
  }
  const int64_t m = static_cast<int64_t>(magnitude);
  return value.negative ? -m : m;
}

int64_t RoundTimes(int64_t value, const TExt80& factor) {
  return RoundHalfEven(Multiply(TExt80::FromInt(value), factor));
}

int64_t RoundQuotient(int64_t num, int64_t den) {
  if (den == 0) return num == 0 ? 0 : Saturated(num < 0);
  return RoundHalfEven(Divide(TExt80::FromInt(num), TExt80::FromInt(den)));
}

int64_t RoundQuotientTimes(int64_t num, int64_t den, int64_t factor) {
  if (den == 0) return (num == 0 || factor == 0) ? 0 : Saturated((num < 0) != (factor < 0));
  const TExt80 quotient = Divide(TExt80::FromInt(num), TExt80::FromInt(den));
  return RoundHalfEven(Multiply(quotient, TExt80::FromInt(factor)));
}

}  // namespace lumeno
