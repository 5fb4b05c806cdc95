// Which files count as playable wave files: built from a good header with one
// thing changed at a time.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "exercise/WaveHeader.h"

namespace lumeno::test {
namespace {

struct TWaveShape {
  uint16_t Format = 1, Channels = 1, Bits = 16;
  uint16_t BlockAlign = 2, SubFormat = 1;
  uint32_t FmtSize = 16, DataSize = 4, DataBytesPresent = 4;
  std::string FirstChunk = "fmt ", Form = "WAVE";
  bool ListFirst = false;
};

void Put32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& b, uint16_t v) { b.insert(b.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}); }
void PutId(std::vector<uint8_t>& b, const std::string& id) { b.insert(b.end(), id.begin(), id.end()); }

std::vector<uint8_t> Build(const TWaveShape& w) {
  std::vector<uint8_t> b;
  PutId(b, "RIFF");
  Put32(b, 0);
  PutId(b, w.Form);
  if (w.ListFirst) {
    PutId(b, "LIST");
    Put32(b, 3);
    b.insert(b.end(), {'a', 'b', 'c', 0});  // odd size, padded
  }
  std::vector<uint8_t> fmt;
  Put16(fmt, w.Format);
  Put16(fmt, w.Channels);
  Put32(fmt, 8000);
  Put32(fmt, 8000u * w.BlockAlign);
  Put16(fmt, w.BlockAlign);
  Put16(fmt, w.Bits);
  // cbSize, valid bits, channel mask, sub-format (PCM: 1).
  for (uint16_t v : {uint16_t{22}, w.Bits, uint16_t{4}, uint16_t{0}, w.SubFormat}) Put16(fmt, v);
  // As declared, but a declared size past the end only as far as a full chunk.
  fmt.resize(std::min<uint32_t>(w.FmtSize, 40));
  std::vector<uint8_t> data;
  PutId(data, "data");
  Put32(data, w.DataSize);
  data.resize(8 + w.DataBytesPresent, 0);
  PutId(b, w.FirstChunk == "data" ? "data" : "fmt ");
  if (w.FirstChunk == "data") {
    b.erase(b.end() - 4, b.end());
    b.insert(b.end(), data.begin(), data.end());
    PutId(b, "fmt ");
    Put32(b, w.FmtSize);
    b.insert(b.end(), fmt.begin(), fmt.end());
  } else {
    Put32(b, w.FmtSize);
    b.insert(b.end(), fmt.begin(), fmt.end());
    b.insert(b.end(), data.begin(), data.end());
  }
  return b;
}

struct TWaveCase {
  const char* What;
  TWaveShape Shape;
  bool Playable;
};

void PrintTo(const TWaveCase& c, std::ostream* os) { *os << c.What; }

TWaveShape With(void (*change)(TWaveShape&)) {
  TWaveShape w;
  change(w);
  return w;
}

class WaveHeader : public ::testing::TestWithParam<TWaveCase> {};

TEST_P(WaveHeader, IsPlayableOnlyAsIntegerPcmWithSound) {
  const std::vector<uint8_t> file = Build(GetParam().Shape);
  EXPECT_EQ(IsPlayableWave(file.data(), file.size(), file.size()), GetParam().Playable);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WaveHeader,
    ::testing::Values(
        TWaveCase{"16-bit mono", {}, true},
        TWaveCase{"8-bit stereo", With([](TWaveShape& w) { w.Channels = 2, w.Bits = 8; }), true},
        TWaveCase{"extensible PCM", With([](TWaveShape& w) { w.Format = 0xFFFE, w.FmtSize = 40; }), true},
        TWaveCase{"a padded chunk first", With([](TWaveShape& w) { w.ListFirst = true; }), true},
        TWaveCase{"floating point", With([](TWaveShape& w) { w.Format = 3, w.Bits = 32, w.BlockAlign = 4; }), false},
        TWaveCase{"extensible floating point", With([](TWaveShape& w) { w.Format = 0xFFFE, w.FmtSize = 40, w.SubFormat = 3; }), false},
        TWaveCase{"block size that lies", With([](TWaveShape& w) { w.BlockAlign = 3; }), false},
        TWaveCase{"no channels", With([](TWaveShape& w) { w.Channels = 0, w.BlockAlign = 0; }), false},
        TWaveCase{"short format chunk", With([](TWaveShape& w) { w.FmtSize = 14; }), false},
        TWaveCase{"format chunk past the end", With([](TWaveShape& w) { w.FmtSize = 0xFFFFFFF0u; }), false},
        TWaveCase{"data before the format", With([](TWaveShape& w) { w.FirstChunk = "data"; }), false},
        TWaveCase{"no sound in the data", With([](TWaveShape& w) { w.DataSize = 0, w.DataBytesPresent = 0; }), false},
        TWaveCase{"data cut off before a frame", With([](TWaveShape& w) { w.DataBytesPresent = 1; }), false},
        TWaveCase{"not a WAVE form", With([](TWaveShape& w) { w.Form = "AVI "; }), false}));

TEST(WaveHeader, NeedsTheWholeHeaderWithinTheFile) {
  const std::vector<uint8_t> file = Build({});
  EXPECT_FALSE(IsPlayableWave(file.data(), 11, 11));
  EXPECT_FALSE(IsPlayableWave(file.data(), file.size(), file.size() - 1)) << "more head than file";
  EXPECT_FALSE(IsPlayableWave(nullptr, 0, 0));
}

}  // namespace
}  // namespace lumeno::test
