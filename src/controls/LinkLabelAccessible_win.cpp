// The link label as screen readers see it: a link named after its caption,
// whose value is the address it opens and whose default action opens it.
#include <algorithm>
#include <new>

#include "controls/Accessible_win.h"
#include "controls/LinkLabel_win.h"

namespace lumeno {

namespace {

class TLinkAccessible final : public TAccessibleProxy {
 public:
  TLinkAccessible(HWND hwnd, IAccessible* standard) : TAccessibleProxy(hwnd, standard) {}

 protected:
  long Role() const override { return ROLE_SYSTEM_LINK; }
  bool Name(std::wstring& name) const override {
    const TLinkLabel* label = TLinkLabel::FromHandle(FHwnd);
    if (!label) return false;
    name = label->Caption();
    return true;
  }
  bool Value(std::wstring& value) const override {
    const TLinkLabel* label = TLinkLabel::FromHandle(FHwnd);
    if (!label) return false;
    const std::string target = label->Target();
    const int length = static_cast<int>(std::min<size_t>(target.size(), 4096));
    value.assign(static_cast<size_t>(length), L'\0');
    value.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, target.data(), length, value.data(), length)));
    return true;
  }
  long ExtraState() const override { return STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE; }
  const wchar_t* DefaultAction() const override { return L"Jump"; }
  // Answered before the shell runs: the client is not kept waiting.
  bool DoDefaultAction() override { return PostMessageW(FHwnd, TLinkLabel::kOpenLinkMessage, 0, 0) != FALSE; }
};

}  // namespace

TLinkLabel* TLinkLabel::FromHandle(HWND hwnd) {
  wchar_t name[32] = {};
  if (!hwnd || !GetClassNameW(hwnd, name, 32) || lstrcmpW(name, kClassName) != 0) return nullptr;
  return reinterpret_cast<TLinkLabel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT TLinkLabel::AnswerGetObject(HWND hwnd, WPARAM wp, LPARAM lp) {
  return lumeno::AnswerGetObject(hwnd, wp, lp, [](HWND window, IAccessible* standard) -> TAccessibleProxy* {
    return new (std::nothrow) TLinkAccessible(window, standard);
  });
}

}  // namespace lumeno
