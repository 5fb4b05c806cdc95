// An exact software model of the x87 80-bit extended format, so that every
// rounding the program does comes out the same with any compiler, whether its
// long double is 80-bit (GCC, mingw-w64) or 64-bit (MSVC).
//
// Only what the program needs is modelled: conversion from int64 (exact),
// multiplication and division rounded to nearest-even at 64 significant bits,
// and rounding to an integer with halves to even. There are no infinities,
// NaNs or denormals: a result beyond the x87 exponent range saturates to the
// largest finite value or flushes to zero (the helpers below never get there).
#pragma once

#include <cstdint>

namespace lumeno {

struct TExt80 {
  bool negative = false;
  // 0 for zero, otherwise normalised: the top bit is set.
  uint64_t significand = 0;
  // value = significand * 2^(exponent - 63), so 1.0 has exponent 0.
  int32_t exponent = 0;

  bool IsZero() const { return significand == 0; }
  static TExt80 FromInt(int64_t value);

  friend bool operator==(const TExt80&, const TExt80&) = default;
};

// The nearest extended values to 0.6 and 0.05; both lie a hair above.
inline constexpr TExt80 kExtPointSix{false, 0x999999999999999AULL, -1};
inline constexpr TExt80 kExtPointZeroFive{false, 0xCCCCCCCCCCCCCCCDULL, -5};

TExt80 Multiply(const TExt80& a, const TExt80& b);
// Division by zero gives the largest finite value with the dividend's sign
// (zero for 0 / 0); callers that care check the divisor first.
TExt80 Divide(const TExt80& a, const TExt80& b);

// Nearest int64, halves to even. Values beyond the int64 range saturate to
// INT64_MIN / INT64_MAX.
int64_t RoundHalfEven(const TExt80& value);

// round(ext(value) * factor).
int64_t RoundTimes(int64_t value, const TExt80& factor);
// round(ext(num) / ext(den)). den == 0 saturates by the sign of num (0 for 0 / 0).
int64_t RoundQuotient(int64_t num, int64_t den);
// round(ext(ext(num) / ext(den)) * ext(factor)), each step rounded to 64 bits.
// den == 0 saturates by the sign of num * factor (0 when either is 0).
int64_t RoundQuotientTimes(int64_t num, int64_t den, int64_t factor);

}  // namespace lumeno
