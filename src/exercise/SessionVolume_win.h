// ISessionVolume on the system's audio sessions: the default render device's
// session manager gives this process's default session (the one its sounds
// play in) and that session's simple volume. COM (ole32, from the system
// folder) is loaded with the first Connect, never at start-up.
#pragma once

#include "exercise/SessionVolume.h"

struct ISimpleAudioVolume;

namespace lumeno {

class TAudioSessionVolume final : public ISessionVolume {
 public:
  TAudioSessionVolume() = default;
  ~TAudioSessionVolume() override;
  TAudioSessionVolume(const TAudioSessionVolume&) = delete;
  TAudioSessionVolume& operator=(const TAudioSessionVolume&) = delete;

  bool Connect() override;
  std::optional<int> Percent() override;
  bool SetPercent(int percent) override;

 private:
  void Release();

  ISimpleAudioVolume* FVolume = nullptr;
  // COM was initialised here and is uninitialised with this object.
  bool FComInitialized = false;
};

}  // namespace lumeno
