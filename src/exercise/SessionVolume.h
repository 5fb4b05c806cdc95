// The volume of Lumeno's own audio session: the one the system's volume mixer
// shows for Lumeno and keeps between runs, not the whole computer's. Lumeno
// keeps no copy of it; whoever shows it asks again.
#pragma once

#include <optional>

namespace lumeno {

class ISessionVolume {
 public:
  virtual ~ISessionVolume() = default;
  // Finds the session afresh (the default device may have changed since);
  // false when there is none, for instance with no audio device.
  virtual bool Connect() = 0;
  // 0 to 100, or nothing when there is no session.
  virtual std::optional<int> Percent() = 0;
  virtual bool SetPercent(int percent) = 0;
};

}  // namespace lumeno
