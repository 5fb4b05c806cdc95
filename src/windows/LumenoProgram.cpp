#include "windows/LumenoProgram.h"

#include "app/Application.h"

namespace lumeno {

TLumenoProgram::~TLumenoProgram() {
  FormAbout.reset();
  FormInstruction.reset();
  FormSettings.reset();
  FormLumeno.reset();
}

void TLumenoProgram::Create(HINSTANCE instance) {
  TApplication& application = Application();
  application.Initialize(instance);
  application.SetTitle("Lumeno");
  FormLumeno = std::make_unique<TFormLumeno>(application, FServices);
  FormSettings = std::make_unique<TFormSettings>(*FormLumeno, FServices.MakeRegistry);
  FormInstruction = std::make_unique<TFormInstruction>(*FormLumeno);
  FormAbout = std::make_unique<TFormAbout>(*FormLumeno);
  FormLumeno->SetForms(FormSettings.get(), FormInstruction.get(), FormAbout.get());
}

int TLumenoProgram::Run(int showCommand) { return Application().Run(showCommand); }

}  // namespace lumeno
