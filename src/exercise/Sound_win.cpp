#include "exercise/Sound_win.h"

#include <windows.h>
#include <mmsystem.h>

#include <utility>

namespace lumeno {
namespace {

static_assert(TWaveSound::kLoopFlags == (SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP));

using TSndPlaySoundW = BOOL(WINAPI*)(LPCWSTR sound, UINT flags);

// winmm is loaded by the first sound rather than with the program: with the
// sounds off it is never needed, and under Wine it (with what it pulls in)
// costs start-up time. Once loaded it stays for the life of the process.
TSndPlaySoundW SndPlaySound(bool load) {
  HMODULE winmm = load ? ::LoadLibraryW(L"winmm.dll") : ::GetModuleHandleW(L"winmm.dll");
  if (!winmm) return nullptr;
  return reinterpret_cast<TSndPlaySoundW>(reinterpret_cast<void*>(::GetProcAddress(winmm, "sndPlaySoundW")));
}

TSndPlaySoundW LoadedSndPlaySound() {
  static const TSndPlaySoundW play = SndPlaySound(true);
  return play;
}

bool SystemPlay(const wchar_t* sound, unsigned flags) {
  // A stop needs no winmm of its own: without it nothing of ours plays.
  const TSndPlaySoundW play = sound ? LoadedSndPlaySound() : SndPlaySound(false);
  return play && play(sound, flags);
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

// The file names are the program's own, plain ASCII.
std::wstring Widen(const char* fileName) {
  std::wstring wide;
  for (const char* c = fileName; *c; ++c) wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
  return wide;
}

}  // namespace

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

TWaveSound::TWaveSound() : FPlay(SystemPlay) {}

TWaveSound::TWaveSound(TPlayCall play) : FPlay(std::move(play)) {}

std::wstring TWaveSound::PathBesideExecutable(const char* fileName) {
  if (fileName == nullptr) return {};
  const std::wstring directory = ExecutableDirectory();
  if (directory.empty()) return {};
  return directory + Widen(fileName);
}

void TWaveSound::Start(const char* fileName) {
  if (fileName == nullptr || !FPlay) return;
  if (!FHaveDirectory) {
    FDirectory = ExecutableDirectory();
    FHaveDirectory = true;
  }
  // Without a directory there is nothing beside the executable to play.
  if (FDirectory.empty()) return;
  const std::wstring path = FDirectory + Widen(fileName);
  FPlay(path.c_str(), kLoopFlags);
}

void TWaveSound::Stop() {
  if (FPlay) FPlay(nullptr, 0);
}

}  // namespace lumeno
