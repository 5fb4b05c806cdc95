#include "app/Application.h"
#include "app/JustOne.h"

namespace lumeno {

std::string TApplicationGuardHost::Title() const { return FApplication.Title(); }
HWND TApplicationGuardHost::Handle() const { return FApplication.Handle(); }
void TApplicationGuardHost::SetShowMainForm(bool show) { FApplication.ShowMainForm = show; }
void TApplicationGuardHost::Terminate() { FApplication.Terminate(); }

}  // namespace lumeno
