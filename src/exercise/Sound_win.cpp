#include "exercise/Sound_win.h"

#include <windows.h>
#include <mmsystem.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
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

// UTF-8 to the system's UTF-16; empty when it is not valid UTF-8.
std::wstring Widen(const char* fileName) {
  std::u16string text;
  if (!Utf8ToUtf16(fileName, text)) return {};
  return std::wstring(text.begin(), text.end());
}

}  // namespace

// Under Wine a stop has been seen to wait for good inside winmm's player: on
// the window's thread that would freeze the bar and keep the window from
// closing. The thread shares this with its owner, so a thread stuck in play
// keeps what it uses.
struct TPlayerThread::TState {
  struct TRequest {
    std::wstring Sound;
    unsigned Flags = 0;
  };

  explicit TState(TPlayCall play) : Play(std::move(play)) {}

  void Run() {
    std::unique_lock<std::mutex> lock(Mutex);
    for (;;) {
      Wake.wait(lock, [this] { return StopWaiting || SoundWaiting || Quitting; });
      // A waiting sound was asked for after the waiting stop.
      std::optional<TRequest> sound;
      if (!StopWaiting && SoundWaiting) sound.swap(SoundWaiting);
      const bool stop = StopWaiting;
      StopWaiting = false;
      if (!stop && !sound) break;  // quitting with nothing left to play
      lock.unlock();
      if (sound) {
        Play(sound->Sound.c_str(), sound->Flags);
      } else {
        Play(nullptr, 0);
      }
      lock.lock();
    }
    Running = false;
    Ended.notify_all();
  }

  const TPlayCall Play;
  std::mutex Mutex;
  std::condition_variable Wake;
  std::condition_variable Ended;
  std::thread Thread;
  bool StopWaiting = false;
  std::optional<TRequest> SoundWaiting;
  bool Running = false;
  bool Quitting = false;
};

TPlayerThread::TPlayerThread(TPlayCall play) : FState(std::make_shared<TState>(std::move(play))) {}

TPlayerThread::~TPlayerThread() {
  std::lock_guard<std::mutex> lock(FState->Mutex);
  FState->Quitting = true;
  FState->Wake.notify_one();
  if (FState->Thread.joinable()) FState->Thread.detach();
}

void TPlayerThread::Post(const wchar_t* sound, unsigned flags) {
  std::lock_guard<std::mutex> lock(FState->Mutex);
  TState& state = *FState;
  if (!sound) {
    state.StopWaiting = true;
    state.SoundWaiting.reset();
  } else if (!(flags & SND_NOSTOP) || !state.SoundWaiting) {
    state.SoundWaiting = TState::TRequest{sound, flags};
  }
  if (!state.Running) {
    // A thread that End gave up on is still running, and is never replaced.
    if (state.Thread.joinable()) state.Thread.join();
    state.Quitting = false;
    state.Running = true;
    state.Thread = std::thread([keep = FState] { keep->Run(); });
  }
  state.Wake.notify_one();
}

bool TPlayerThread::End(unsigned milliseconds) {
  std::unique_lock<std::mutex> lock(FState->Mutex);
  TState& state = *FState;
  // Without a thread nothing of ours plays.
  if (!state.Running) return true;
  state.StopWaiting = true;
  state.SoundWaiting.reset();
  state.Quitting = true;
  state.Wake.notify_one();
  if (!state.Ended.wait_for(lock, std::chrono::milliseconds(milliseconds), [&state] { return !state.Running; }))
    return false;
  lock.unlock();
  // It has left the loop: only its return is left to wait for.
  state.Thread.join();
  return true;
}

TPlayerThread& TPlayerThread::System() {
  static TPlayerThread player(SystemPlay);
  return player;
}

TWaveSound::TWaveSound(TPlayerThread& player)
    : FPlay([&player](const wchar_t* sound, unsigned flags) {
        player.Post(sound, flags);
        return true;
      }) {}

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
