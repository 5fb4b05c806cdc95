// The Windows clock and sound adapters under a real (or emulated) system.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstdint>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "exercise/Clock_win.h"
#include "base/ExecutablePath_win.h"
#include "exercise/Sound_win.h"

namespace lumeno {
namespace {

std::wstring ExecutablePathW() {
  wchar_t path[4096] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, 4096);
  return std::wstring(path, length);
}

std::wstring ExecutableDirectoryW() {
  const std::wstring exe = ExecutablePathW();
  return exe.substr(0, exe.find_last_of(L"\\/") + 1);
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
  const std::wstring directory = ExecutableDirectoryW();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ(ExecutablePath(), ExecutablePathW());
  EXPECT_EQ(TWaveSound::PathBesideExecutable("in.wav"), directory + L"in.wav");
  EXPECT_EQ(TWaveSound::PathBesideExecutable("ex.wav"), directory + L"ex.wav");
  EXPECT_EQ(TWaveSound::PathBesideExecutable(nullptr), L"");
}

// The calls the adapter makes, as the player is handed them.
struct TPlayCall {
  std::wstring Sound;  // "(none)" for a null name
  unsigned Flags;
  bool operator==(const TPlayCall&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TPlayCall& call) {
  return out << ::testing::PrintToString(call.Sound) << " flags " << call.Flags;
}

class WaveSoundCalls : public ::testing::Test {
 protected:
  TWaveSound sound{[this](const wchar_t* name, unsigned flags) {
    calls.push_back({name ? std::wstring(name) : L"(none)", flags});
    return true;
  }};
  std::vector<TPlayCall> calls;
};

TEST_F(WaveSoundCalls, StartLoopsTheFileBesideTheExecutableAndStopNamesNothing) {
  const std::wstring directory = ExecutableDirectoryW();
  sound.Start("in.wav");
  sound.Stop();
  sound.Start("ex.wav");
  sound.Start("ex.wav");  // the player ignores it while one loops (no-stop)
  sound.Stop();
  EXPECT_EQ(calls, (std::vector<TPlayCall>{{directory + L"in.wav", 27},
                                           {L"(none)", 0},
                                           {directory + L"ex.wav", 27},
                                           {directory + L"ex.wav", 27},
                                           {L"(none)", 0}}));
  // 27 is asynchronous, no default sound, looping and no-stop.
  EXPECT_EQ(27u, static_cast<unsigned>(SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP));
}

TEST_F(WaveSoundCalls, AMissingFileIsHandedOnWithNoDefaultSoundAndNoNameIsNoCall) {
  sound.Start("no-such-breathing-sound.wav");
  sound.Start(nullptr);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].Sound, ExecutableDirectoryW() + L"no-such-breathing-sound.wav");
  // Without SND_NODEFAULT the system would play its default beep instead.
  EXPECT_TRUE(calls[0].Flags & SND_NODEFAULT);
}

// Stop, start "ex", stop, start "in", ...
std::vector<TPlayCall> PhaseChanges(int count) {
  std::vector<TPlayCall> calls;
  for (int i = 0; i < count; ++i) calls.push_back(i % 2 ? TPlayCall{i % 4 == 1 ? L"ex" : L"in", 27} : TPlayCall{L"(none)", 0});
  return calls;
}

// A player stuck in its first call while requests pile up plays, once let
// go, only what they ask for: a stop and the last sound; then End's stop.
TEST(WaveSoundBacklog, CollapsesToAStopAndTheLastSound) {
  const struct {
    const char* Name;
    std::vector<TPlayCall> Posted, Played;  // after a first start of "in"
  } cases[] = {
      {"HundredPhaseChanges", PhaseChanges(100), {{L"(none)", 0}, {L"in", 27}}},
      {"EndingOnAStop", PhaseChanges(99), {{L"(none)", 0}}},
      {"StartWhileOneLoops", {{L"ex", 27}}, {{L"ex", 27}}},
      {"BellKeptOverALoop", {{L"(none)", 0}, {L"bell", 3}, {L"ex", 27}}, {{L"(none)", 0}, {L"bell", 3}}},
      {"LoopReplacedByABell", {{L"ex", 27}, {L"bell", 3}}, {{L"bell", 3}}},
  };
  for (const auto& c : cases) {
    HANDLE entered = ::CreateEventW(nullptr, TRUE, FALSE, nullptr), release = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::mutex mutex;
    std::vector<TPlayCall> played, expected{{L"in", 27}};
    TPlayerThread player([&](const wchar_t* name, unsigned flags) {
      if (::SetEvent(entered) && played.empty()) ::WaitForSingleObject(release, INFINITE);
      std::lock_guard<std::mutex> lock(mutex);
      played.push_back({name ? name : L"(none)", flags});
      return true;
    });
    player.Post(L"in", 27);
    ::WaitForSingleObject(entered, 10000);
    for (const TPlayCall& p : c.Posted) player.Post(p.Sound == L"(none)" ? nullptr : p.Sound.c_str(), p.Flags);
    ::SetEvent(release);
    expected.insert(expected.end(), c.Played.begin(), c.Played.end());
    auto behind = [&] { std::lock_guard<std::mutex> lock(mutex); return played.size() < expected.size(); };
    for (int i = 0; i < 1000 && behind(); ++i) ::Sleep(10);
    ASSERT_TRUE(player.End(10000)) << c.Name;
    expected.push_back({L"(none)", 0});
    EXPECT_EQ(played, expected) << c.Name;
    ::CloseHandle(entered), ::CloseHandle(release);
  }
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
    FILE* f = _wfopen(path.c_str(), L"wb");
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
    ::DeleteFileW(path.c_str());
  }

  static constexpr const char* kName = "exercise-test-silence.wav";
  std::wstring path;
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
