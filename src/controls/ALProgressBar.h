// The gradient progress bar without any platform: every property and rule of the
// control, composing the whole control into the 32-bit buffer of an IBarSurface.
// The Win32 window around it is TALProgressBar (ALProgressBar_win.h).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "controls/ALProgressBarColors.h"

namespace lumeno {

enum TProgressDirection : uint8_t { pdLeftToRight, pdRightToLeft, pdBottomToTop, pdTopToBottom };
enum TBarColorStyle : uint8_t { cs1Color, cs2Colors, cs3Colors };

// Raised by TALProgressBarCore::GradientColor for an index outside 1..count.
class ERangeError : public std::range_error {
 public:
  using std::range_error::range_error;
};

struct TTextExtent {
  int32_t Width = 0;
  int32_t Height = 0;
};

// What the bar needs of its platform. The surface owns FBuffer, the off-screen
// image in which each paint composes the whole control.
class IBarSurface {
 public:
  virtual ~IBarSurface() = default;
  // Makes FBuffer width x height (both > 0); nothing happens when the size is
  // unchanged, so the pixels stay where they are. False when there is nothing
  // to paint on yet (no window) or no memory: the paint is skipped.
  virtual bool SetBufferSize(int32_t width, int32_t height) = 0;
  // FBuffer's pixels: top-down rows of exactly width pixels.
  virtual TPixel* BufferPixels() = 0;
  // In FBuffer's font. The text is 8-bit, in the system code page.
  virtual TTextExtent MeasureText(std::string_view text) = 0;
  // Without a background box, the top-left of the text cell at (x, y); what
  // falls outside FBuffer is clipped.
  virtual void DrawText(int32_t x, int32_t y, std::string_view text, TPixel color) = 0;
  // Copies FBuffer to the control's (0, 0) on screen in one block copy.
  virtual void Present() = 0;
  // Copies one rectangle of FBuffer (inside it, not empty) to the same place
  // on screen; the rest of the screen already shows the rest of FBuffer.
  virtual void PresentRect(int32_t x, int32_t y, int32_t width, int32_t height) {
    (void)x, (void)y, (void)width, (void)height;
    Present();
  }
  // False while nothing of the control can be seen (e.g. its window is
  // minimised): the paint is skipped, and the next one is made in full.
  virtual bool Shown() { return true; }
  // The current value (0x00BBGGRR) of system colour index.
  virtual TColor SystemColor(uint8_t index) = 0;
};

// An image for BarBitmap: top-down rows of Width pixels. It holds no image while
// either side is 0 or the pixels are fewer than Width x Height. With Transparent,
// pixels of the bottom-left pixel's colour let the bar's BackgroundColor through.
struct TBarBitmap {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<TPixel> Pixels;
  bool Transparent = false;

  bool Empty() const;
  void Clear();
};

// Every colour of the bar at once (a colour scheme).
struct TBarColors {
  TBarColorStyle Style = cs3Colors;
  TColor Color1 = clGreen;
  TColor Color2 = clYellow;
  TColor Color3 = clRed;
  TColor Background = clBtnFace;
  TColor Border1 = clBtnShadow;
  TColor Border2 = clBtnHighlight;
  TColor Font = clWindowText;
};

class TALProgressBarCore {
 public:
  // The surface may be attached later; until then writes store and skip the paint.
  explicit TALProgressBarCore(IBarSurface* surface = nullptr);
  TALProgressBarCore(const TALProgressBarCore&) = delete;
  TALProgressBarCore& operator=(const TALProgressBarCore&) = delete;

  void SetSurface(IBarSurface* surface) { FSurface = surface; }

  // The control's size. Storing it does not paint: the host repaints after a
  // resize, and that paint re-renders the bar layer.
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetSize(int32_t width, int32_t height);

