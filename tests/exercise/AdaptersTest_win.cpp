// The Windows clock and sound adapters under a real (or emulated) system.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdint>
#include <string>

#include "exercise/Clock_win.h"
#include "exercise/Sound_win.h"

namespace lumeno {
namespace {

std::string ExecutablePathA() {
  char path[4096] = {};
  const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
  return std::string(path, length);
}

TEST(PerformanceClock, FrequencyIsPositiveAndTheCounterNeverRunsBackwards) {
  TPerformanceClock clock;
  const int64_t frequency = clock.Frequency();
  EXPECT_GT(frequency, 0);
  int64_t last = clock.Counter();
  for (int i = 0; i < 10000; ++i) {
    const int64_t now = clock.Counter();
    ASSERT_GE(now, last);
    last = now;
  }
  const int64_t before = clock.Counter();
  ::Sleep(30);
  // A lower bound only: Sleep never returns more than a tick early.
  EXPECT_GE((clock.Counter() - before) * 1000 / frequency, 10);
}

TEST(WaveSound, PathIsBesideTheExecutable) {
  const std::string exe = ExecutablePathA();
  const std::string directory = exe.substr(0, exe.find_last_of("\\/") + 1);
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(TWaveSound::PathBesideExecutable("in.wav"), directory + "in.wav");
  EXPECT_EQ(TWaveSound::PathBesideExecutable("ex.wav"), directory + "ex.wav");
  EXPECT_EQ(TWaveSound::PathBesideExecutable(nullptr), "");
}

TEST(WaveSound, MissingFileIsSilentAndStopWithNothingPlayingIsHarmless) {
  TWaveSound sound;
  sound.Stop();
  sound.Start("no-such-breathing-sound.wav");
  sound.Start("no-such-breathing-sound.wav");
  sound.Start(nullptr);
  sound.Stop();
  sound.Stop();
  SUCCEED();
}

// A short silent PCM file beside the executable, removed afterwards.
class WaveFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path = TWaveSound::PathBesideExecutable(kName);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    const uint32_t samples = 800;  // 0.1 s at 8 kHz, 8-bit mono
    const uint32_t riffSize = 36 + samples, fmtSize = 16, rate = 8000, dataSize = samples;
    const uint16_t pcm = 1, channels = 1, align = 1, bits = 8;
    std::fwrite("RIFF", 1, 4, f);
    std::fwrite(&riffSize, 4, 1, f);
    std::fwrite("WAVEfmt ", 1, 8, f);
    std::fwrite(&fmtSize, 4, 1, f);
    std::fwrite(&pcm, 2, 1, f);
    std::fwrite(&channels, 2, 1, f);
    std::fwrite(&rate, 4, 1, f);
    std::fwrite(&rate, 4, 1, f);  // bytes per second
    std::fwrite(&align, 2, 1, f);
    std::fwrite(&bits, 2, 1, f);
    std::fwrite("data", 1, 4, f);
    std::fwrite(&dataSize, 4, 1, f);
    for (uint32_t i = 0; i < samples; ++i) std::fputc(0x80, f);
    std::fclose(f);
  }
  void TearDown() override {
    TWaveSound().Stop();
    ::DeleteFileA(path.c_str());
  }

  static constexpr const char* kName = "exercise-test-silence.wav";
  std::string path;
};

TEST_F(WaveFile, LoopsAndStopsWithoutBlocking) {
  TWaveSound sound;
  sound.Start(kName);
  sound.Start(kName);  // ignored while it loops
  sound.Stop();
  sound.Start(kName);
  sound.Stop();
  SUCCEED();
}

}  // namespace
}  // namespace lumeno
