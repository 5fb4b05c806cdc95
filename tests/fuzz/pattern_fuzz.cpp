// The breathing pattern from any starting state through any sequence of arrow
// presses, recomputations, splits and defaults. After every step the rules'
// invariants must hold: the cycle is the (32-bit wrapped) sum of the phases
// after a recomputation (1, with the inhale made 1, where that sum is 0), a down press never leaves less than 1, a split adds
// up to its cycle with both holds equal, and each rounding lies within half a
// unit of the exact result.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "exercise/BreathingPattern.h"

namespace {

using lumeno::TBreathingPattern;
using lumeno::TStep;

[[noreturn]] void Fail(const char* what, const TBreathingPattern& p, int64_t detail) {
  std::fprintf(stderr, "pattern invariant broken: %s (%lld); in %d out %d holdIn %d holdOut %d cycle %d bpm %d\n",
               what, static_cast<long long>(detail), p.FBreathIn, p.FBreathOut, p.FHoldIn, p.FHoldOut, p.FCycle,
               p.FBpm);
  std::abort();
}

int32_t Wrapped(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

int32_t Stepped(int32_t v, TStep step) {
  if (step == TStep::Up) return Wrapped(int64_t{v} + 1);
  return v < 3 ? 1 : v - 1;
}

// round(6000 / d) with halves to even, exactly; 0 for d = 0 (the program's
// choice for the one division by zero the rules allow).
int32_t SixThousandOver(int32_t d) {
  if (d == 0) return 0;
  const int64_t den = d;
  int64_t q = 6000 / den;
  const int64_t r = 6000 % den;  // same sign as 6000
  const int64_t twice = 2 * r, mag = den < 0 ? -den : den;
  if (twice > mag || (twice == mag && (q & 1) != 0)) q += (den < 0 ? -1 : 1);
  return static_cast<int32_t>(q);
}

// After przeliczCykl on phases `before`: the cycle is their sum; a sum of 0
// (all four 0, or wrapping to 0) instead makes the inhale 1 and the cycle 1,
// so that the rate is always defined. The rate comes from the cycle.
void CheckRecomputed(const TBreathingPattern& p, const TBreathingPattern& before) {
  const int32_t sum = Wrapped(int64_t{before.FBreathIn} + before.FBreathOut + before.FHoldIn + before.FHoldOut);
  const int32_t in = sum == 0 ? 1 : before.FBreathIn;
  if (p.FBreathIn != in || p.FBreathOut != before.FBreathOut || p.FHoldIn != before.FHoldIn ||
      p.FHoldOut != before.FHoldOut) {
    Fail("recomputing changed a phase", p, sum);
  }
  if (p.FCycle != (sum == 0 ? 1 : sum)) Fail("cycle is not the sum of the phases", p, sum);
  if (p.FBpm != SixThousandOver(p.FCycle)) Fail("rate is not round(6000 / cycle)", p, SixThousandOver(p.FCycle));
}

// After a split of c: exhale within half a unit of 0.6 c, both holds equal and
// within half a unit of 0.05 c, and the four adding up to c.
void CheckSplit(const TBreathingPattern& p, int32_t c) {
  if (p.FHoldIn != p.FHoldOut) Fail("holds differ", p, c);
  const int64_t outError = int64_t{10} * p.FBreathOut - int64_t{6} * c;  // 10 (out - 0.6 c)
  if (outError < -5 || outError > 5) Fail("exhale is not round(0.6 c)", p, c);
  const int64_t holdError = int64_t{20} * p.FHoldIn - c;  // 20 (hold - 0.05 c)
  if (holdError < -10 || holdError > 10) Fail("hold is not round(0.05 c)", p, c);
  if (Wrapped(int64_t{p.FBreathIn} + p.FBreathOut + p.FHoldIn + p.FHoldOut) != c) Fail("split does not add up", p, c);
}

void CheckPhaseStep(TBreathingPattern& p, int32_t TBreathingPattern::*field, void (TBreathingPattern::*press)(TStep),
                    TStep step) {
  TBreathingPattern stepped = p;
  stepped.*field = Stepped(p.*field, step);
  (p.*press)(step);
  if (step == TStep::Down && p.*field < 1) Fail("down press went below 1", p, p.*field);
  // The pressed phase (and only it) took the step before the recomputation.
  CheckRecomputed(p, stepped);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  TBreathingPattern p;
  p.FBreathIn = in.ConsumeIntegral<int32_t>();
  p.FBreathOut = in.ConsumeIntegral<int32_t>();
  p.FHoldIn = in.ConsumeIntegral<int32_t>();
  p.FHoldOut = in.ConsumeIntegral<int32_t>();
  p.FCycle = in.ConsumeIntegral<int32_t>();
  p.FBpm = in.ConsumeIntegral<int32_t>();

  static int32_t TBreathingPattern::*const kPhases[] = {&TBreathingPattern::FBreathIn, &TBreathingPattern::FBreathOut,
                                                        &TBreathingPattern::FHoldIn, &TBreathingPattern::FHoldOut};
  static void (TBreathingPattern::*const kPresses[])(TStep) = {
      &TBreathingPattern::StepBreathIn, &TBreathingPattern::StepBreathOut, &TBreathingPattern::StepHoldIn,
      &TBreathingPattern::StepHoldOut};

  while (in.remaining_bytes() > 0) {
    const uint8_t op = in.ConsumeIntegral<uint8_t>();
    const TStep step = (op & 1) != 0 ? TStep::Down : TStep::Up;
    switch ((op >> 1) % 9) {
      case 0: case 1: case 2: case 3:
        CheckPhaseStep(p, kPhases[(op >> 1) % 9], kPresses[(op >> 1) % 9], step);
        break;
      case 4: {  // the cycle's arrows
        const int32_t expected = Stepped(p.FCycle, step);
        p.StepCycle(step);
        if (p.FCycle != expected) Fail("cycle press broke the step rule", p, expected);
        CheckSplit(p, p.FCycle);
        if (p.FBpm != SixThousandOver(p.FCycle)) Fail("rate after a cycle press", p, p.FCycle);
        break;
      }
      case 5: {  // the rate's arrows
        const int32_t expected = Stepped(p.FBpm, step);
        p.StepBpm(step);
        if (p.FBpm != expected) Fail("rate press broke the step rule", p, expected);
        if (p.FCycle != SixThousandOver(p.FBpm)) Fail("cycle after a rate press", p, SixThousandOver(p.FBpm));
        CheckSplit(p, p.FCycle);
        break;
      }
      case 6: {
        const TBreathingPattern before = p;
        p.przeliczCykl();
        CheckRecomputed(p, before);
        break;
      }
      case 7: {  // a split of any cycle
        const int32_t c = in.ConsumeIntegral<int32_t>();
        p.Split(c);
        CheckSplit(p, c);
        break;
      }
      case 8:
        p.ApplyDefaults();
        if (p.FBreathIn != 30 || p.FHoldIn != 5 || p.FBreathOut != 60 || p.FHoldOut != 5 || p.FCycle != 100 ||
            p.FBpm != 60) {
          Fail("defaults", p, 0);
        }
        break;
    }
  }
  return 0;
}
