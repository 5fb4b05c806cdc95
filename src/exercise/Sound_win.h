// The looping breathing sounds on Windows, played with sndPlaySoundA from the
// executable's directory. A missing file plays nothing and reports nothing.
// winmm is loaded with the first sound, not at start-up.
#pragma once

#include <string>

#include "exercise/BreathingPacer.h"

namespace lumeno {

class TWaveSound : public ISound {
 public:
  // Loops the file unless another sound still loops (no-stop); never falls
  // back to a default sound.
  void Start(const char* fileName) override;
  void Stop() override;

  // The executable's full path cut after its last path separator, plus the
  // name, in the ANSI code page. Empty if the executable's path is unknown.
  static std::string PathBesideExecutable(const char* fileName);

 private:
  std::string directory_;  // with the trailing separator, read once
  bool haveDirectory_ = false;
};

}  // namespace lumeno
