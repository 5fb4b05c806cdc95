// Lumeno's entry point. It takes nothing from the command line.
#include <windows.h>

#include "app/Application.h"
#include "base/SystemLibrary_win.h"
#include "windows/LumenoProgram.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  lumeno::RestrictLibrarySearch();
  int exitCode = 0;
  {
    lumeno::TLumenoProgram program;
    program.Create(instance);
    exitCode = program.Run(showCommand);
  }
  // The windows, the guard's mutex and the sound's thread are gone; what
  // follows is an ordinary exit.
  return exitCode;
}
