// Lumeno's entry point. It takes nothing from the command line.
#include <windows.h>

#include "windows/LumenoProgram.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  lumeno::TLumenoProgram program;
  program.Create(instance);
  return program.Run(showCommand);
}
