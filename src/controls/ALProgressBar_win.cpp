#include "controls/ALProgressBar_win.h"

#include <algorithm>
#include <string>

#include "base/WinHandles.h"

namespace lumeno {

// FBuffer as a 32-bit top-down DIB section selected into a memory DC, so that
// the compositor writes its pixels directly and GDI draws the text on them.
class TALProgressBar::TSurface : public IBarSurface {
 public:
  TSurface() : FDc(::CreateCompatibleDC(nullptr)) { SetFont(nullptr); }

  ~TSurface() override {
    // Objects still selected into a DC cannot be deleted.
    if (FDc && FOldBitmap) ::SelectObject(FDc.get(), FOldBitmap);
    if (FDc && FOldFont) ::SelectObject(FDc.get(), FOldFont);
  }

  HWND Window = nullptr;
  HDC PaintDc = nullptr;  // the WM_PAINT DC while one is handled

  void SetFont(HFONT font) {
    LOGFONTW lf{};
    if (font == nullptr || ::GetObjectW(font, sizeof lf, &lf) != sizeof lf) {
      ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    }
    TUniqueFont copy(::CreateFontIndirectW(&lf));
    if (!copy || !FDc) return;
    HGDIOBJ previous = ::SelectObject(FDc.get(), copy.get());
    if (!FOldFont) FOldFont = previous;
    FFont = std::move(copy);
  }
  HFONT Font() const { return FFont.get(); }

  bool SetBufferSize(int32_t width, int32_t height) override {
    if (Window == nullptr || !FDc) return false;
    if (FBitmap && width == FWidth && height == FHeight) return true;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    TUniqueBitmap bitmap(::CreateDIBSection(FDc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || bits == nullptr) return false;
    HGDIOBJ previous = ::SelectObject(FDc.get(), bitmap.get());
    if (!FOldBitmap) FOldBitmap = previous;
    FBitmap = std::move(bitmap);  // the old one is no longer selected
    FBits = static_cast<TPixel*>(bits);
    FWidth = width;
    FHeight = height;
    return true;
  }

  TPixel* BufferPixels() override {
    // GDI may still be writing the previous text into the bits.
    ::GdiFlush();
    return FBits;
  }

  TTextExtent MeasureText(std::string_view text) override {
    Widen(text);
    SIZE size{};
    ::GetTextExtentPoint32W(FDc.get(), FWide.data(), static_cast<int>(FWide.size()), &size);
    return {size.cx, size.cy};
  }

  void DrawText(int32_t x, int32_t y, std::string_view text, TPixel color) override {
    Widen(text);
    ::SetBkMode(FDc.get(), TRANSPARENT);
    ::SetTextColor(FDc.get(), PixelToColor(color));
    ::TextOutW(FDc.get(), x, y, FWide.data(), static_cast<int>(FWide.size()));
  }

  void Present() override { PresentRect(0, 0, FWidth, FHeight); }

  // Under Wine the whole rectangle travels on to the X server, so a strip
  // costs far less than the control.
  void PresentRect(int32_t x, int32_t y, int32_t width, int32_t height) override {
    if (PaintDc != nullptr) {
      ::BitBlt(PaintDc, x, y, width, height, FDc.get(), x, y, SRCCOPY);
      return;
    }
    TScopedGetDc dc(Window);
    if (dc) ::BitBlt(dc.get(), x, y, width, height, FDc.get(), x, y, SRCCOPY);
  }

  TColor SystemColor(uint8_t index) override { return ::GetSysColor(index); }

  // A minimised window shows none of its children; restoring it repaints them
  // through WM_PAINT.
  bool Shown() override {
    if (PaintDc != nullptr) return true;
    HWND root = Window != nullptr ? ::GetAncestor(Window, GA_ROOT) : nullptr;
    return root == nullptr || !::IsIconic(root);
  }

 private:
  // The 8-bit text in the system code page, as UTF-16 for the W calls. The
  // string keeps its capacity, so a repeated text allocates nothing.
  void Widen(std::string_view text) {
    const int length = static_cast<int>(std::min<size_t>(text.size(), INT32_MAX));
    const int wide = length == 0 ? 0 : ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    FWide.resize(static_cast<size_t>(wide));
    if (wide > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, FWide.data(), wide);
  }

  TUniqueMemDc FDc;
  TUniqueBitmap FBitmap;
  TUniqueFont FFont;
  HGDIOBJ FOldBitmap = nullptr;
  HGDIOBJ FOldFont = nullptr;
  TPixel* FBits = nullptr;
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  std::wstring FWide;
};

TALProgressBar::TALProgressBar() : FSurface(std::make_unique<TSurface>()), FCore(FSurface.get()) {}

TALProgressBar::~TALProgressBar() {
  if (FHandle != nullptr) ::DestroyWindow(FHandle);
}

bool TALProgressBar::Create(HWND parent, int x, int y, int width, int height, int id) {
  if (FHandle != nullptr) return false;
  static const ATOM atom = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // A new size re-renders the whole bar layer, not only the uncovered strip.
    // An own DC: a Position write paints outside WM_PAINT many times a second,
    // and fetching a common DC for each costs more than the copy itself.
    wc.style = CS_HREDRAW | CS_VREDRAW | CS_OWNDC;
    wc.lpfnWndProc = &TALProgressBar::WndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hCursor = ::LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = nullptr;  // every paint covers the whole control
    wc.lpszClassName = kClassName;
    return ::RegisterClassExW(&wc);
  }();
  if (atom == 0) return false;
  FCore.SetSize(width, height);
  HWND hwnd = ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), this);
  return hwnd != nullptr;
}

