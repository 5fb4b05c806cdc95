// TALProgressBar: the gradient progress bar as a Win32 child window. The
// portable TALProgressBarCore holds the properties and composes the picture; this
// class gives it a DIB section to draw in, GDI text, the system colours and the
// block copy to the screen. Every property write paints before it returns.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "controls/ALProgressBar.h"

namespace lumeno {

class TALProgressBar {
 public:
  static constexpr const wchar_t* kClassName = L"TALProgressBar";

  TALProgressBar();
  // Destroys the window if it still exists.
  ~TALProgressBar();
  TALProgressBar(const TALProgressBar&) = delete;
  TALProgressBar& operator=(const TALProgressBar&) = delete;

  // A visible child of parent. Properties written before this are kept; they
  // show at the first paint.
  bool Create(HWND parent, int x, int y, int width, int height, int id);
  HWND Handle() const { return FHandle; }

  // Moves and resizes; a new size repaints later, through WM_PAINT, and that
  // paint re-renders the bar layer.
  void SetBounds(int x, int y, int width, int height);
  int32_t Width() const { return FCore.Width(); }
  int32_t Height() const { return FCore.Height(); }

  TColor GetBackgroundColor() const { return FCore.GetBackgroundColor(); }
  void SetBackgroundColor(TColor value) { FCore.SetBackgroundColor(value); }
  // The control's own image; changes made to it show at the next rebuilding paint.
  TBarBitmap& GetBarBitmap() { return FCore.GetBarBitmap(); }
  void SetBarBitmap(const TBarBitmap* image) { FCore.SetBarBitmap(image); }
  // Copies the bitmap's pixels (null, or a bitmap that cannot be read, empties
  // the bar bitmap) and repaints.
  void SetBarBitmap(HBITMAP bitmap, bool transparent = false);
  TColor GetBarColor1() const { return FCore.GetBarColor1(); }
  void SetBarColor1(TColor value) { FCore.SetBarColor1(value); }
  TColor GetBarColor2() const { return FCore.GetBarColor2(); }
  void SetBarColor2(TColor value) { FCore.SetBarColor2(value); }
  TColor GetBarColor3() const { return FCore.GetBarColor3(); }
  void SetBarColor3(TColor value) { FCore.SetBarColor3(value); }
  TBarColorStyle GetBarColorStyle() const { return FCore.GetBarColorStyle(); }
  void SetBarColorStyle(TBarColorStyle value) { FCore.SetBarColorStyle(value); }
  TColor GetBorderColor1() const { return FCore.GetBorderColor1(); }
  void SetBorderColor1(TColor value) { FCore.SetBorderColor1(value); }
  TColor GetBorderColor2() const { return FCore.GetBorderColor2(); }
  void SetBorderColor2(TColor value) { FCore.SetBorderColor2(value); }
  TProgressDirection GetDirection() const { return FCore.GetDirection(); }
  void SetDirection(TProgressDirection value) { FCore.SetDirection(value); }
  int32_t GetMax() const { return FCore.GetMax(); }
  void SetMax(int32_t value) { FCore.SetMax(value); }
  int32_t GetMin() const { return FCore.GetMin(); }
  void SetMin(int32_t value) { FCore.SetMin(value); }
  bool GetPercentage() const { return FCore.GetPercentage(); }
  void SetPercentage(bool value) { FCore.SetPercentage(value); }
  int32_t GetPosition() const { return FCore.GetPosition(); }
  void SetPosition(int32_t value) { FCore.SetPosition(value); }
  // 8-bit text in the system code page.
  const std::string& GetPosTextPrefix() const { return FCore.GetPosTextPrefix(); }
  void SetPosTextPrefix(std::string_view value) { FCore.SetPosTextPrefix(value); }
  const std::string& GetPosTextSuffix() const { return FCore.GetPosTextSuffix(); }
  void SetPosTextSuffix(std::string_view value) { FCore.SetPosTextSuffix(value); }
  bool GetShowBorder() const { return FCore.GetShowBorder(); }
  void SetShowBorder(bool value) { FCore.SetShowBorder(value); }
  int32_t GetBorderWidth() const { return FCore.GetBorderWidth(); }
  void SetBorderWidth(int32_t value) { FCore.SetBorderWidth(value); }
  bool GetShowPosText() const { return FCore.GetShowPosText(); }
  void SetShowPosText(bool value) { FCore.SetShowPosText(value); }
  // Lines over the bar, wrapped to its width (8-bit, as the position text).
  const std::string& GetNote() const { return FCore.GetNote(); }
  void SetNote(std::string_view value) { FCore.SetNote(value); }

  // A left click on the bar; not the click that only brings an inactive
  // window to the front.
  std::function<void()> OnClick;

  // Copies the font (null: the default GUI font) for the position text, then
  // repaints. The caller keeps its font. WM_SETFONT does the same.
  void SetFont(HFONT font);
  HFONT GetFont() const;
  TColor GetFontColor() const { return FCore.GetFontColor(); }
  void SetFontColor(TColor value) { FCore.SetFontColor(value); }
  void SetColors(const TBarColors& colors) { FCore.SetColors(colors); }

  // While the owner sets up the control from its description: paints leave the
  // bar and the track out.
  void SetLoading(bool value) { FCore.SetLoading(value); }
  bool GetLoading() const { return FCore.GetLoading(); }

  // Composes and copies to the screen now.
  void Paint() { FCore.Paint(); }

  TALProgressBarCore& Core() { return FCore; }

  // What a screen reader hears (a progress bar): the name, and the value as a
  // label followed, where asked, by how full the bar is ("Breathe in, 45%").
  // Setting the value label raises one value-change event; Position writes
  // raise none, so a reader is not flooded.
  void SetAccessibleName(std::wstring name) { FAccessibleName = std::move(name); }
  const std::wstring& AccessibleName() const { return FAccessibleName; }
  void SetAccessibleValue(std::wstring label, bool withPercent);
  std::wstring AccessibleValue() const;
  // The default action a screen reader offers (empty: none), and what doing
  // it runs.
  void SetAccessibleAction(std::wstring name) { FAccessibleAction = std::move(name); }
  const std::wstring& AccessibleAction() const { return FAccessibleAction; }
  std::function<void()> OnAccessibleAction;
  // The bar that owns the window, or null.
  static TALProgressBar* FromHandle(HWND hwnd);

 private:
  class TSurface;
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // WM_GETOBJECT (ALProgressBarAccessible_win.cpp).
  static LRESULT AnswerGetObject(HWND hwnd, WPARAM wParam, LPARAM lParam);

  std::unique_ptr<TSurface> FSurface;
  TALProgressBarCore FCore;
  HWND FHandle = nullptr;
  std::wstring FAccessibleName;
  std::wstring FAccessibleLabel;
  bool FAccessiblePercent = true;
  std::wstring FAccessibleAction;
  // The button press that comes with this click activated the window.
  bool FActivatingClick = false;
};

}  // namespace lumeno
