#include "exercise/Sound_win.h"

#include <windows.h>
#include <mmsystem.h>

#include <vector>

namespace lumeno {
namespace {

// SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP
constexpr UINT kLoopFlags = 27;
static_assert(kLoopFlags == (SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP));

using TSndPlaySoundA = BOOL(WINAPI*)(LPCSTR sound, UINT flags);

// winmm is loaded by the first sound rather than with the program: with the
// sounds off it is never needed, and under Wine it (with what it pulls in)
// costs start-up time. Once loaded it stays for the life of the process.
TSndPlaySoundA SndPlaySound(bool load) {
  HMODULE winmm = load ? ::LoadLibraryW(L"winmm.dll") : ::GetModuleHandleW(L"winmm.dll");
  if (!winmm) return nullptr;
  return reinterpret_cast<TSndPlaySoundA>(reinterpret_cast<void*>(::GetProcAddress(winmm, "sndPlaySoundA")));
}

TSndPlaySoundA LoadedSndPlaySound() {
  static const TSndPlaySoundA play = SndPlaySound(true);
  return play;
}

// The directory is found in UTF-16, where a separator cannot be the trail
// byte of a double-byte ANSI character, and only then converted.
std::string ExecutableDirectory() {
  std::vector<wchar_t> path(MAX_PATH);
  DWORD length = 0;
  for (;;) {
    length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) break;
    if (path.size() >= 65536) return {};  // longer than any Windows path
    path.resize(path.size() * 2);
  }
  size_t cut = length;
  while (cut > 0 && path[cut - 1] != L'\\' && path[cut - 1] != L'/') --cut;
  if (cut == 0) return {};

  const int wide = static_cast<int>(cut);
  const int bytes = ::WideCharToMultiByte(CP_ACP, 0, path.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string directory(static_cast<size_t>(bytes), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, path.data(), wide, directory.data(), bytes, nullptr, nullptr);
  return directory;
}

}  // namespace

std::string TWaveSound::PathBesideExecutable(const char* fileName) {
  const std::string directory = ExecutableDirectory();
  if (directory.empty() || fileName == nullptr) return {};
  return directory + fileName;
}

void TWaveSound::Start(const char* fileName) {
  if (fileName == nullptr) return;
  if (!haveDirectory_) {
    directory_ = ExecutableDirectory();
    haveDirectory_ = true;
  }
  // Without a directory there is nothing beside the executable to play.
  if (directory_.empty()) return;
  const std::string path = directory_ + fileName;
  if (TSndPlaySoundA play = LoadedSndPlaySound()) play(path.c_str(), kLoopFlags);
}

void TWaveSound::Stop() {
  // Without winmm in the process nothing of ours can be playing.
  if (TSndPlaySoundA play = SndPlaySound(false)) play(nullptr, 0);
}

}  // namespace lumeno
