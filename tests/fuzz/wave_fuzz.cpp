// Any bytes as the head of a user's sound file, with the file as long as the
// bytes or longer; and the same bytes as a stored path, which must come back
// from UTF-16 exactly as it went in.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/Utf16.h"
#include "exercise/WaveHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const bool whole = lumeno::IsPlayableWave(data, size, size);
  // More file after the head can only add sound, never take it away.
  if (whole && !lumeno::IsPlayableWave(data, size, uint64_t{size} + 4096)) std::abort();

  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::u16string wide;
  std::string back;
  if (lumeno::Utf8ToUtf16(text, wide) && (!lumeno::Utf16ToUtf8(wide, back) || back != text)) std::abort();
  return 0;
}
