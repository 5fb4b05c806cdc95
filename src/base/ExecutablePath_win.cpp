#include "base/ExecutablePath_win.h"

#include <windows.h>

namespace lumeno {

std::wstring ExecutablePath() {
  // Grown until the whole path fits: GetModuleFileNameW fills the buffer and
  // returns its size when the path is longer, and paths may pass MAX_PATH.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return {};
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    if (path.size() >= 65536) return {};  // longer than any Windows path
    path.resize(path.size() * 2);
  }
}

// The name can be a separator, never part of a name's letters: in UTF-16 a
// backslash is always a backslash.
std::wstring ExecutableDirectory() {
  std::wstring path = ExecutablePath();
  const size_t separator = path.find_last_of(L"\\/");
  if (separator == std::wstring::npos) return {};
  path.resize(separator + 1);
  return path;
}

}  // namespace lumeno