void TALProgressBar::SetBounds(int x, int y, int width, int height) {
  if (FHandle == nullptr) {
    FCore.SetSize(width, height);
    return;
  }
  // WM_SIZE stores the new size; the invalidation brings the rebuilding paint.
  ::MoveWindow(FHandle, x, y, width, height, TRUE);
}

void TALProgressBar::SetBarBitmap(HBITMAP bitmap, bool transparent) {
  BITMAP info{};
  if (bitmap == nullptr || ::GetObjectW(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0) {
    FCore.SetBarBitmap(nullptr);
    return;
  }
  TBarBitmap image;
  image.Width = info.bmWidth;
  image.Height = info.bmHeight;
  image.Transparent = transparent;
  image.Pixels.resize(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight));
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = info.bmWidth;
  format.bmiHeader.biHeight = -info.bmHeight;  // top-down
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  TScopedGetDc screen(nullptr);
  const int rows = screen ? ::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(info.bmHeight), image.Pixels.data(),
                                        &format, DIB_RGB_COLORS)
                          : 0;
  if (rows != info.bmHeight) {
    FCore.SetBarBitmap(nullptr);
    return;
  }
  for (TPixel& p : image.Pixels) p &= 0x00FFFFFFu;
  FCore.SetBarBitmap(&image);
}

void TALProgressBar::SetFont(HFONT font) {
  FSurface->SetFont(font);
  FCore.FontChanged();
}

HFONT TALProgressBar::GetFont() const { return FSurface->Font(); }

LRESULT CALLBACK TALProgressBar::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TALProgressBar* self = nullptr;
  if (msg == WM_NCCREATE) {
    self = static_cast<TALProgressBar*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->FHandle = hwnd;
    self->FSurface->Window = hwnd;
  } else {
    self = reinterpret_cast<TALProgressBar*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (self == nullptr) return ::DefWindowProcW(hwnd, msg, wParam, lParam);

  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel; erasing would only flicker
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd, &ps);
      self->FSurface->PaintDc = dc;
      self->FCore.Paint();
      self->FSurface->PaintDc = nullptr;
      ::EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_SIZE:
      self->FCore.SetSize(LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_SETFONT:
      self->SetFont(reinterpret_cast<HFONT>(wParam));
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(self->GetFont());
    case WM_GETOBJECT:
      return AnswerGetObject(hwnd, wParam, lParam);
    case WM_MOUSEACTIVATE: {
      // Comes before the button press: a click into a window that is not in
      // front only brings it there.
      HWND root = ::GetAncestor(hwnd, GA_ROOT);
      self->FActivatingClick =
          HIWORD(lParam) == WM_LBUTTONDOWN && root != nullptr && ::GetForegroundWindow() != root;
      break;
    }
    case WM_LBUTTONDOWN:
      if (self->FActivatingClick) {
        self->FActivatingClick = false;
      } else if (self->OnClick) {
        self->OnClick();
      }
      return 0;
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->FHandle = nullptr;
      self->FSurface->Window = nullptr;
      break;
    default:
      // Right clicks included: DefWindowProc turns them into WM_CONTEXTMENU
      // and hands that on to the parent.
      break;
  }
  return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace lumeno
