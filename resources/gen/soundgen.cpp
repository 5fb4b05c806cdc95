// Makes the breathing sounds into the folder given as the only argument:
// in.wav and ex.wav there with the bell that ends a session, end.wav, and the
// other sets and every set's pause cue in its "sounds" folder, which must
// exist. Runs on the build host (plain C++17, no platform calls).
//
// Each sound is a soft chord gliding endlessly (a Shepard-Risset glissando):
// up for breathing in, lower and down for breathing out, with a gentle swell
// and a breath of filtered noise. It loops without a seam: every partial
// starts at phase 0 and has made a whole number of turns when the file ends,
// the glide has moved the chord by exactly one octave, which maps it onto
// itself, and the noise fades to nothing at both ends. The first sample is 0,
// so a start from silence does not click either.
//
// The other loops are seamless the same way: every partial makes a whole
// number of turns per loop and the swell repeats with the loop. The cues are
// short and soft, rise without a click and fade to nothing before they end.
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
  explicit TNoise(std::uint64_t seed) : state_(seed) {}
  double Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0 * 2.0 - 1.0;
  }

 private:
  std::uint64_t state_;
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

// The swell of sample n above a floor: a long phase hears a soft pulse rather
// than a gap at the loop point, and a start is quiet, so it does not click.
double HeldSwell(int n, double peak) { return 0.12 + 0.88 * Swell(static_cast<double>(n) / kSamples, peak); }

double Peak(const std::vector<double>& samples) {
  double peak = 0;
  for (double v : samples) peak = std::max(peak, std::fabs(v));
  return peak;
}

// White noise through one band-pass biquad, settled for a second first.
std::vector<double> BandNoise(double centre, double q, std::uint64_t seed) {
  const double w = 2.0 * kPi * centre / kSampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  const double b0 = alpha / a0, b2 = -alpha / a0;
  const double a1 = -2.0 * std::cos(w) / a0, a2 = (1.0 - alpha) / a0;
  TNoise noise(seed);
  double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  std::vector<double> out(kSamples);
  for (int n = -kSampleRate; n < kSamples; ++n) {
    const double x = noise.Next();
    const double y = b0 * x + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    if (n >= 0) out[n] = y;
  }
  return out;
}

