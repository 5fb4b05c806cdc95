// The bar as screen readers see it: a progress bar with the name and value
// its owner gives it.
#include <algorithm>
#include <new>

#include "controls/ALProgressBar_win.h"
#include "controls/Accessible_win.h"

namespace lumeno {

namespace {

class TBarAccessible final : public TAccessibleProxy {
 public:
  TBarAccessible(HWND hwnd, IAccessible* standard) : TAccessibleProxy(hwnd, standard) {}

 protected:
  long Role() const override { return ROLE_SYSTEM_PROGRESSBAR; }
  bool Name(std::wstring& name) const override {
    const TALProgressBar* bar = TALProgressBar::FromHandle(FHwnd);
    if (!bar || bar->AccessibleName().empty()) return false;
    name = bar->AccessibleName();
    return true;
  }
  bool Value(std::wstring& value) const override {
    const TALProgressBar* bar = TALProgressBar::FromHandle(FHwnd);
    if (!bar) return false;
    value = bar->AccessibleValue();
    return true;
  }
  long ExtraState() const override { return STATE_SYSTEM_READONLY; }
  const wchar_t* DefaultAction() const override {
    const TALProgressBar* bar = TALProgressBar::FromHandle(FHwnd);
    return bar && !bar->AccessibleAction().empty() ? bar->AccessibleAction().c_str() : nullptr;
  }
  bool DoDefaultAction() override {
    TALProgressBar* bar = TALProgressBar::FromHandle(FHwnd);
    if (!bar || !bar->OnAccessibleAction) return false;
    bar->OnAccessibleAction();
    return true;
  }
};

}  // namespace

TALProgressBar* TALProgressBar::FromHandle(HWND hwnd) {
  wchar_t name[32] = {};
  if (!hwnd || !GetClassNameW(hwnd, name, 32) || lstrcmpW(name, kClassName) != 0) return nullptr;
  return reinterpret_cast<TALProgressBar*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void TALProgressBar::SetAccessibleValue(std::wstring label, bool withPercent) {
  FAccessibleLabel = std::move(label);
  FAccessiblePercent = withPercent;
  NotifyValueChanged(FHandle);
}

std::wstring TALProgressBar::AccessibleValue() const {
  if (!FAccessiblePercent) return FAccessibleLabel;
  // How full the bar shows, as a track of 100 would be filled.
  const int64_t percent = std::clamp<int64_t>(FCore.FilledLength(100), 0, 100);
  std::wstring text = FAccessibleLabel;
  if (!text.empty()) text += L", ";
  return text + std::to_wstring(percent) + L"%";
}

LRESULT TALProgressBar::AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  return lumeno::AnswerGetObject(hwnd, wParam, lParam, [](HWND window, IAccessible* standard) -> TAccessibleProxy* {
    return new (std::nothrow) TBarAccessible(window, standard);
  });
}

}  // namespace lumeno
