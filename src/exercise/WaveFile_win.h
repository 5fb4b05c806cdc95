// Whether a sound file of the user's can be played, checked before it is
// handed to the player, so a file that cannot be played is never played and
// can be named to the user.
#pragma once

#include <string>

namespace lumeno {

// path: a full path in UTF-8. Only files on the computer's own fixed drives
// are opened and their header checked: a share or a removable drive could
// keep the window waiting, so a path there counts as playable and the player
// tries it on its own thread (where a file it cannot play plays nothing).
bool CanPlaySoundFile(const std::string& path);

}  // namespace lumeno
