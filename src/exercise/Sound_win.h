// The looping breathing sounds on Windows, played with sndPlaySoundW from the
// executable's directory or from a full path of the user's (a wide path, so
// a folder whose name lies outside the ANSI code page still plays). A missing file plays nothing and reports
// nothing. winmm is loaded with the first sound, not at start-up, and called
// from a player thread of its own, so a call that blocks holds up the sounds,
// never the window that asked for them.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "exercise/BreathingPacer.h"

namespace lumeno {

// One call of sndPlaySoundW's shape: a path (null to stop) and the flags.
using TPlayCall = std::function<bool(const wchar_t* sound, unsigned flags)>;

// Hands the calls to play on a thread of its own; a call returns at once.
// What waits while play is busy is the state asked for, not a history: at
// most a stop and then one sound, so a stop is never lost and the sound is
// never more than one request behind. A looping start (SND_NOSTOP) that
// finds a sound waiting is dropped, as the player would ignore it once that
// sound plays; any other sound takes the waiting one's place.
class TPlayerThread {
 public:
  explicit TPlayerThread(TPlayCall play);
  // Lets the thread end once nothing waits; does not wait for it.
  ~TPlayerThread();
  TPlayerThread(const TPlayerThread&) = delete;
  TPlayerThread& operator=(const TPlayerThread&) = delete;

  void Post(const wchar_t* sound, unsigned flags);
  // Stops the sound and ends the thread, waiting for it at most
  // milliseconds: false when it is still inside play then. A later Post
  // starts a thread again once the old one has ended.
  bool End(unsigned milliseconds);

  // The system's player (winmm, loaded with the first sound): one for the
  // process, since winmm's sound is the process's.
  static TPlayerThread& System();

 private:
  struct TState;
  std::shared_ptr<TState> FState;
};

class TWaveSound : public ISound {
 public:
  // SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP: what every start passes.
  static constexpr unsigned kLoopFlags = 27;

  // The system's player, on its thread: winmm is loaded by the first start,
  // and a stop with no winmm in the process calls nothing (nothing of ours
  // can be playing).
  TWaveSound() : TWaveSound(TPlayerThread::System()) {}
  // Every start and stop goes to player's thread.
  explicit TWaveSound(TPlayerThread& player);
  // Every start and stop goes to play instead (tests watch the calls here).
  explicit TWaveSound(TPlayCall play);

  // Loops the file unless another sound still loops (no-stop); never falls
  // back to a default sound.
  void Start(const char* fileName) override;
  void Stop() override;
  // SND_ASYNC | SND_NODEFAULT: once, and never a default sound.
  void PlayOnce(const char* fileName) override;
  static constexpr unsigned kOnceFlags = 3;

  // The executable's full path cut after its last path separator, plus the
  // name. Empty if the executable's path is unknown.
  static std::wstring PathBesideExecutable(const char* fileName);

 private:
  TPlayCall FPlay;
  // A full path as it is, else the file in the executable's folder; empty
  // when there is no such place.
  std::wstring PathOf(const char* fileName);

  std::wstring FDirectory;  // with the trailing separator, read once
  bool FHaveDirectory = false;
};

}  // namespace lumeno
