#include "windows/KeyboardUpDown.h"

#include <commctrl.h>

#include <new>

#include "controls/Accessible_win.h"

namespace lumeno {

namespace {

constexpr UINT_PTR kSubclassId = 14;

struct TUpDownInfo {
  HWND Figure;
  std::wstring Name;
  std::wstring Unit;
};

// The subclass's data, also for the accessible object, which only has the window.
constexpr wchar_t kInfoProperty[] = L"Lumeno.UpDownInfo";

const TUpDownInfo* InfoOf(HWND upDown) {
  return upDown ? static_cast<const TUpDownInfo*>(GetPropW(upDown, kInfoProperty)) : nullptr;
}

std::wstring TextOf(HWND hwnd) {
  wchar_t text[64] = {};
  GetWindowTextW(hwnd, text, 64);
  return text;
}

class TUpDownAccessible final : public TAccessibleProxy {
 public:
  TUpDownAccessible(HWND hwnd, IAccessible* standard) : TAccessibleProxy(hwnd, standard) {}

 protected:
  long Role() const override { return ROLE_SYSTEM_SPINBUTTON; }
  bool Name(std::wstring& name) const override {
    const TUpDownInfo* info = InfoOf(FHwnd);
    if (!info) return false;
    name = info->Name;
    return true;
  }
  bool Value(std::wstring& value) const override {
    const TUpDownInfo* info = InfoOf(FHwnd);
    if (!info) return false;
    value = TextOf(info->Figure) + L" " + info->Unit;
    return true;
  }
  long ExtraState() const override { return STATE_SYSTEM_FOCUSABLE; }
};

LRESULT CALLBACK UpDownProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  switch (msg) {
    case WM_GETDLGCODE:
      // The arrows step the control instead of moving the focus.
      return DefSubclassProc(hwnd, msg, wp, lp) | DLGC_WANTARROWS;
    case WM_KEYDOWN:
      if (wp == VK_PRIOR || wp == VK_NEXT) {
        for (int i = 0; i < kPagePresses; ++i)
          DefSubclassProc(hwnd, WM_KEYDOWN, wp == VK_PRIOR ? VK_UP : VK_DOWN, lp);
        return 0;
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // Erased too: the arrows leave a seam between them unpainted.
      InvalidateRect(hwnd, nullptr, TRUE);
      break;
    case WM_PAINT: {
      if (wp) break;  // painting into a DC it was given
      // The control draws no focus of its own: it is drawn here, into the
      // same paint, so it is clipped to what is being repainted.
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (dc) {
        DefSubclassProc(hwnd, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        RECT rc{};
        GetClientRect(hwnd, &rc);
        InflateRect(&rc, -1, -1);
        if (GetFocus() == hwnd) DrawFocusRect(dc, &rc);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_GETOBJECT:
      return AnswerGetObject(
          hwnd, wp, lp,
          [](HWND window, IAccessible* standard) -> TAccessibleProxy* {
            return new (std::nothrow) TUpDownAccessible(window, standard);
          },
          DefSubclassProc);
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, UpDownProc, id);
      RemovePropW(hwnd, kInfoProperty);
      delete reinterpret_cast<TUpDownInfo*>(data);
      break;
    default:
      break;
  }
  return DefSubclassProc(hwnd, msg, wp, lp);
}

// The figure label: a new text is a new value of its up-down.
LRESULT CALLBACK FigureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
  if (msg == WM_SETTEXT) {
    const std::wstring before = TextOf(hwnd);
    const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    if (TextOf(hwnd) != before) NotifyValueChanged(reinterpret_cast<HWND>(data));
    return result;
  }
  if (msg == WM_NCDESTROY) RemoveWindowSubclass(hwnd, FigureProc, id);
  return DefSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void MakeKeyboardUpDown(HWND upDown, HWND figure, std::wstring name, std::wstring unit) {
  if (!upDown) return;
  auto* info = new (std::nothrow) TUpDownInfo{figure, std::move(name), std::move(unit)};
  if (!info) return;
  if (!SetPropW(upDown, kInfoProperty, info)) {
    delete info;
    return;
  }
  if (!SetWindowSubclass(upDown, UpDownProc, kSubclassId, reinterpret_cast<DWORD_PTR>(info))) {
    RemovePropW(upDown, kInfoProperty);
    delete info;
    return;
  }
  if (figure) SetWindowSubclass(figure, FigureProc, kSubclassId, reinterpret_cast<DWORD_PTR>(upDown));
}

}  // namespace lumeno
