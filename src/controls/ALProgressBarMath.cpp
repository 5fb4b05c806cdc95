#include "controls/ALProgressBarMath.h"

#include <limits>

namespace lumeno::barmath {
namespace {

// A finite non-negative value m * 2^exp. A non-zero m has its top bit set.
struct TExtended {
  uint64_t m = 0;
  int32_t exp = 0;
};

uint64_t Magnitude(int64_t v) {
  // Unsigned negation keeps INT64_MIN defined.
  return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

int BitLength(uint64_t v) {
  int n = 0;
  while (v != 0) {
    ++n;
    v >>= 1;
  }
  return n;
}

// Rounds m to nearest-even given the first dropped bit and whether anything below
// it is set; renormalises when the increment carries out of the top bit.
void RoundToEven(TExtended& x, bool guard, bool sticky) {
  if (guard && (sticky || (x.m & 1u) != 0)) {
    ++x.m;
    if (x.m == 0) {
      x.m = uint64_t{1} << 63;
      ++x.exp;
    }
  }
}

// n / d (d != 0) rounded to 64 significant bits, by long division one bit at a time.
TExtended Divide(uint64_t n, uint64_t d) {
  TExtended q;
  if (n == 0) return q;
  const uint64_t whole = n / d;
  uint64_t r = n % d;  // r < d <= 2^63, so 2r never overflows
  int bits = BitLength(whole);
  q.m = whole;
  q.exp = 0;
  auto nextBit = [&]() -> bool {
    r <<= 1;
    if (r >= d) {
      r -= d;
      return true;
    }
    return false;
  };
  while (bits < 64) {
    const bool bit = nextBit();
    --q.exp;
    if (bits == 0 && !bit) continue;  // still in the leading zeros of the fraction
    q.m = (q.m << 1) | (bit ? 1u : 0u);
    ++bits;
  }
  const bool guard = nextBit();
  RoundToEven(q, guard, r != 0);
  return q;
}

// Full 64 x 64 -> 128 bit product.
void Multiply(uint64_t a, uint64_t b, uint64_t& hi, uint64_t& lo) {
  const uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32;
  const uint64_t bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
  const uint64_t ll = aLo * bLo, lh = aLo * bHi, hl = aHi * bLo, hh = aHi * bHi;
  const uint64_t mid = (ll >> 32) + (lh & 0xFFFFFFFFu) + (hl & 0xFFFFFFFFu);
  lo = (mid << 32) | (ll & 0xFFFFFFFFu);
  hi = hh + (lh >> 32) + (hl >> 32) + (mid >> 32);
}

// x * f rounded to 64 significant bits.
TExtended Times(TExtended x, uint64_t f) {
  TExtended p;
  if (x.m == 0 || f == 0) return p;
  uint64_t hi = 0, lo = 0;
  Multiply(x.m, f, hi, lo);
  p.exp = x.exp;
  if (hi == 0) {
    p.m = lo;  // exact; the caller only needs the value, not normal form
    return p;
  }
  const int shift = BitLength(hi);  // 1..64 bits to drop from the bottom
  const uint64_t dropped = shift == 64 ? lo : lo & ((uint64_t{1} << shift) - 1);
  const uint64_t half = uint64_t{1} << (shift - 1);
  p.m = shift == 64 ? hi : (hi << (64 - shift)) | (lo >> shift);
  p.exp += shift;
  RoundToEven(p, (dropped & half) != 0, (dropped & (half - 1)) != 0);
  return p;
}

// x rounded to an integer, ties to even, saturating at the top of uint64.
uint64_t ToInteger(TExtended x) {
  if (x.m == 0) return 0;
  if (x.exp == 0) return x.m;
  if (x.exp > 0) {
    if (x.exp >= 64 || (x.m >> (64 - x.exp)) != 0) return std::numeric_limits<uint64_t>::max();
    return x.m << x.exp;
  }
  if (x.exp < -64) return 0;  // below a half
  const int s = -x.exp;
  uint64_t whole = s == 64 ? 0 : x.m >> s;
  const uint64_t frac = s == 64 ? x.m : x.m & ((uint64_t{1} << s) - 1);
  const uint64_t half = uint64_t{1} << (s - 1);
  if (frac > half || (frac == half && (whole & 1u) != 0)) ++whole;
  return whole;
}

}  // namespace

int64_t RoundQuotientTimes(int64_t num, int64_t den, int64_t factor) {
  if (den == 0) return 0;
  const bool negative = (num < 0) != (den < 0) ? factor >= 0 : factor < 0;
  const uint64_t mag = ToInteger(Times(Divide(Magnitude(num), Magnitude(den)), Magnitude(factor)));
  constexpr uint64_t kMaxPositive = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (!negative) return mag > kMaxPositive ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(mag);
  if (mag > kMaxPositive) return std::numeric_limits<int64_t>::min();
  return -static_cast<int64_t>(mag);
}

int64_t MulDivHalfAway(int32_t a, int32_t b, int32_t c) {
  if (c == 0) return 0;
  const int64_t p = static_cast<int64_t>(a) * b;
  const uint64_t pm = Magnitude(p), cm = Magnitude(c);
  uint64_t q = pm / cm;
  if ((pm % cm) * 2 >= cm) ++q;
  const bool negative = (p < 0) != (c < 0);
  return negative ? -static_cast<int64_t>(q) : static_cast<int64_t>(q);
}

}  // namespace lumeno::barmath
