#include "windows/Taskbar.h"

#include <shobjidl.h>

#include <string>

#include "base/SystemLibrary_win.h"
#include "base/WinHandles.h"

namespace lumeno {

namespace {

// Spelled out rather than taken from an import library (see the accessibility
// interface's note on Wine).
constexpr GUID kClsidTaskbarList = {0x56FDF344, 0xFD6D, 0x11D0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};
constexpr GUID kIidTaskbarList3 = {0xEA1AFB91, 0x9E28, 0x4B86, {0x90, 0xE9, 0x9E, 0x9F, 0x8A, 0x5E, 0xEF, 0xAF}};

ITaskbarList3* CreateTaskbarList() {
  HRESULT(WINAPI * initialize)(void*, DWORD) = nullptr;
  HRESULT(WINAPI * create)(REFCLSID, IUnknown*, DWORD, REFIID, void**) = nullptr;
  HMODULE ole32 = LoadSystemLibrary(L"ole32.dll");
  ResolveProc(ole32, "CoInitializeEx", initialize);
  ResolveProc(ole32, "CoCreateInstance", create);
  if (!initialize || !create) return nullptr;
  // The GUI thread stays in its apartment for the rest of the run.
  initialize(nullptr, COINIT_APARTMENTTHREADED);
  ITaskbarList3* list = nullptr;
  if (FAILED(create(kClsidTaskbarList, nullptr, CLSCTX_INPROC_SERVER, kIidTaskbarList3,
                    reinterpret_cast<void**>(&list))) ||
      !list)
    return nullptr;
  if (FAILED(list->HrInit())) {
    list->Release();
    return nullptr;
  }
  return list;
}

// A small white sign on a clear ground: two bars, or a triangle pointing right.
HICON MakeSignIcon(bool pause) {
  const int size = GetSystemMetrics(SM_CXSMICON) > 0 ? GetSystemMetrics(SM_CXSMICON) : 16;
  BITMAPV5HEADER header{};
  header.bV5Size = sizeof header;
  header.bV5Width = size;
  header.bV5Height = -size;
  header.bV5Planes = 1;
  header.bV5BitCount = 32;
  header.bV5Compression = BI_BITFIELDS;
  header.bV5RedMask = 0x00FF0000;
  header.bV5GreenMask = 0x0000FF00;
  header.bV5BlueMask = 0x000000FF;
  header.bV5AlphaMask = 0xFF000000;
  void* bits = nullptr;
  const TUniqueBitmap color(CreateDIBSection(TScopedGetDc(nullptr).get(), reinterpret_cast<BITMAPINFO*>(&header),
                                             DIB_RGB_COLORS, &bits, nullptr, 0));
  const TUniqueBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
  if (!color || !mask || !bits) return nullptr;
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const int u = x * 16 / size, v = y * 16 / size;  // on a 16-unit grid
      const bool bars = v >= 3 && v <= 12 && ((u >= 4 && u <= 6) || (u >= 9 && u <= 11));
      // Corners (5, 3), (5, 12) and (12, 7.5).
      const bool triangle = u >= 5 && u <= 12 && 14 * v >= 42 + 9 * (u - 5) && 14 * v <= 168 - 9 * (u - 5);
      const bool in = pause ? bars : triangle;
      pixels[y * size + x] = in ? 0xFFFFFFFFu : 0u;
    }
  }
  ICONINFO info{TRUE, 0, 0, mask.get(), color.get()};
  return CreateIconIndirect(&info);
}

class TSystemTaskbarButton final : public ITaskbarButton {
 public:
  ~TSystemTaskbarButton() override {
    if (FList) FList->Release();
    for (HICON icon : FIcons)
      if (icon) DestroyIcon(icon);
  }

  void ButtonCreated(HWND owner) override {
    FOwner = owner;
    if (!FList) FList = CreateTaskbarList();
    // A new button has no thumbnail button and no progress yet.
    FButtonAdded = false;
    FShownState = TBPF_NOPROGRESS;
    ApplyProgress();
    ApplyThumb();
  }

  void SetProgress(TProgress state, uint64_t done, uint64_t total) override {
    FState = state;
    FDone = done;
    FTotal = total;
    ApplyProgress();
  }

  void SetThumbButton(bool pauseSign, const wchar_t* tip) override {
    const std::wstring text = tip ? tip : L"";
    if (FButtonAdded && pauseSign == FPauseSign && FTip == text) return;
    FPauseSign = pauseSign;
    FTip = text;
    ApplyThumb();
  }

 private:
  void ApplyProgress() {
    if (!FList || !FOwner) return;
    const TBPFLAG flag =
        FState == TProgress::Normal ? TBPF_NORMAL : FState == TProgress::Paused ? TBPF_PAUSED : TBPF_NOPROGRESS;
    if (flag != FShownState) FList->SetProgressState(FOwner, flag);
    FShownState = flag;
    if (flag != TBPF_NOPROGRESS) FList->SetProgressValue(FOwner, FDone, FTotal);
  }

  void ApplyThumb() {
    if (!FList || !FOwner) return;
    HICON& icon = FIcons[FPauseSign ? 0 : 1];
    if (!icon) icon = MakeSignIcon(FPauseSign);
    THUMBBUTTON button{};
    button.dwMask = static_cast<THUMBBUTTONMASK>(THB_ICON | THB_TOOLTIP | THB_FLAGS);
    button.iId = kThumbButtonId;
    button.hIcon = icon;
    lstrcpynW(button.szTip, FTip.c_str(), ARRAYSIZE(button.szTip));
    button.dwFlags = THBF_ENABLED;
    if (FButtonAdded) {
      FList->ThumbBarUpdateButtons(FOwner, 1, &button);
    } else {
      FButtonAdded = SUCCEEDED(FList->ThumbBarAddButtons(FOwner, 1, &button));
    }
  }

  ITaskbarList3* FList = nullptr;
  HWND FOwner = nullptr;
  bool FButtonAdded = false;
  TBPFLAG FShownState = TBPF_NOPROGRESS;
  TProgress FState = TProgress::None;
  uint64_t FDone = 0;
  uint64_t FTotal = 0;
  bool FPauseSign = true;
  std::wstring FTip = L"Pause";
  HICON FIcons[2] = {};
};

}  // namespace

bool IsThumbButtonClick(WPARAM wp) { return HIWORD(wp) == THBN_CLICKED && LOWORD(wp) == kThumbButtonId; }

std::unique_ptr<ITaskbarButton> MakeSystemTaskbarButton() { return std::make_unique<TSystemTaskbarButton>(); }

}  // namespace lumeno
