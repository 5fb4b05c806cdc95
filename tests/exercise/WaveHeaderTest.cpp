// Which files count as playable: a small good one with one thing changed
// (bytes written at an offset, a chunk put ahead of "fmt ", the file cut).
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "exercise/WaveHeader.h"

namespace lumeno::test {
namespace {

TEST(WaveHeader, IsPlayableOnlyAsIntegerPcmWithSound) {
  const struct {
    const char* What;
    std::vector<std::pair<size_t, std::vector<uint8_t>>> Patches;
    std::vector<uint8_t> Before;
    size_t Length;
    bool Playable;
  } cases[] = {
      {"16-bit mono", {}, {}, 48, true},
      {"8-bit stereo", {{22, {2, 0}}, {34, {8, 0}}}, {}, 48, true},
      {"an odd-sized chunk first", {}, {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0}, 48, true},
      {"floating point", {{20, {3, 0}}, {32, {4, 0}}, {34, {32, 0}}}, {}, 48, false},
      {"a block size that lies", {{32, {3, 0}}}, {}, 48, false},
      {"a format chunk past the end", {{16, {0xF0, 0xFF, 0xFF, 0xFF}}}, {}, 48, false},
      {"no sound", {{40, {0, 0, 0, 0}}}, {}, 44, false},
      {"cut off inside the first frame", {}, {}, 45, false},
  };
  for (const auto& c : cases) {
    // RIFF/WAVE, 16-bit mono PCM at 8 kHz, two frames of sound.
    std::vector<uint8_t> file{'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0,
                              1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0, 2, 0, 16, 0,
                              'd', 'a', 't', 'a', 4, 0, 0, 0, 0, 0, 0, 0};
    for (const auto& [at, bytes] : c.Patches) std::copy(bytes.begin(), bytes.end(), file.begin() + at);
    file.insert(file.begin() + 12, c.Before.begin(), c.Before.end());
    file.resize(c.Length + c.Before.size());
    EXPECT_EQ(IsPlayableWave(file.data(), file.size(), file.size()), c.Playable) << c.What;
  }
}

}  // namespace
}  // namespace lumeno::test
