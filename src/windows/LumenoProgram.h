// Lumeno from start to end: the application object, the four windows created
// hidden in their fixed order, the message loop, and the windows destroyed in
// reverse order once the loop has ended.
#pragma once

#include <windows.h>

#include <memory>

#include "windows/LumenoAbout.h"
#include "windows/LumenoForm.h"
#include "windows/LumenoInstruction.h"
#include "windows/LumenoSettings.h"

namespace lumeno {

class TLumenoProgram {
 public:
  explicit TLumenoProgram(TLumenoServices services = {}) : FServices(std::move(services)) {}
  ~TLumenoProgram();
  TLumenoProgram(const TLumenoProgram&) = delete;
  TLumenoProgram& operator=(const TLumenoProgram&) = delete;

  // Initialises the application object, titles it "Lumeno", then creates the
  // main window (its placement store and guard run inside), the settings
  // dialog (which loads the settings and starts the pacer), the instruction
  // window and the about window. All of them are created even when the guard
  // has asked the application to end.
  void Create(HINSTANCE instance);
  // Shows the main window unless the guard said not to, and runs the loop
  // until the quit request. Returns the exit code.
  int Run(int showCommand);

  std::unique_ptr<TFormLumeno> FormLumeno;
  std::unique_ptr<TFormSettings> FormSettings;
  std::unique_ptr<TFormInstruction> FormInstruction;
  std::unique_ptr<TFormAbout> FormAbout;

 private:
  TLumenoServices FServices;
};

}  // namespace lumeno
