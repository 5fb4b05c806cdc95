// Makes the two breathing sounds, in.wav and ex.wav, and the bell that ends a
// session, end.wav, into the folder given as the only argument. Runs on the
// build host (plain C++17, no platform calls).
//
// Each sound is a soft chord gliding endlessly (a Shepard-Risset glissando):
// up for breathing in, lower and down for breathing out, with a gentle swell
// and a breath of filtered noise. It loops without a seam: every partial
// starts at phase 0 and has made a whole number of turns when the file ends,
// the glide has moved the chord by exactly one octave, which maps it onto
// itself, and the noise fades to nothing at both ends. The first sample is 0,
// so a start from silence does not click either.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 8000;
constexpr double kSeconds = 6.0;  // one loop, one octave of glide
constexpr int kSamples = static_cast<int>(kSampleRate * kSeconds);
constexpr double kPi = 3.14159265358979323846;
constexpr double kLn2 = 0.69314718055994530942;

struct TSoundSpec {
  const char* fileName;
  bool rising;
  // Lowest partial: base * 2^k * T / ln 2 must be a whole number of turns
  // (half turns when falling) for every layer, so base = n * ln 2 / T with
  // n a multiple of 16.
  int baseTurns;
  // The chord's spectral window, Hz: partials fade in and out at its edges.
  double windowLow, windowHigh;
  double noiseCentre;  // Hz, the breath's colour
  double noiseLevel;
  double swellPeak;  // where in the loop the sound is loudest, 0..1
};

// Root, major third and fifth: each layer is a stack of octaves.
struct TLayer {
  double ratio, weight;
};
constexpr TLayer kLayers[] = {{1.0, 1.0}, {1.25, 0.35}, {1.5, 0.6}};

double Window(double frequency, double low, double high) {
  if (frequency <= low || frequency >= high) return 0.0;
  const double s = std::sin(kPi * std::log2(frequency / low) / std::log2(high / low));
  return s * s * s * s;
}

// Small deterministic generator: the same noise on every host.
class TNoise {
 public:
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0 * 2.0 - 1.0;
  }

 private:
  std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

std::vector<double> Chord(const TSoundSpec& spec) {
  std::vector<double> out(kSamples, 0.0);
  const double base = spec.baseTurns * kLn2 / kSeconds;
  for (const TLayer& layer : kLayers) {
    // Partials from an octave below the window to an octave above it.
    for (int k = -2; layer.ratio * base * std::ldexp(1.0, k) < spec.windowHigh * 2.0; ++k) {
      const double start = layer.ratio * base * std::ldexp(1.0, k);
      const double turnsPerLoop = start * kSeconds / kLn2 * (spec.rising ? 1.0 : 0.5);
      if (std::fabs(turnsPerLoop - std::round(turnsPerLoop)) > 1e-9) {
        // A partial that is audible at the loop point must end where it began.
        const double endFrequency = spec.rising ? start * 2.0 : start * 0.5;
        if (Window(endFrequency, spec.windowLow, spec.windowHigh) > 0.0) {
          std::fprintf(stderr, "soundgen: partial at %.3f Hz does not loop\n", start);
          std::exit(2);
        }
      }
      for (int n = 0; n < kSamples; ++n) {
        const double t = static_cast<double>(n) / kSampleRate;
        const double glide = spec.rising ? std::exp2(t / kSeconds) : std::exp2(-t / kSeconds);
        const double frequency = start * glide;
        const double amplitude = layer.weight * Window(frequency, spec.windowLow, spec.windowHigh);
        if (amplitude == 0.0) continue;
        const double turns = start * kSeconds / kLn2 * (spec.rising ? glide - 1.0 : 1.0 - glide);
        out[n] += amplitude * std::sin(2.0 * kPi * (turns - std::floor(turns)));
      }
    }
  }
  return out;
}

// The swell over one loop: 0 at both ends, 1 at the peak, smooth (zero
// slope) at the ends and at the peak.
double Swell(double u, double peak) {
  if (u < peak) return std::pow(std::sin(kPi / 2 * u / peak), 2.0);
  return std::pow(std::cos(kPi / 2 * (u - peak) / (1.0 - peak)), 2.0);
}

// Band-passed noise (one biquad); the swell brings it to nothing at both ends.
std::vector<double> Breath(const TSoundSpec& spec) {
  const double w = 2.0 * kPi * spec.noiseCentre / kSampleRate;
  const double q = 0.8;
  const double alpha = std::sin(w) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  const double b0 = alpha / a0, b2 = -alpha / a0;
  const double a1 = -2.0 * std::cos(w) / a0, a2 = (1.0 - alpha) / a0;
  TNoise noise;
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  // Let the filter settle before the part that is kept.
  std::vector<double> out(kSamples);
  for (int n = -kSampleRate; n < kSamples; ++n) {
    const double x = noise.Next();
    const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    if (n >= 0) out[n] = y * Swell(static_cast<double>(n) / kSamples, spec.swellPeak);
  }
  return out;
}

