// Any bytes as the head of a user's sound file: no read past them, and more
// file after the head can only add sound, never take it away.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "exercise/WaveHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (lumeno::IsPlayableWave(data, size, size) && !lumeno::IsPlayableWave(data, size, uint64_t{size} + 4096)) {
    std::abort();
  }
  return 0;
}