  // Stored properties. Every setter but SetPosition stores and repaints, also
  // when the value is unchanged.
  TColor GetBackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TColor value);
  // The control's own image; changing it in place repaints nothing until the
  // next paint that re-renders the bar layer.
  TBarBitmap& GetBarBitmap() { return FBarBitmap; }
  // Copies image (null empties the bar bitmap) and repaints.
  void SetBarBitmap(const TBarBitmap* image);
  TColor GetBarColor1() const { return FBarColor1; }
  void SetBarColor1(TColor value);
  TColor GetBarColor2() const { return FBarColor2; }
  void SetBarColor2(TColor value);
  TColor GetBarColor3() const { return FBarColor3; }
  void SetBarColor3(TColor value);
  TBarColorStyle GetBarColorStyle() const { return FBarColorStyle; }
  void SetBarColorStyle(TBarColorStyle value);
  TColor GetBorderColor1() const { return FBorderColor1; }
  void SetBorderColor1(TColor value);
  TColor GetBorderColor2() const { return FBorderColor2; }
  void SetBorderColor2(TColor value);
  TProgressDirection GetDirection() const { return FDirection; }
  void SetDirection(TProgressDirection value);
  // Min and Max are stored unchecked; Position may then lie outside them.
  int32_t GetMax() const { return FMax; }
  void SetMax(int32_t value);
  int32_t GetMin() const { return FMin; }
  void SetMin(int32_t value);
  bool GetPercentage() const { return FPercentage; }
  void SetPercentage(bool value);
  // Ignored (no store, no paint) when equal to the current value, above Max or
  // below Min; otherwise stored and painted over the bar layer already rendered.
  // The paint is left out when it would show the same pixels as the last one:
  // the filled length is unchanged and no position text is shown. When only
  // the filled length changes, only the strip between its old and new end is
  // redrawn and presented.
  int32_t GetPosition() const { return FPosition; }
  void SetPosition(int32_t value);
  const std::string& GetPosTextPrefix() const { return FPosTextPrefix; }
  void SetPosTextPrefix(std::string_view value);
  const std::string& GetPosTextSuffix() const { return FPosTextSuffix; }
  void SetPosTextSuffix(std::string_view value);
  bool GetShowBorder() const { return FShowBorder; }
  void SetShowBorder(bool value);
  // The border's thickness in pixels (1, more at a higher display scale),
  // kept within 1..kMaxBorderWidth.
  static constexpr int32_t kMaxBorderWidth = 1000;
  int32_t GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int32_t value);
  bool GetShowPosText() const { return FShowPosText; }
  void SetShowPosText(bool value);
  // Lines shown over the bar, in the font colour: paragraphs separated by
  // '\n', each wrapped at its spaces to fit inside the frame, every line
  // centred and the block centred too. Empty: none. 8-bit text, as the
  // position text.
  const std::string& GetNote() const { return FNote; }
  void SetNote(std::string_view value);
  // The note as it is drawn on a control width pixels wide.
  std::vector<std::string> NoteLines(int32_t width) const;
  // The position text's colour, a part of the control's font.
  TColor GetFontColor() const { return FFontColor; }
  void SetFontColor(TColor value);
  // Stores all of them and repaints once, re-rendering the bar layer.
  void SetColors(const TBarColors& colors);

  // While the host reads the control's stored properties the paints leave the
  // bar layer and the track out.
  bool GetLoading() const { return FLoading; }
  void SetLoading(bool value) { FLoading = value; }

  // The host has copied a new font into FBuffer.
  void FontChanged() { Paint(); }

  // Composes the whole control into FBuffer and presents it. Never throws.
  void Paint() noexcept;

  // Colour of line index of count lines running from first to last.
  // Throws ERangeError for an index outside 1..count.
  TColor GradientColor(TColor first, TColor last, int32_t count, int32_t index) const;

  // The filled length of a track of length trackLength for the current
  // Position, Min and Max.
  int64_t FilledLength(int32_t trackLength) const;
  // The number the position text shows.
  int64_t PosTextNumber() const;

  // The rendered bar layer, kept between paints (empty until first rendered).
  const std::vector<TPixel>& BarImage() const { return FBarImage; }
  int32_t BarImageWidth() const { return FBarImageWidth; }
  int32_t BarImageHeight() const { return FBarImageHeight; }

 private:
  TPixel Resolve(TColor color) const;
  bool SetBarImageSize(int32_t width, int32_t height);
  void DrawGradient();
  void TileBarBitmap();
  void DrawBorder();
  void DrawPosText();
  void DrawNote();
  void FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom, TPixel pixel);
  void HorzLine(int64_t fromX, int64_t toX, int64_t y, TPixel pixel);
  void VertLine(int64_t x, int64_t fromY, int64_t toY, TPixel pixel);
  void CopyBarImage();
  // The track is the control less its frame; its length runs in the direction.
  int64_t TrackLength() const;
  // The border's share of each edge (0 without a border).
  int64_t Inset() const { return FShowBorder ? FBorderWidth : 0; }
  struct TSpan {
    int64_t Left, Top, Right, Bottom;
  };
  // The part of the track between the filled lengths from and to (from <= to).
  TSpan TrackSpan(int64_t from, int64_t to) const;
  // What a Position write's paint depends on besides the bar layer.
  struct TPaintedState {
    int64_t Filled = -1;
    int32_t Width = 0;
    int32_t Height = 0;
    TPixel Background = 0;
    TPixel Border1 = 0;
    TPixel Border2 = 0;
    TPixel Bar1 = 0;
    bool operator==(const TPaintedState&) const = default;
  };
  TPaintedState CurrentPaintState() const;
  // Paint; known, when given, is CurrentPaintState() already worked out.
  void PaintAs(const TPaintedState* known) noexcept;
  // known, when given, holds the filled length already worked out.
  void DrawBar(bool rebuild, const TPaintedState* known);
  // Brings the screen from FPainted to next when only the filled length
  // differs, redrawing and presenting just the strip between the two ends.
  // False when that cannot be done; a full paint is then needed.
  bool PaintFillChange(const TPaintedState& next) noexcept;

  IBarSurface* FSurface = nullptr;
  int32_t FWidth = 200;
  int32_t FHeight = 20;
  TPixel* FPixels = nullptr;  // FBuffer while a paint runs

  TColor FBorderColor1 = clBtnShadow;
  TColor FBorderColor2 = clBtnHighlight;
  TColor FBackgroundColor = clBtnFace;
  int32_t FPosition = 0;
  TBarBitmap FBarBitmap;
  int32_t FMin = 0;
  int32_t FMax = 100;
  bool FShowBorder = true;
  int32_t FBorderWidth = 1;
  TProgressDirection FDirection = pdLeftToRight;
  bool FShowPosText = true;
  std::string FPosTextSuffix;
  std::string FPosTextPrefix;
  TBarColorStyle FBarColorStyle = cs3Colors;
  TColor FBarColor1 = clGreen;
  TColor FBarColor2 = clYellow;
  TColor FBarColor3 = clRed;
  bool FRebuildBarImage = true;
  bool FBarImageStale = false;  // a rebuilding paint was skipped while hidden
  std::vector<TPixel> FBarImage;
  int32_t FBarImageWidth = 0;
  int32_t FBarImageHeight = 0;
  bool FPercentage = false;

  TColor FFontColor = clWindowText;
  bool FLoading = false;
  std::string FNote;
  std::string FText;  // reused so that a Position write allocates nothing
  // The state the screen was last fully presented in; invalid after a paint
  // that was skipped or failed.
  TPaintedState FPainted;
  bool FPaintedValid = false;
};

}  // namespace lumeno
