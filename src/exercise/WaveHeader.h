// Whether a file is a wave file the system's player can play: RIFF/WAVE with
// integer PCM samples and some sound data. Only the file's opening bytes are
// looked at (what comes before the samples), so any file can be checked
// cheaply and any bytes are safe to give.
#pragma once

#include <cstddef>
#include <cstdint>

namespace lumeno {

// How much of a file's start the check needs at most.
inline constexpr size_t kWaveHeadBytes = 64 * 1024;

// head: the first bytes of a file of fileSize bytes (fewer when the file is
// shorter than kWaveHeadBytes). True when a "fmt " chunk of integer PCM
// (plain or in the extensible form) comes before a "data" chunk that holds at
// least one whole frame within the file.
bool IsPlayableWave(const uint8_t* head, size_t size, uint64_t fileSize);

}  // namespace lumeno
