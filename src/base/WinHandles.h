// Thin RAII owners for the Win32 handles Lumeno keeps. Copy is deleted; a move
// closes whatever the target held first.
#pragma once

#include <windows.h>

#include <utility>

namespace lumeno {

template <typename T, typename Traits>
class TUniqueHandle {
 public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(T value) : value_(value) {}
  ~TUniqueHandle() { reset(); }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& other) noexcept : value_(other.release()) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  T get() const { return value_; }
  explicit operator bool() const { return Traits::Valid(value_); }
  T release() { return std::exchange(value_, Traits::Empty()); }
  void reset(T value = Traits::Empty()) {
    T old = std::exchange(value_, value);
    if (Traits::Valid(old)) Traits::Close(old);
  }

 private:
  T value_ = Traits::Empty();
};

struct THandleTraits {
  static HANDLE Empty() { return nullptr; }
  // Both NULL and INVALID_HANDLE_VALUE mean "nothing to close".
  static bool Valid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct TKeyTraits {
  static HKEY Empty() { return nullptr; }
  static bool Valid(HKEY h) { return h != nullptr; }
  static void Close(HKEY h) { ::RegCloseKey(h); }
};
template <typename G>
struct TGdiTraits {
  static G Empty() { return nullptr; }
  static bool Valid(G h) { return h != nullptr; }
  static void Close(G h) { ::DeleteObject(h); }
};
struct TDcTraits {
  static HDC Empty() { return nullptr; }
  static bool Valid(HDC h) { return h != nullptr; }
  static void Close(HDC h) { ::DeleteDC(h); }
};

using TUniqueKernelHandle = TUniqueHandle<HANDLE, THandleTraits>;
using TUniqueKey = TUniqueHandle<HKEY, TKeyTraits>;
using TUniqueBitmap = TUniqueHandle<HBITMAP, TGdiTraits<HBITMAP>>;
using TUniqueFont = TUniqueHandle<HFONT, TGdiTraits<HFONT>>;
using TUniqueBrush = TUniqueHandle<HBRUSH, TGdiTraits<HBRUSH>>;
using TUniquePen = TUniqueHandle<HPEN, TGdiTraits<HPEN>>;
using TUniqueMemDc = TUniqueHandle<HDC, TDcTraits>;

// GetDC / ReleaseDC pair for one window.
class TScopedGetDc {
 public:
  explicit TScopedGetDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
  ~TScopedGetDc() {
    if (dc_) ::ReleaseDC(hwnd_, dc_);
  }
  TScopedGetDc(const TScopedGetDc&) = delete;
  TScopedGetDc& operator=(const TScopedGetDc&) = delete;
  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC dc_;
};

// Selects an object into a DC and puts the previous one back, into the same DC.
class TScopedSelect {
 public:
  TScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), prev_(dc && obj ? ::SelectObject(dc, obj) : nullptr) {}
  ~TScopedSelect() {
    if (dc_ && prev_) ::SelectObject(dc_, prev_);
  }
  TScopedSelect(const TScopedSelect&) = delete;
  TScopedSelect& operator=(const TScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ prev_;
};

}  // namespace lumeno
