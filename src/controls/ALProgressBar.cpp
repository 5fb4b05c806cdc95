#include "controls/ALProgressBar.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>
#include <optional>

#include "controls/ALProgressBarMath.h"
#include "base/Ext80.h"

namespace lumeno {
namespace {

// Values no setter can refuse still draw as something defined: an unknown
// direction as the initial one, an unknown style as the initial one.
TProgressDirection Known(TProgressDirection d) { return d <= pdTopToBottom ? d : pdLeftToRight; }
TBarColorStyle Known(TBarColorStyle s) { return s <= cs3Colors ? s : cs3Colors; }

bool IsHorizontal(TProgressDirection d) { return d == pdLeftToRight || d == pdRightToLeft; }

// The origin is at the right or the bottom: colours are listed from the far end.
bool OriginAtHighEnd(TProgressDirection d) { return d == pdRightToLeft || d == pdBottomToTop; }

// A text's place, however far off the control it falls.
int32_t ClampToInt32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

bool TBarBitmap::Empty() const {
  if (Width <= 0 || Height <= 0) return true;
  return static_cast<uint64_t>(Width) * static_cast<uint64_t>(Height) > Pixels.size();
}

void TBarBitmap::Clear() {
  Width = 0;
  Height = 0;
  Pixels.clear();
  Transparent = false;
}

TALProgressBarCore::TALProgressBarCore(IBarSurface* surface) : FSurface(surface) {}

void TALProgressBarCore::SetSize(int32_t width, int32_t height) {
  FWidth = width;
  FHeight = height;
}

void TALProgressBarCore::SetBackgroundColor(TColor value) {
  FBackgroundColor = value;
  Paint();
}

void TALProgressBarCore::SetBarBitmap(const TBarBitmap* image) {
  if (image != nullptr && !image->Empty()) {
    if (image != &FBarBitmap) FBarBitmap = *image;
  } else {
    FBarBitmap.Clear();
  }
  Paint();
}

void TALProgressBarCore::SetBarColor1(TColor value) {
  FBarColor1 = value;
  Paint();
}

void TALProgressBarCore::SetBarColor2(TColor value) {
  FBarColor2 = value;
  Paint();
}

void TALProgressBarCore::SetBarColor3(TColor value) {
  FBarColor3 = value;
  Paint();
}

void TALProgressBarCore::SetBarColorStyle(TBarColorStyle value) {
  FBarColorStyle = value;
  Paint();
}

void TALProgressBarCore::SetBorderColor1(TColor value) {
  FBorderColor1 = value;
  Paint();
}

void TALProgressBarCore::SetBorderColor2(TColor value) {
  FBorderColor2 = value;
  Paint();
}

void TALProgressBarCore::SetDirection(TProgressDirection value) {
  FDirection = value;
  Paint();
}

void TALProgressBarCore::SetMax(int32_t value) {
  FMax = value;
  Paint();
}

void TALProgressBarCore::SetMin(int32_t value) {
  FMin = value;
  Paint();
}

void TALProgressBarCore::SetPercentage(bool value) {
  FPercentage = value;
  Paint();
}

void TALProgressBarCore::SetPosition(int32_t value) {
  if (value == FPosition || value > FMax || value < FMin) return;
  FPosition = value;
  // What the screen would show after this write, worked out once: it decides
  // whether to paint at all and is what the paint leaves on screen.
  std::optional<TPaintedState> next;
  if (FSurface != nullptr && !FLoading) {
    next = CurrentPaintState();
    // A paint giving exactly the pixels of the last full one is left out,
    // and one differing only in the filled length redraws only the difference.
    if (FPaintedValid && !FShowPosText && FNote.empty() && (*next == FPainted || PaintFillChange(*next))) return;
  }
  // Paint never throws, so the flag is always set back.
  FRebuildBarImage = false;
  PaintAs(next ? &*next : nullptr);
  FRebuildBarImage = true;
}

void TALProgressBarCore::SetPosTextPrefix(std::string_view value) {
  FPosTextPrefix.assign(value);
  Paint();
}

void TALProgressBarCore::SetPosTextSuffix(std::string_view value) {
  FPosTextSuffix.assign(value);
  Paint();
}

void TALProgressBarCore::SetShowBorder(bool value) {
  FShowBorder = value;
  Paint();
}

void TALProgressBarCore::SetBorderWidth(int32_t value) {
  FBorderWidth = std::clamp<int32_t>(value, 1, kMaxBorderWidth);
  FPaintedValid = false;
  Paint();
}

void TALProgressBarCore::SetNote(std::string_view value) {
  FNote.assign(value);
  Paint();
}

void TALProgressBarCore::SetShowPosText(bool value) {
  FShowPosText = value;
  Paint();
}

void TALProgressBarCore::SetFontColor(TColor value) {
  FFontColor = value;
  Paint();
}

void TALProgressBarCore::SetColors(const TBarColors& colors) {
  FBarColorStyle = colors.Style;
  FBarColor1 = colors.Color1;
  FBarColor2 = colors.Color2;
  FBarColor3 = colors.Color3;
  FBackgroundColor = colors.Background;
  FBorderColor1 = colors.Border1;
  FBorderColor2 = colors.Border2;
  FFontColor = colors.Font;
  Paint();
}

TALProgressBarCore::TPaintedState TALProgressBarCore::CurrentPaintState() const {
  TPaintedState state;
  state.Filled = FilledLength(static_cast<int32_t>(TrackLength()));
  state.Width = FWidth;
  state.Height = FHeight;
  // System colours are looked up again: a changed one must show.
  state.Background = Resolve(FBackgroundColor);
  if (FShowBorder) {
    state.Border1 = Resolve(FBorderColor1);
    state.Border2 = Resolve(FBorderColor2);
  }
  if (FBarBitmap.Empty() && Known(FBarColorStyle) == cs1Color) state.Bar1 = Resolve(FBarColor1);
  return state;
}

void TALProgressBarCore::Paint() noexcept { PaintAs(nullptr); }

void TALProgressBarCore::PaintAs(const TPaintedState* known) noexcept {
  FPaintedValid = false;
  if (FSurface == nullptr || FWidth <= 0 || FHeight <= 0) return;
  try {
    if (!FSurface->Shown()) {
      // The layer this paint would have rebuilt is rebuilt by the next one.
      if (FRebuildBarImage && !FLoading) FBarImageStale = true;
    } else if (FSurface->SetBufferSize(FWidth, FHeight)) {
      FPixels = FSurface->BufferPixels();
      if (FPixels != nullptr) {
        if (!FLoading) {
          DrawBar(FRebuildBarImage || FBarImageStale, known);
          FBarImageStale = false;
        }
        if (FShowBorder) DrawBorder();
        if (FShowPosText) DrawPosText();
        if (!FNote.empty()) DrawNote();
        FSurface->Present();
        if (!FLoading) {
          FPainted = known != nullptr ? *known : CurrentPaintState();
          FPaintedValid = true;
        }
      }
    }
  } catch (...) {
    // Out of memory for the bar layer or the text: this paint is lost, the
    // next one tries again.
  }
  FPixels = nullptr;
}

bool TALProgressBarCore::PaintFillChange(const TPaintedState& next) noexcept {
  TPaintedState sameLength = next;
  sameLength.Filled = FPainted.Filled;
  if (sameLength != FPainted || FLoading || FBarImageStale) return false;
  const bool solid = FBarBitmap.Empty() && Known(FBarColorStyle) == cs1Color;
  // Without a bar layer of the control's size the full paint decides what shows.
  if (!solid && (FBarImageWidth != FWidth || FBarImageHeight != FHeight || FBarImage.empty())) return false;
  const int64_t from = std::min(FPainted.Filled, next.Filled);
  const int64_t to = std::max(FPainted.Filled, next.Filled);
  const int64_t inset = Inset();
  if (from < 0 || to > TrackLength() || FWidth <= 2 * inset || FHeight <= 2 * inset) return false;
  if (!FSurface->Shown() || !FSurface->SetBufferSize(FWidth, FHeight)) return false;
  FPixels = FSurface->BufferPixels();
  if (FPixels == nullptr) return false;

  const auto [x0, y0, x1, y1] = TrackSpan(from, to);
  if (next.Filled < FPainted.Filled) {
    FillRect(x0, y0, x1, y1, next.Background);
  } else if (solid) {
    FillRect(x0, y0, x1, y1, next.Bar1);
  } else {
    for (int64_t y = y0; y < y1; ++y) {
      std::memcpy(FPixels + y * FWidth + x0, FBarImage.data() + y * FWidth + x0,
                  static_cast<size_t>(x1 - x0) * sizeof(TPixel));
    }
  }
  FSurface->PresentRect(static_cast<int32_t>(x0), static_cast<int32_t>(y0), static_cast<int32_t>(x1 - x0),
                        static_cast<int32_t>(y1 - y0));
  FPixels = nullptr;
  FPainted = next;
  return true;
}

TPixel TALProgressBarCore::Resolve(TColor color) const {
  if (IsSystemColor(color)) {
    return FSurface != nullptr ? ColorToPixel(FSurface->SystemColor(SystemColorIndex(color))) : 0;
  }
  return ColorToPixel(color);
}

TColor TALProgressBarCore::GradientColor(TColor first, TColor last, int32_t count, int32_t index) const {
  if (index < 1 || index > count) {
    throw ERangeError("ColorIndex can't be less than 1 or greater than " + std::to_string(count));
  }
  const TColor a = PixelToColor(Resolve(first));
  const TColor b = PixelToColor(Resolve(last));
  if (count == 1) return a;
  auto channel = [&](uint8_t from, uint8_t to) {
    const int64_t step = barmath::MulDivHalfAway(index - 1, int32_t{to} - int32_t{from}, count - 1);
    return static_cast<uint8_t>(static_cast<uint64_t>(from + step) & 0xFFu);
  };
  return RgbColor(channel(RedOf(a), RedOf(b)), channel(GreenOf(a), GreenOf(b)), channel(BlueOf(a), BlueOf(b)));
}

int64_t TALProgressBarCore::FilledLength(int32_t trackLength) const {
  if (FPosition <= FMin || FMax == FMin) return 0;
  const int64_t span = static_cast<int64_t>(FMax) - FMin;
  return RoundQuotientTimes(static_cast<int64_t>(FPosition) - FMin, span < 0 ? -span : span,
                                     trackLength);
}

int64_t TALProgressBarCore::PosTextNumber() const {
  if (!FPercentage) return FPosition;
  // Position / 0 has no value to show.
  if (FMax == 0) return 0;
  return RoundQuotientTimes(FPosition, FMax, 100);
}

bool TALProgressBarCore::SetBarImageSize(int32_t width, int32_t height) {
  try {
    FBarImage.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  } catch (const std::bad_alloc&) {
    FBarImage.clear();
    FBarImageWidth = FBarImageHeight = 0;
    return false;
  }
  FBarImageWidth = width;
  FBarImageHeight = height;
  return true;
}

void TALProgressBarCore::CopyBarImage() {
  if (FBarImage.empty()) return;
  const int32_t w = std::min(FWidth, FBarImageWidth);
  const int32_t h = std::min(FHeight, FBarImageHeight);
  if (w == FWidth && FBarImageWidth == FWidth) {
    std::memcpy(FPixels, FBarImage.data(), static_cast<size_t>(w) * static_cast<size_t>(h) * sizeof(TPixel));
    return;
  }
  for (int32_t y = 0; y < h; ++y) {
    std::memcpy(FPixels + static_cast<size_t>(y) * FWidth, FBarImage.data() + static_cast<size_t>(y) * FBarImageWidth,
                static_cast<size_t>(w) * sizeof(TPixel));
  }
}

void TALProgressBarCore::DrawBar(bool rebuild, const TPaintedState* known) {
  if (!FBarBitmap.Empty()) {
    if (rebuild && SetBarImageSize(FWidth, FHeight)) TileBarBitmap();
    CopyBarImage();
  } else if (Known(FBarColorStyle) == cs1Color) {
    FillRect(0, 0, FWidth, FHeight, Resolve(FBarColor1));
  } else {
    if (rebuild && SetBarImageSize(FWidth, FHeight)) DrawGradient();
    CopyBarImage();
  }

  const int64_t length = TrackLength();
  const int64_t filled = known != nullptr ? known->Filled : FilledLength(static_cast<int32_t>(length));
  if (filled >= length) return;
  const TSpan unfilled = TrackSpan(filled, length);
  FillRect(unfilled.Left, unfilled.Top, unfilled.Right, unfilled.Bottom, Resolve(FBackgroundColor));
}

int64_t TALProgressBarCore::TrackLength() const {
  const int64_t inset = Inset();
  return IsHorizontal(Known(FDirection)) ? int64_t{FWidth} - 2 * inset : int64_t{FHeight} - 2 * inset;
}

TALProgressBarCore::TSpan TALProgressBarCore::TrackSpan(int64_t from, int64_t to) const {
  const int64_t inset = Inset();
  const int64_t left = inset, top = inset, right = int64_t{FWidth} - inset, bottom = int64_t{FHeight} - inset;
  switch (Known(FDirection)) {
    case pdLeftToRight: return {left + from, top, left + to, bottom};
    case pdRightToLeft: return {right - to, top, right - from, bottom};
    case pdBottomToTop: return {left, bottom - to, right, bottom - from};
    case pdTopToBottom: return {left, top + from, right, top + to};
  }
  return {left, top, right, bottom};
}

void TALProgressBarCore::DrawGradient() {
  const TProgressDirection dir = Known(FDirection);
  const bool horizontal = IsHorizontal(dir);
  const int32_t n = horizontal ? FBarImageWidth : FBarImageHeight;
  const bool reversed = OriginAtHighEnd(dir);
  const bool threeColors = Known(FBarColorStyle) == cs3Colors;
  const int32_t split = n / 2;

  // Line k of n, counted from the left or the top.
  auto lineColor = [&](int32_t k) -> TPixel {
    if (!threeColors) {
      return ColorToPixel(reversed ? GradientColor(FBarColor2, FBarColor1, n, k)
                                   : GradientColor(FBarColor1, FBarColor2, n, k));
    }
    if (k <= split) {
      return ColorToPixel(reversed ? GradientColor(FBarColor3, FBarColor2, split, k)
                                   : GradientColor(FBarColor1, FBarColor2, split, k));
    }
    return ColorToPixel(reversed ? GradientColor(FBarColor2, FBarColor1, n - split, k - split)
                                 : GradientColor(FBarColor2, FBarColor3, n - split, k - split));
  };

  TPixel* image = FBarImage.data();
  const size_t w = static_cast<size_t>(FBarImageWidth);
  if (horizontal) {
    // Every row is the same: render the first, copy it down.
    for (int32_t x = 0; x < n; ++x) image[x] = lineColor(x + 1);
    for (int32_t y = 1; y < FBarImageHeight; ++y) std::memcpy(image + y * w, image, w * sizeof(TPixel));
  } else {
    for (int32_t y = 0; y < n; ++y) std::fill_n(image + y * w, w, lineColor(y + 1));
  }
}

void TALProgressBarCore::TileBarBitmap() {
  const int32_t w = FBarBitmap.Width, h = FBarBitmap.Height;
  const TPixel* tile = FBarBitmap.Pixels.data();
  const bool transparent = FBarBitmap.Transparent;
  const TPixel key = tile[static_cast<size_t>(h - 1) * w];
  if (transparent) std::fill(FBarImage.begin(), FBarImage.end(), Resolve(FBackgroundColor));

  const int64_t columns = FBarImageWidth / w + 1;
  const int64_t rows = FBarImageHeight / h + 1;
  for (int64_t r = 0; r < rows; ++r) {
    for (int64_t c = 0; c < columns; ++c) {
      const int64_t x0 = c * w, y0 = r * h;
      const int64_t spanW = std::min<int64_t>(w, FBarImageWidth - x0);
      const int64_t spanH = std::min<int64_t>(h, FBarImageHeight - y0);
      for (int64_t y = 0; y < spanH; ++y) {
        const TPixel* src = tile + y * w;
        TPixel* dst = FBarImage.data() + (y0 + y) * FBarImageWidth + x0;
        if (!transparent) {
          std::memcpy(dst, src, static_cast<size_t>(spanW) * sizeof(TPixel));
          continue;
        }
        for (int64_t x = 0; x < spanW; ++x) {
          if (src[x] != key) dst[x] = src[x];
        }
      }
    }
  }
}

void TALProgressBarCore::DrawBorder() {
  const int64_t w = FWidth, h = FHeight;
  const TPixel light = Resolve(FBorderColor1);
  const TPixel dark = Resolve(FBorderColor2);
  // A thicker border is the one-pixel frame repeated inwards.
  for (int64_t i = 0; i < FBorderWidth && 2 * i < std::min(w, h); ++i) {
    HorzLine(w - 1 - i, i, i, light);
    VertLine(i, i, h - i, light);
    HorzLine(1 + i, w - 1 - i, h - 1 - i, dark);
    VertLine(w - 1 - i, h - 1 - i, i, dark);
  }
}

void TALProgressBarCore::DrawPosText() {
  char digits[24];
  const auto end = std::to_chars(digits, digits + sizeof digits, PosTextNumber()).ptr;
  FText.clear();
  // Room for the longest number up front, so that the text never grows later.
  FText.reserve(FPosTextPrefix.size() + sizeof digits + FPosTextSuffix.size());
  FText.append(FPosTextPrefix).append(digits, end).append(FPosTextSuffix);
  const TTextExtent extent = FSurface->MeasureText(FText);
  // Halving truncates toward zero; a text larger than the control starts left of or above it.
  const int64_t x = int64_t{FWidth / 2} - extent.Width / 2;
  const int64_t y = int64_t{FHeight / 2} - extent.Height / 2;
  FSurface->DrawText(ClampToInt32(x), ClampToInt32(y), FText, Resolve(FFontColor));
}

std::vector<std::string> TALProgressBarCore::NoteLines(int32_t width) const {
  std::vector<std::string> lines;
  if (FSurface == nullptr) return lines;
  // Inside the frame, with a little air on both sides.
  const int64_t room = int64_t{width} - 2 * (Inset() + 2);
  size_t start = 0;
  while (start <= FNote.size()) {
    const size_t end = std::min(FNote.find('\n', start), FNote.size());
    const std::string_view paragraph = std::string_view(FNote).substr(start, end - start);
    std::string line;
    size_t at = 0;
    while (at < paragraph.size()) {
      const size_t space = std::min(paragraph.find(' ', at), paragraph.size());
      const std::string_view word = paragraph.substr(at, space - at);
      std::string longer = line.empty() ? std::string(word) : line + " " + std::string(word);
      // A word too long for the room gets a line of its own, clipped.
      if (!line.empty() && FSurface->MeasureText(longer).Width > room) {
        lines.push_back(std::move(line));
        longer.assign(word);
      }
      line = std::move(longer);
      at = space + 1;
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

void TALProgressBarCore::DrawNote() {
  const std::vector<std::string> lines = NoteLines(FWidth);
  const int64_t lineHeight = FSurface->MeasureText("Xg").Height;
  int64_t y = int64_t{FHeight / 2} - static_cast<int64_t>(lines.size()) * lineHeight / 2;
  for (const std::string& line : lines) {
    const int64_t x = int64_t{FWidth / 2} - FSurface->MeasureText(line).Width / 2;
    FSurface->DrawText(ClampToInt32(x), ClampToInt32(y), line, Resolve(FFontColor));
    y += lineHeight;
  }
}

void TALProgressBarCore::FillRect(int64_t left, int64_t top, int64_t right, int64_t bottom, TPixel pixel) {
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min<int64_t>(right, FWidth);
  bottom = std::min<int64_t>(bottom, FHeight);
  if (left >= right || top >= bottom) return;
  for (int64_t y = top; y < bottom; ++y) {
    std::fill_n(FPixels + y * FWidth + left, right - left, pixel);
  }
}

// A one-pixel line covers its start and every pixel up to, not including, its end.
void TALProgressBarCore::HorzLine(int64_t fromX, int64_t toX, int64_t y, TPixel pixel) {
  if (fromX == toX) return;
  if (fromX < toX) {
    FillRect(fromX, y, toX, y + 1, pixel);
  } else {
    FillRect(toX + 1, y, fromX + 1, y + 1, pixel);
  }
}

void TALProgressBarCore::VertLine(int64_t x, int64_t fromY, int64_t toY, TPixel pixel) {
  if (fromY == toY) return;
  if (fromY < toY) {
    FillRect(x, fromY, x + 1, toY, pixel);
  } else {
    FillRect(x, toY + 1, x + 1, fromY + 1, pixel);
  }
}

}  // namespace lumeno
