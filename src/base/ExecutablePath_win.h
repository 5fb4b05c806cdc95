// Where the running executable lies: its full path and its folder, as wide
// strings, however long (the sounds beside it, the about window's version).
#pragma once

#include <string>

namespace lumeno {

// The executable's full path; empty if the system cannot give it.
std::wstring ExecutablePath();
// Its folder with the trailing separator; empty if the path is unknown.
std::wstring ExecutableDirectory();

}  // namespace lumeno