bool WriteWave(const std::string& path, const std::vector<std::int16_t>& samples) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  auto u32 = [&](std::uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, file);
  };
  auto u16 = [&](std::uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, file);
  };
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::fwrite("RIFF", 1, 4, file);
  u32(36 + dataBytes);
  std::fwrite("WAVEfmt ", 1, 8, file);
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(kSampleRate);
  u32(kSampleRate * 2);
  u16(2);
  u16(16);
  std::fwrite("data", 1, 4, file);
  u32(dataBytes);
  for (std::int16_t s : samples) u16(static_cast<std::uint16_t>(s));
  const bool ok = std::ferror(file) == 0;
  return std::fclose(file) == 0 && ok;
}

bool MakeSound(const TSoundSpec& spec, const std::string& folder) {
  const std::vector<double> chord = Chord(spec);
  const std::vector<double> breath = Breath(spec);
  double chordPeak = 0, breathPeak = 0;
  for (int n = 0; n < kSamples; ++n) {
    chordPeak = std::max(chordPeak, std::fabs(chord[n]));
    breathPeak = std::max(breathPeak, std::fabs(breath[n]));
  }
  std::vector<double> mix(kSamples);
  double peak = 0;
  for (int n = 0; n < kSamples; ++n) {
    // The chord never quite stops, so a long phase hears a soft pulse rather
    // than a gap at the loop point; it starts quiet, so a start does not click.
    const double swell = 0.12 + 0.88 * Swell(static_cast<double>(n) / kSamples, spec.swellPeak);
    mix[n] = swell * chord[n] / chordPeak + spec.noiseLevel * breath[n] / breathPeak;
    peak = std::max(peak, std::fabs(mix[n]));
  }
  // Soft: the loudest sample sits at half of full scale.
  std::vector<std::int16_t> samples(kSamples);
  for (int n = 0; n < kSamples; ++n)
    samples[n] = static_cast<std::int16_t>(std::lround(mix[n] / peak * 0.5 * 32767.0));
  return WriteWave(folder + "/" + spec.fileName, samples);
}

// A soft bell struck once: a few inharmonic partials, each dying away at its
// own pace, a gentle strike instead of a click, and a fade to silence by the
// end of the file.
bool MakeBell(const std::string& folder) {
  constexpr double kBellSeconds = 3.0;
  constexpr int kBellSamples = static_cast<int>(kSampleRate * kBellSeconds);
  struct TPartial {
    double ratio, weight, decay;  // decay: per second
  };
  constexpr double kStrike = 523.25;  // C5
  constexpr TPartial kPartials[] = {
      {0.5, 0.35, 1.2}, {1.0, 1.0, 1.6}, {1.19, 0.3, 2.2}, {1.56, 0.25, 2.6}, {2.0, 0.3, 3.0}, {2.74, 0.12, 4.0}};
  std::vector<double> mix(kBellSamples);
  double peak = 0;
  for (int n = 0; n < kBellSamples; ++n) {
    const double t = static_cast<double>(n) / kSampleRate;
    double v = 0;
    for (const TPartial& p : kPartials)
      v += p.weight * std::exp(-p.decay * t) * std::sin(2.0 * kPi * kStrike * p.ratio * t);
    const double strike = std::min(1.0, t / 0.008);
    // The last half second goes smoothly to nothing.
    const double tail = std::min(1.0, (kBellSeconds - t) / 0.5);
    mix[n] = v * strike * std::sin(kPi / 2 * tail);
    peak = std::max(peak, std::fabs(mix[n]));
  }
  std::vector<std::int16_t> samples(kBellSamples);
  for (int n = 0; n < kBellSamples; ++n)
    samples[n] = static_cast<std::int16_t>(std::lround(mix[n] / peak * 0.5 * 32767.0));
  return WriteWave(folder + "/end.wav", samples);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: soundgen OUTPUT_FOLDER\n");
    return 1;
  }
  const TSoundSpec sounds[] = {
      // Breathing in swells over the first half (a default inhale is 3 s).
      {"in.wav", true, 576, 70.0, 3200.0, 1400.0, 0.22, 0.5},
      // Breathing out comes in quickly and fades away slowly.
      {"ex.wav", false, 384, 45.0, 1800.0, 650.0, 0.25, 0.12},
  };
  for (const TSoundSpec& spec : sounds) {
    if (!MakeSound(spec, argv[1])) {
      std::fprintf(stderr, "soundgen: cannot write %s/%s\n", argv[1], spec.fileName);
      return 1;
    }
  }
  if (!MakeBell(argv[1])) {
    std::fprintf(stderr, "soundgen: cannot write %s/end.wav\n", argv[1]);
    return 1;
  }
  return 0;
}