// Band-passed noise; the swell brings it to nothing at both ends.
std::vector<double> Breath(const TSoundSpec& spec) {
  std::vector<double> out = BandNoise(spec.noiseCentre, 0.8, 0x9E3779B97F4A7C15ull);
  for (int n = 0; n < kSamples; ++n) out[n] = out[n] * Swell(static_cast<double>(n) / kSamples, spec.swellPeak);
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

// Scales the loudest sample to level (of full scale) and writes the file.
bool WriteScaled(const std::string& path, const std::vector<double>& mix, double level) {
  const double peak = Peak(mix);
  std::vector<std::int16_t> samples(mix.size());
  for (std::size_t n = 0; n < mix.size(); ++n)
    samples[n] = static_cast<std::int16_t>(std::lround(mix[n] / peak * level * 32767.0));
  return WriteWave(path, samples);
}

bool MakeSound(const TSoundSpec& spec, const std::string& folder) {
  const std::vector<double> chord = Chord(spec);
  const std::vector<double> breath = Breath(spec);
  const double chordPeak = Peak(chord), breathPeak = Peak(breath);
  std::vector<double> mix(kSamples);
  for (int n = 0; n < kSamples; ++n)
    mix[n] = HeldSwell(n, spec.swellPeak) * chord[n] / chordPeak + spec.noiseLevel * breath[n] / breathPeak;
  // Soft: the loudest sample sits at half of full scale.
  return WriteScaled(folder + "/" + spec.fileName, mix, 0.5);
}

// A singing bowl held by a soft swell. Each partial sounds as a pair a few
// turns per loop apart, so it beats slowly, as a struck bowl does, and the
// beating repeats with the loop.
struct TBowlSpec {
  const char* fileName;
  int fundamentalTurns;  // per loop: the pitch (turns / kSeconds Hz)
  double swellPeak;
};

bool MakeBowl(const TBowlSpec& spec, const std::string& folder) {
  struct TPartial {
    double ratio, weight;
    int beatTurns;
  };
  // A bowl's partials are not harmonic.
  static const TPartial kPartials[] = {{1.0, 1.0, 2}, {2.71, 0.5, 3}, {5.18, 0.2, 5}, {8.45, 0.08, 7}};
  std::vector<double> mix(kSamples, 0.0);
  for (const TPartial& partial : kPartials) {
    const double turns = std::round(spec.fundamentalTurns * partial.ratio);
    for (int n = 0; n < kSamples; ++n) {
      const double u = static_cast<double>(n) / kSamples;
      mix[n] += partial.weight * 0.5 *
                (std::sin(2.0 * kPi * std::fmod(turns * u, 1.0)) +
                 std::sin(2.0 * kPi * std::fmod((turns + partial.beatTurns) * u, 1.0)));
    }
  }
  for (int n = 0; n < kSamples; ++n) mix[n] *= HeldSwell(n, spec.swellPeak);
  return WriteScaled(folder + "/" + spec.fileName, mix, 0.5);
}

// A wave on a beach: a low wash and a brighter hiss that rise to the swell's
// peak and fall away to silence at both ends of the loop.
struct TSurfSpec {
  const char* fileName;
  double washCentre, hissCentre;  // Hz
  double swellPeak;
  std::uint64_t seed;
};

bool MakeSurf(const TSurfSpec& spec, const std::string& folder) {
  const std::vector<double> wash = BandNoise(spec.washCentre, 0.7, spec.seed);
  const std::vector<double> hiss = BandNoise(spec.hissCentre, 1.0, spec.seed ^ 0x5DEECE66Dull);
  std::vector<double> mix(kSamples);
  for (int n = 0; n < kSamples; ++n) {
    const double swell = Swell(static_cast<double>(n) / kSamples, spec.swellPeak);
    // The hiss only near the crest.
    mix[n] = swell * wash[n] + 0.6 * swell * swell * hiss[n];
  }
  return WriteScaled(folder + "/" + spec.fileName, mix, 0.5);
}

// A short soft cue: a few partials that rise in 10 ms, die away and are
// faded to nothing over the last 40 ms.
struct TCueSpec {
  const char* fileName;
  double seconds;
  double frequency;  // Hz, of the first partial
  double glide;      // pitch at the end over pitch at the start
  double decay;      // per second
  double ratios[3], weights[3];
};

bool MakeCue(const TCueSpec& spec, const std::string& folder) {
  const int samples = static_cast<int>(spec.seconds * kSampleRate);
  const double attack = 0.01, fade = 0.04;
  std::vector<double> mix(samples);
  double phase = 0;  // turns of the first partial
  for (int n = 0; n < samples; ++n) {
    const double t = static_cast<double>(n) / kSampleRate;
    double envelope = std::exp(-spec.decay * t);
    if (t < attack) envelope *= std::pow(std::sin(kPi / 2 * t / attack), 2.0);
    if (t > spec.seconds - fade) envelope *= std::pow(std::cos(kPi / 2 * (t - (spec.seconds - fade)) / fade), 2.0);
    double v = 0;
    for (int k = 0; k < 3; ++k) v += spec.weights[k] * std::sin(2.0 * kPi * std::fmod(phase * spec.ratios[k], 1.0));
    mix[n] = envelope * v;
    phase += spec.frequency * std::pow(spec.glide, t / spec.seconds) / kSampleRate;
  }
  // Softer than the loops: it comes on its own, in a quiet pause.
  return WriteScaled(folder + "/" + spec.fileName, mix, 0.4);
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
  for (int n = 0; n < kBellSamples; ++n) {
    const double t = static_cast<double>(n) / kSampleRate;
    double v = 0;
    for (const TPartial& p : kPartials)
      v += p.weight * std::exp(-p.decay * t) * std::sin(2.0 * kPi * kStrike * p.ratio * t);
    const double strike = std::min(1.0, t / 0.008);
    // The last half second goes smoothly to nothing.
    const double tail = std::min(1.0, (kBellSeconds - t) / 0.5);
    mix[n] = v * strike * std::sin(kPi / 2 * tail);
  }
  return WriteScaled(folder + "/end.wav", mix, 0.5);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: soundgen OUTPUT_FOLDER\n");
    return 1;
  }
  const std::string folder = argv[1];
  bool ok = true;
  const TSoundSpec sounds[] = {
      // Breathing in swells over the first half (a default inhale is 3 s).
      {"in.wav", true, 576, 70.0, 3200.0, 1400.0, 0.22, 0.5},
      // Breathing out comes in quickly and fades away slowly.
      {"ex.wav", false, 384, 45.0, 1800.0, 650.0, 0.25, 0.12},
  };
  for (const TSoundSpec& spec : sounds) ok = MakeSound(spec, folder) && ok;
  // About G3 breathing in, D3 breathing out.
  ok = MakeBowl({"sounds/bowl-in.wav", 1176, 0.5}, folder) && ok;
  ok = MakeBowl({"sounds/bowl-ex.wav", 882, 0.15}, folder) && ok;
  // The wave rolls in with the breath in and draws back with the breath out.
  ok = MakeSurf({"sounds/surf-in.wav", 420.0, 1700.0, 0.45, 0x243F6A8885A308D3ull}, folder) && ok;
  ok = MakeSurf({"sounds/surf-ex.wav", 300.0, 1200.0, 0.2, 0x13198A2E03707344ull}, folder) && ok;
  const TCueSpec cues[] = {
      {"sounds/tones-cue.wav", 0.35, 880.0, 1.0, 6.0, {1.0, 1.5, 2.0}, {1.0, 0.4, 0.1}},
      {"sounds/bowl-cue.wav", 0.45, 523.0, 1.0, 5.0, {1.0, 2.71, 5.18}, {1.0, 0.4, 0.12}},
      // A drop of water: a pure tone that rises a little.
      {"sounds/surf-cue.wav", 0.3, 700.0, 1.3, 9.0, {1.0, 2.0, 3.0}, {1.0, 0.15, 0.0}},
  };
  for (const TCueSpec& spec : cues) ok = MakeCue(spec, folder) && ok;
  ok = MakeBell(folder) && ok;
  if (!ok) {
    std::fprintf(stderr, "soundgen: cannot write every sound into %s (and %s/sounds)\n", argv[1], argv[1]);
    return 1;
  }
  return 0;
}
