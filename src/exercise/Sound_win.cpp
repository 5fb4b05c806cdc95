#include "exercise/Sound_win.h"

#include <windows.h>
#include <mmsystem.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <utility>

#include "base/ExecutablePath_win.h"
#include "base/SystemLibrary_win.h"
#include "base/Utf16.h"
#include "exercise/SoundSets.h"

namespace lumeno {
namespace {

static_assert(TWaveSound::kLoopFlags == (SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP));
static_assert(TWaveSound::kOnceFlags == (SND_ASYNC | SND_NODEFAULT));

using TSndPlaySoundW = BOOL(WINAPI*)(LPCWSTR sound, UINT flags);

// winmm is loaded by the first sound rather than with the program: with the
// sounds off it is never needed, and under Wine it (with what it pulls in)
// costs start-up time. Once loaded it stays for the life of the process.
TSndPlaySoundW SndPlaySound(bool load) {
  TSndPlaySoundW play = nullptr;
  ResolveProc(load ? LoadSystemLibrary(L"winmm.dll") : ::GetModuleHandleW(L"winmm.dll"), "sndPlaySoundW", play);
  return play;
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

// The calls waiting for a player thread. Under Wine a stop has been seen to
// wait for good on winmm's own player; on the window's thread that would
// freeze the bar and keep the window from closing.
class TPlayerQueue {
 public:
  explicit TPlayerQueue(TWaveSound::TPlayCall play) : FPlay(std::move(play)) {}

  void Post(const wchar_t* sound, unsigned flags) {
    std::lock_guard<std::mutex> lock(FMutex);
    if (!FStarted) {
      // The queue is never freed: a thread stuck in the player cannot be joined.
      std::thread([this] { Run(); }).detach();
      FStarted = true;
    }
    if (FPending.size() >= static_cast<size_t>(kMaxPendingPlays)) FPending.pop_front();
    FPending.push_back({sound != nullptr, sound ? sound : L"", flags});
    FWake.notify_one();
  }

 private:
  struct TRequest {
    bool HasName;
    std::wstring Sound;
    unsigned Flags;
  };

  void Run() {
    std::unique_lock<std::mutex> lock(FMutex);
    for (;;) {
      FWake.wait(lock, [this] { return !FPending.empty(); });
      const TRequest request = std::move(FPending.front());
      FPending.pop_front();
      lock.unlock();
      FPlay(request.HasName ? request.Sound.c_str() : nullptr, request.Flags);
      lock.lock();
    }
  }

  const TWaveSound::TPlayCall FPlay;
  std::mutex FMutex;
  std::condition_variable FWake;
  std::deque<TRequest> FPending;
  bool FStarted = false;
};

// UTF-8 to the system's UTF-16; empty when it is not valid UTF-8.
std::wstring Widen(const char* fileName) {
  std::u16string text;
  if (!Utf8ToUtf16(fileName, text)) return {};
  return std::wstring(text.begin(), text.end());
}

}  // namespace

std::function<bool(const wchar_t*, unsigned)> OnPlayerThread(std::function<bool(const wchar_t*, unsigned)> play) {
  TPlayerQueue* queue = new TPlayerQueue(std::move(play));
  return [queue](const wchar_t* sound, unsigned flags) {
    queue->Post(sound, flags);
    return true;
  };
}

// One player thread for the process: winmm's sound is the process's, so its
// starts and stops must keep their order whichever object asks.
TWaveSound::TWaveSound() {
  static const TPlayCall systemPlayer = OnPlayerThread(SystemPlay);
  FPlay = systemPlayer;
}

TWaveSound::TWaveSound(TPlayCall play) : FPlay(std::move(play)) {}

std::wstring TWaveSound::PathBesideExecutable(const char* fileName) {
  if (fileName == nullptr) return {};
  const std::wstring directory = ExecutableDirectory();
  if (directory.empty()) return {};
  return directory + Widen(fileName);
}

std::wstring TWaveSound::PathOf(const char* fileName) {
  if (IsFullPath(fileName)) return Widen(fileName);
  if (!FHaveDirectory) {
    FDirectory = ExecutableDirectory();
    FHaveDirectory = true;
  }
  // Without a directory there is nothing beside the executable to play.
  const std::wstring name = Widen(fileName);
  if (FDirectory.empty() || name.empty()) return {};
  return FDirectory + name;
}

void TWaveSound::Start(const char* fileName) {
  if (fileName == nullptr || !FPlay) return;
  const std::wstring path = PathOf(fileName);
  if (!path.empty()) FPlay(path.c_str(), kLoopFlags);
}

void TWaveSound::PlayOnce(const char* fileName) {
  if (fileName == nullptr || !FPlay) return;
  const std::wstring path = PathOf(fileName);
  if (!path.empty()) FPlay(path.c_str(), kOnceFlags);
}

void TWaveSound::Stop() {
  if (FPlay) FPlay(nullptr, 0);
}

}  // namespace lumeno
