// Lumeno's entry point. It takes nothing from the command line.
#include <windows.h>

#include "app/Application.h"
#include "base/SystemLibrary_win.h"
#include "windows/LumenoProgram.h"

namespace {

// How long the windows' teardown may take once the loop has ended.
constexpr DWORD kShutdownMs = 5000;

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  lumeno::RestrictLibrarySearch();
  int exitCode = 0;
  {
    lumeno::TLumenoProgram program;
    program.Create(instance);
    exitCode = program.Run(showCommand);
    // The placement and the settings are saved by now.
    lumeno::EndProcessWithin(kShutdownMs, exitCode);
  }
  // The windows, the guard's mutex and the sound player's owner are gone.
  // The system libraries' own unload steps are not run: with a player
  // thread of winmm's cut off by the exit, they have nothing left to do for
  // us and one that waits could keep a closed Lumeno running.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
  return exitCode;
}
