#include "exercise/WaveHeader.h"

#include <cstring>

namespace lumeno {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;

uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// The frame size of a usable PCM format chunk, or 0.
uint32_t PcmFrameBytes(const uint8_t* fmt, uint32_t size) {
  if (size < 16) return 0;
  uint16_t format = Le16(fmt);
  const uint16_t channels = Le16(fmt + 2);
  const uint32_t rate = Le32(fmt + 4);
  const uint16_t blockAlign = Le16(fmt + 12);
  const uint16_t bits = Le16(fmt + 14);
  if (format == kFormatExtensible) {
    // cbSize, valid bits, channel mask, then the sub-format, whose first two
    // bytes carry the format tag.
    if (size < 40 || Le16(fmt + 16) < 22) return 0;
    format = Le16(fmt + 24);
  }
  if (format != kFormatPcm) return 0;
  if (channels < 1 || channels > 8 || rate < 1000 || rate > 384000) return 0;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return 0;
  if (blockAlign != channels * (bits / 8)) return 0;
  return blockAlign;
}

}  // namespace

bool IsPlayableWave(const uint8_t* head, size_t size, uint64_t fileSize) {
  if (head == nullptr || size < 12 || size > fileSize) return false;
  if (std::memcmp(head, "RIFF", 4) != 0 || std::memcmp(head + 8, "WAVE", 4) != 0) return false;
  uint32_t frameBytes = 0;
  // 64-bit offsets: a chunk's declared size cannot wrap them.
  for (uint64_t at = 12; at + 8 <= size;) {
    const uint8_t* chunk = head + at;
    const uint32_t chunkSize = Le32(chunk + 4);
    const uint64_t body = at + 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (body + chunkSize > size) return false;
      frameBytes = PcmFrameBytes(head + body, chunkSize);
      if (frameBytes == 0) return false;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      return frameBytes != 0 && chunkSize >= frameBytes && body + frameBytes <= fileSize;
    }
    // Chunks are padded to an even length.
    at = body + chunkSize + (chunkSize & 1u);
  }
  return false;
}

}  // namespace lumeno
