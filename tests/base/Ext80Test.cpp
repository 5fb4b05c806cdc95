// The extended-precision model: hand-checked cases first (they hold on every
// compiler), then a pseudo-random sweep checked against the hardware's 80-bit
// long double where there is one and against a digest of its results always.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>

#include "base/Ext80.h"

namespace lumeno {
namespace {

constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();

TEST(Ext80, FromIntIsExactAndNormalised) {
  EXPECT_EQ(TExt80::FromInt(0), TExt80{});
  EXPECT_EQ(TExt80::FromInt(1), (TExt80{false, 0x8000000000000000ULL, 0}));
  EXPECT_EQ(TExt80::FromInt(-6000), (TExt80{true, 0xBB80000000000000ULL, 12}));
  EXPECT_EQ(TExt80::FromInt(kMin64), (TExt80{true, 0x8000000000000000ULL, 63}));
  EXPECT_EQ(TExt80::FromInt(kMax64), (TExt80{false, 0xFFFFFFFFFFFFFFFEULL, 62}));
  EXPECT_EQ(TExt80::FromInt(kMin32), (TExt80{true, 0x8000000000000000ULL, 31}));
}

TEST(Ext80, TenTimesPointZeroFiveIsExactlyOneHalf) {
  EXPECT_EQ(Multiply(TExt80::FromInt(10), kExtPointZeroFive), (TExt80{false, 0x8000000000000000ULL, -1}));
  EXPECT_EQ(RoundTimes(10, kExtPointZeroFive), 0);
  EXPECT_EQ(RoundTimes(30, kExtPointZeroFive), 2);
  EXPECT_EQ(RoundTimes(50, kExtPointZeroFive), 2);
  EXPECT_EQ(RoundTimes(70, kExtPointZeroFive), 4);
}

struct TRoundCase {
  int64_t num, den, factor;
  int64_t quotient;  // RoundQuotient(num, den)
  int64_t scaled;    // RoundQuotientTimes(num, den, factor)
};

// Expected values worked out by hand or with an 80-bit FPU.
const TRoundCase kRoundCases[] = {
    {6000, 11, 1, 545, 545},
    {6000, 12000, 1, 0, 0},      // exactly one half: to even
    {6000, 4000, 1, 2, 2},       // 1.5
    {6000, 2400, 1, 2, 2},       // 2.5
    {-6000, 2400, 1, -2, -2},    // -2.5
    {6000, -12001, 1, 0, 0},
    {1, 3, 3, 0, 1},
    {2, 3, 1, 1, 1},
    // The quotient is rounded to 64 bits before the product: 59/200 x 100 is
    // 29.5 exactly, but the extended quotient lies just below 0.295.
    {59, 200, 100, 0, 29},
    {295, 1000, 100, 0, 29},
    {63, 1000, 500, 0, 31},
    {253, 1000, 500, 0, 127},
    {501, 1000, 500, 1, 251},
    {509, 1000, 500, 1, 255},
    {500, 1000, 100, 0, 50},
    {kMax64, 1, 1, kMax64, kMax64},
    {kMin64, 1, 1, kMin64, kMin64},
    {kMin64, -1, 1, kMax64, kMax64},  // 2^63 saturates
    {kMin64, -1, -1, kMax64, kMin64},
    {kMax64, 2, 1, 4611686018427387904, 4611686018427387904},  // 2^62 - 0.5 to even
    {kMax64, kMin64, 1, -1, -1},
    {kMin64, kMax64, 1, -1, -1},
    {kMax64, kMax64, kMax64, 1, kMax64},
    {kMax64, 1, 2, kMax64, kMax64},
    {kMin64, 1, 2, kMin64, kMin64},
    {kMax32, kMin32, 100, -1, -100},
    {1, kMax64, kMax64, 0, 1},
    {3, 1, kMin64 / 4, 3, kMin64 / 4 * 3},
    // Division by zero saturates and never traps.
    {5, 0, 1, kMax64, kMax64},
    {-5, 0, 1, kMin64, kMin64},
    {-5, 0, -1, kMin64, kMax64},
    {0, 0, 7, 0, 0},
    {5, 0, 0, kMax64, 0},
};

TEST(Ext80, RoundQuotientTable) {
  for (const TRoundCase& c : kRoundCases) {
    SCOPED_TRACE(testing::Message() << c.num << " / " << c.den << " x " << c.factor);
    EXPECT_EQ(RoundQuotient(c.num, c.den), c.quotient);
    EXPECT_EQ(RoundQuotientTimes(c.num, c.den, c.factor), c.scaled);
  }
}

TEST(Ext80, RoundHalfEvenAtTheEdges) {
  const struct {
    TExt80 value;
    int64_t expected;
  } cases[] = {
      {{false, 0x8000000000000000ULL, -1}, 0},        // 0.5
      {{false, 0x8000000000000001ULL, -1}, 1},        // just above 0.5
      {{true, 0xFFFFFFFFFFFFFFFFULL, -2}, 0},         // just below -0.5
      {{false, 0xC000000000000000ULL, 0}, 2},         // 1.5
      {{true, 0xA000000000000000ULL, 1}, -2},         // -2.5
      {{false, 0xFFFFFFFFFFFFFFFFULL, 62}, kMax64},   // 2^63 - 0.5 rounds to 2^63
      {{true, 0xFFFFFFFFFFFFFFFFULL, 62}, kMin64},    // and its negative is INT64_MIN
      {{false, 0xFFFFFFFFFFFFFFFEULL, 62}, kMax64},   // 2^63 - 1 exactly
      {{true, 0x8000000000000000ULL, 63}, kMin64},
      {{false, 0x8000000000000000ULL, 63}, kMax64},
      {{true, 0x8000000000000001ULL, 63}, kMin64},
      {{false, 0x8000000000000000ULL, 16383}, kMax64},
      {{false, 0x8000000000000000ULL, -16382}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.value.significand << " e" << std::dec << c.value.exponent);
    EXPECT_EQ(RoundHalfEven(c.value), c.expected);
  }
}

TEST(Ext80, ExponentRangeSaturatesAndFlushesWithoutTrapping) {
  TExt80 big{false, 0xFFFFFFFFFFFFFFFFULL, 16000};
  const TExt80 huge = Multiply(big, big);
  EXPECT_EQ(huge, (TExt80{false, 0xFFFFFFFFFFFFFFFFULL, 16383}));
  EXPECT_EQ(Divide(TExt80::FromInt(1), huge), TExt80{});
  EXPECT_EQ(Divide(TExt80::FromInt(-3), TExt80{}), (TExt80{true, 0xFFFFFFFFFFFFFFFFULL, 16383}));
  EXPECT_TRUE(Divide(TExt80{}, TExt80{}).IsZero());
}

// Deterministic on every platform, so the digest below is the same everywhere.
struct TSplitMix {
  uint64_t state;
  uint64_t Next() {
    uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Mixes extremes, small values, powers of two and every magnitude.
  int64_t Operand() {
    static const int64_t kEdges[] = {0, 1, -1, 2, -2, 3, 10, 1000, 6000, kMin32, kMax32,
                                     kMin32 + 1, kMax32 - 1, kMin64, kMax64, kMin64 + 1, kMax64 - 1};
    const uint64_t pick = Next();
    switch (pick % 6) {
      case 0: return kEdges[(pick >> 8) % (sizeof(kEdges) / sizeof(kEdges[0]))];
      case 1: return static_cast<int64_t>(Next() % 4001) - 2000;
      case 2: {
        const uint64_t p = uint64_t{1} << ((pick >> 8) % 63);
        return static_cast<int64_t>(p + ((pick >> 16) % 3) - 1) * ((pick & 0x80) ? -1 : 1);
      }
      case 3: return static_cast<int32_t>(static_cast<uint32_t>(Next()));
      case 4: return static_cast<int64_t>(Next() >> ((pick >> 8) % 64));
      default: return static_cast<int64_t>(Next());
    }
  }
};

struct TDigest {
  uint64_t value = 0xCBF29CE484222325ULL;
  void Add(uint64_t v) {
    for (int i = 0; i < 8; ++i) {
      value ^= (v >> (8 * i)) & 0xFF;
      value *= 0x100000001B3ULL;
    }
  }
  void Add(const TExt80& e) {
    Add(e.negative ? 1 : 0);
    Add(e.significand);
    Add(static_cast<uint64_t>(static_cast<int64_t>(e.exponent)));
  }
};

#if LDBL_MANT_DIG == 64
constexpr bool kHardwareExtended = true;
long double ToLongDouble(const TExt80& e) {
  const long double m = std::ldexp(static_cast<long double>(e.significand), e.exponent - 63);
  return e.negative ? -m : m;
}
// Only compared where the hardware conversion is defined.
bool InInt64Range(long double v) { return v > -9223372036854775808.0L && v < 9223372036854775808.0L; }
#else
constexpr bool kHardwareExtended = false;
#endif

// Recorded on an x86 FPU, whose results the sweep also checks one by one there.
constexpr uint64_t kSweepDigest = 6333414177371908837ULL;

TEST(Ext80, PseudoRandomSweepMatchesTheX87) {
  TSplitMix rng{20240601};
  TDigest digest;
  int mismatches = 0;
  for (int i = 0; i < 200000; ++i) {
    const int64_t a = rng.Operand();
    int64_t b = rng.Operand();
    const int64_t c = rng.Operand();
    if (b == 0) b = 7;
    const TExt80 ea = TExt80::FromInt(a), eb = TExt80::FromInt(b), ec = TExt80::FromInt(c);
    const TExt80 quotient = Divide(ea, eb);
    const TExt80 product = Multiply(ea, ec);
    const TExt80 chained = Multiply(quotient, ec);
    const int64_t rq = RoundQuotient(a, b);
    const int64_t rqt = RoundQuotientTimes(a, b, c);
    const int64_t six = RoundTimes(static_cast<int32_t>(a), kExtPointSix);
    const int64_t twentieth = RoundTimes(c, kExtPointZeroFive);
    // A random extended value near the integer range, for the rounding alone.
    const TExt80 loose{(rng.Next() & 1) != 0, rng.Next() | 0x8000000000000000ULL,
                       static_cast<int32_t>(rng.Next() % 70) - 3};
    const int64_t rounded = RoundHalfEven(loose);
    for (const TExt80& e : {quotient, product, chained}) digest.Add(e);
    for (int64_t r : {rq, rqt, six, twentieth, rounded}) digest.Add(static_cast<uint64_t>(r));

#if LDBL_MANT_DIG == 64
    const long double la = a, lb = b, lc = c;
    const long double lq = la / lb, lp = la * lc, lch = lq * lc;
    const long double l6 = static_cast<long double>(static_cast<int32_t>(a)) * ToLongDouble(kExtPointSix);
    const long double l05 = lc * ToLongDouble(kExtPointZeroFive);
    const long double ll = ToLongDouble(loose);
    bool ok = ToLongDouble(ea) == la && ToLongDouble(quotient) == lq && ToLongDouble(product) == lp &&
              ToLongDouble(chained) == lch;
    const struct {
      long double exact;
      int64_t got;
    } roundings[] = {{lq, rq}, {lch, rqt}, {l6, six}, {l05, twentieth}, {ll, rounded}};
    for (const auto& r : roundings) {
      if (InInt64Range(r.exact)) {
        ok = ok && std::llrint(r.exact) == r.got;
      } else {
        ok = ok && r.got == (r.exact < 0 ? kMin64 : kMax64);
      }
    }
    if (!ok && ++mismatches <= 5) {
      ADD_FAILURE() << "differs from the FPU for a=" << a << " b=" << b << " c=" << c << " loose="
                    << std::hex << loose.significand << std::dec << "e" << loose.exponent;
    }
#endif
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(digest.value, kSweepDigest) << "hardware extended: " << kHardwareExtended;
}

}  // namespace
}  // namespace lumeno
