// The looping breathing sounds on Windows, played with sndPlaySoundW from the
// executable's directory or from a full path of the user's (a wide path, so
// a folder whose name lies outside the ANSI code page still plays). A missing file plays nothing and reports
// nothing. winmm is loaded with the first sound, not at start-up, and called
// from a player thread of its own, so a call that blocks holds up the sounds,
// never the window that asked for them.
#pragma once

#include <functional>
#include <string>

#include "exercise/BreathingPacer.h"

namespace lumeno {

// play, called on a thread of its own in the order the calls are made; the
// call returns at once. At most kMaxPendingPlays calls wait while one is in
// progress (the oldest waiting one goes first), so a player that never
// returns costs no more than that. The thread lives until the process ends.
inline constexpr int kMaxPendingPlays = 64;
std::function<bool(const wchar_t* sound, unsigned flags)> OnPlayerThread(
    std::function<bool(const wchar_t* sound, unsigned flags)> play);

class TWaveSound : public ISound {
 public:
  // One call of sndPlaySoundW's shape: a path (null to stop) and the flags.
  using TPlayCall = std::function<bool(const wchar_t* sound, unsigned flags)>;

  // SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP: what every start passes.
  static constexpr unsigned kLoopFlags = 27;

  // The system's player, on the process's one player thread: winmm is loaded
  // by the first start, and a stop with no winmm in the process calls nothing
  // (nothing of ours can be playing).
  TWaveSound();
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
