// The build makes in.wav, ex.wav and end.wav beside the executables and the
// other sets and the pause cues in "sounds" there: the files Lumeno loops
// while breathing in and out, plays as a pause begins, and the bell.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "exercise/SoundSets.h"

namespace {

// The folder of this test executable, where every build output lands.
std::string ExeFolder() {
  const std::vector<std::string> args = ::testing::internal::GetArgvs();
  const std::string self = args.empty() ? std::string() : args[0];
  const std::size_t slash = self.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : self.substr(0, slash);
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t Le16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

struct TWave {
  std::vector<std::uint8_t> bytes;
  std::vector<int> samples;
  std::uint32_t rate = 0;
};

// Reads a canonical PCM file, checking its header on the way.
TWave ReadWave(std::string name) {
  TWave wave;
  std::replace(name.begin(), name.end(), '\\', '/');
  const std::string path = ExeFolder() + "/" + name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot open " << path;
  wave.bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  const auto& b = wave.bytes;
  if (b.size() < 44) {
    ADD_FAILURE() << path << " is only " << b.size() << " bytes";
    return wave;
  }
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
  EXPECT_EQ(Le32(b, 4), b.size() - 8);
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(Le32(b, 16), 16u);
  EXPECT_EQ(Le16(b, 20), 1u) << "PCM";
  EXPECT_EQ(Le16(b, 22), 1u) << "mono";
  wave.rate = Le32(b, 24);
  EXPECT_EQ(Le32(b, 28), wave.rate * 2) << "bytes per second";
  EXPECT_EQ(Le16(b, 32), 2u) << "block align";
  EXPECT_EQ(Le16(b, 34), 16u) << "bits per sample";
  EXPECT_EQ(std::string(b.begin() + 36, b.begin() + 40), "data");
  const std::uint32_t dataBytes = Le32(b, 40);
  EXPECT_EQ(dataBytes, b.size() - 44);
  for (std::size_t at = 44; at + 1 < b.size(); at += 2)
    wave.samples.push_back(static_cast<std::int16_t>(Le16(b, at)));
  return wave;
}

int Loudest(std::vector<int>::const_iterator from, std::vector<int>::const_iterator to) {
  int peak = 0;
  for (; from != to; ++from) peak = std::max(peak, std::abs(*from));
  return peak;
}

// Every set's loops, or every set's cue and the bell.
std::vector<std::string> SetFiles(bool loops) {
  std::vector<std::string> files;
  for (const lumeno::TSoundSet& set : lumeno::kSoundSets) {
    if (loops) files.insert(files.end(), {set.In, set.Ex});
    if (!loops) files.push_back(set.Cue);
  }
  if (!loops) files.push_back("end.wav");
  return files;
}

class SoundFileTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SoundFileTest, IsASmallPcmFileOfAFewSeconds) {
  const TWave wave = ReadWave(GetParam());
  ASSERT_FALSE(wave.samples.empty());
  EXPECT_LT(wave.bytes.size(), 100u * 1000u);
  EXPECT_GE(wave.rate, 8000u);
  EXPECT_LE(wave.rate, 22050u);
  const double seconds = static_cast<double>(wave.samples.size()) / wave.rate;
  EXPECT_GE(seconds, 3.0);
  EXPECT_LE(seconds, 10.0);
}

TEST_P(SoundFileTest, IsSoftButAudible) {
  const TWave wave = ReadWave(GetParam());
  ASSERT_FALSE(wave.samples.empty());
  const int peak = Loudest(wave.samples.begin(), wave.samples.end());
  EXPECT_GE(peak, 32767 / 5);
  EXPECT_LE(peak, 32767 * 7 / 10) << "soft, and far from clipping";
}

TEST_P(SoundFileTest, LoopsWithoutAClick) {
  const TWave wave = ReadWave(GetParam());
  const std::vector<int>& s = wave.samples;
  ASSERT_GT(s.size(), 100u);
  std::vector<int> steps;
  for (std::size_t i = 1; i < s.size(); ++i) steps.push_back(std::abs(s[i] - s[i - 1]));
  std::sort(steps.begin(), steps.end());
  const int typical = steps[steps.size() * 95 / 100];
  // Wrapping from the last sample to the first is a step like any other.
  EXPECT_LE(std::abs(s.front() - s.back()), typical);
  // And the slope runs on: the step before the wrap predicts the one after.
  const int before = s[s.size() - 1] - s[s.size() - 2];
  const int across = s.front() - s.back();
  const int after = s[1] - s[0];
  EXPECT_LE(std::abs(across - before), typical / 2);
  EXPECT_LE(std::abs(after - across), typical / 2);
}

TEST_P(SoundFileTest, StartsFromSilenceWithoutAJump) {
  const TWave wave = ReadWave(GetParam());
  const std::vector<int>& s = wave.samples;
  ASSERT_GT(s.size(), 100u);
  EXPECT_LE(std::abs(s[0]), 32767 / 100);
  // The first tenth of a second is quieter than the loudest part.
  const std::size_t tenth = wave.rate / 10;
  auto power = [&](std::size_t from) {
    double sum = 0;
    for (std::size_t i = from; i < from + tenth; ++i) sum += static_cast<double>(s[i]) * s[i];
    return sum / tenth;
  };
  double loudest = 0;
  for (std::size_t from = 0; from + tenth <= s.size(); from += tenth) loudest = std::max(loudest, power(from));
  EXPECT_LT(power(0), loudest / 4);
}

INSTANTIATE_TEST_SUITE_P(BreathingSounds, SoundFileTest, ::testing::ValuesIn(SetFiles(true)));

// The pause cues (about 0.3 s) and the bell (about 3 s): soft, from silence,
// and faded out by the end (its last 5 ms, or tenth of a second).
class ShortSoundTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ShortSoundTest, IsShortSoftAndGoesFromSilenceToSilence) {
  const bool bell = GetParam() == "end.wav";
  const TWave wave = ReadWave(GetParam());
  const std::vector<int>& s = wave.samples;
  ASSERT_GT(s.size(), wave.rate / 10u);
  EXPECT_NEAR(static_cast<double>(s.size()) / wave.rate, bell ? 3.0 : 0.3, bell ? 0.5 : 0.2);
  const auto fade = s.end() - (bell ? wave.rate / 10 : wave.rate / 200);
  const int loudest = Loudest(s.begin(), fade);
  EXPECT_TRUE(loudest >= 32767 / 5 && loudest <= (bell ? 32767 * 7 / 10 : 32767 / 2)) << loudest;
  EXPECT_LE(std::abs(s.front()), 32767 / 100);
  EXPECT_LE(Loudest(fade, s.end()) * 20, loudest);
}

INSTANTIATE_TEST_SUITE_P(CuesAndBell, ShortSoundTest, ::testing::ValuesIn(SetFiles(false)));

TEST(SoundFilesTest, InAndOutDiffer) {
  const TWave in = ReadWave("in.wav");
  const TWave ex = ReadWave("ex.wav");
  EXPECT_NE(in.samples, ex.samples);
}

}  // namespace
