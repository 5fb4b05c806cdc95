// The bar's compositor under any sequence of property writes, sizes up to
// 512 x 512, and the window hidden and shown again. After every write the
// screen (what the bar presented) must equal a full paint of the same state,
// and a Position write must not allocate (the surface's own
// bookkeeping aside), counted as ALProgressBarAllocTest counts operator new.
#include <fuzzer/FuzzedDataProvider.h>
#include <sanitizer/allocator_interface.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ALProgressBarFakeSurface.h"
#include "controls/ALProgressBar.h"

namespace {
bool gCounting = false;
int gAllocations = 0;

// Every heap allocation (operator new included) passes the sanitizer's hook;
// replacing operator new instead would clash with the allocator's own checks.
void CountAllocation(const volatile void*, size_t) {
  if (gCounting) ++gAllocations;
}
void IgnoreFree(const volatile void*) {}
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (__sanitizer_install_malloc_and_free_hooks(CountAllocation, IgnoreFree) == 0) std::abort();
  return 0;
}

namespace {

using namespace lumeno;
using test::TFakeBarSurface;

// Allocations of the fake itself (copying to its screen, keeping the last
// text) are not the bar's; a resize of its buffer would be.
class TUncountedSurface final : public TFakeBarSurface {
  struct TPause {
    bool was = gCounting;
    TPause() { gCounting = false; }
    ~TPause() { gCounting = was; }
  };

 public:
  void DrawText(int32_t x, int32_t y, std::string_view text, TPixel color) override {
    TPause p;
    TFakeBarSurface::DrawText(x, y, text, color);
  }
  void Present() override {
    TPause p;
    TFakeBarSurface::Present();
  }
  void PresentRect(int32_t x, int32_t y, int32_t width, int32_t height) override {
    TPause p;
    TFakeBarSurface::PresentRect(x, y, width, height);
  }
};

// The screen of a bar given the same state and painted once in full. The
// one reference bar and its surface are kept between calls (a full paint
// renders everything anew; its buffer is cleared first), since fresh images
// of up to 512 x 512 for every write would take most of the run's time.
const std::vector<TPixel>& FullPaint(TALProgressBarCore& bar) {
  static TFakeBarSurface surface;
  static TALProgressBarCore ref;
  ref.SetSurface(nullptr);  // the writes below store and paint nothing
  ref.SetSize(bar.Width(), bar.Height());
  ref.SetBackgroundColor(bar.GetBackgroundColor());
  ref.SetBarBitmap(&bar.GetBarBitmap());
  ref.SetBarColor1(bar.GetBarColor1());
  ref.SetBarColor2(bar.GetBarColor2());
  ref.SetBarColor3(bar.GetBarColor3());
  ref.SetBarColorStyle(bar.GetBarColorStyle());
  ref.SetBorderColor1(bar.GetBorderColor1());
  ref.SetBorderColor2(bar.GetBorderColor2());
  ref.SetDirection(bar.GetDirection());
  ref.SetPercentage(bar.GetPercentage());
  ref.SetPosTextPrefix(bar.GetPosTextPrefix());
  ref.SetPosTextSuffix(bar.GetPosTextSuffix());
  ref.SetShowBorder(bar.GetShowBorder());
  ref.SetShowPosText(bar.GetShowPosText());
  ref.SetFontColor(bar.GetFontColor());
  ref.SetMin(INT32_MIN);
  ref.SetMax(INT32_MAX);
  ref.SetPosition(bar.GetPosition());
  ref.SetMin(bar.GetMin());
  ref.SetMax(bar.GetMax());
  surface.SetBufferSize(bar.Width(), bar.Height());
  std::fill(surface.Buffer.begin(), surface.Buffer.end(), 0xDEADBEEFu);
  ref.SetSurface(&surface);
  ref.Paint();
  return surface.Screen;
}

TColor AnyColor(FuzzedDataProvider& in) {
  // Mostly plain colours, sometimes a system colour's index.
  const uint32_t c = in.ConsumeIntegral<uint32_t>();
  return (c & 0x0F000000u) == 0 ? (clSystemColor | (c & 0xFFu)) : (c & 0x00FFFFFFu);
}

int32_t AnyPosition(FuzzedDataProvider& in, const TALProgressBarCore& bar) {
  switch (in.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return in.ConsumeIntegral<int32_t>();
    case 1:  // a small step, as the pacer makes
      return static_cast<int32_t>(
          std::clamp<int64_t>(int64_t{bar.GetPosition()} + in.ConsumeIntegral<int8_t>(), INT32_MIN, INT32_MAX));
    default:
      return bar.GetMin() <= bar.GetMax() ? in.ConsumeIntegralInRange<int32_t>(bar.GetMin(), bar.GetMax())
                                          : in.ConsumeIntegral<int32_t>();
  }
}

TBarBitmap AnyBitmap(FuzzedDataProvider& in) {
  TBarBitmap b;
  b.Width = in.ConsumeIntegralInRange<int32_t>(-1, 17);
  b.Height = in.ConsumeIntegralInRange<int32_t>(-1, 17);
  b.Transparent = in.ConsumeBool();
  const size_t count = in.ConsumeIntegralInRange<size_t>(0, 17 * 17 + 1);
  for (size_t i = 0; i < count && in.remaining_bytes() > 0; ++i) b.Pixels.push_back(AnyColor(in));
  return b;
}

// One side of the control: up to 512, mostly small so that runs stay quick.
int32_t AnySide(FuzzedDataProvider& in) {
  const bool large = in.ConsumeIntegralInRange<uint8_t>(0, 7) == 0;
  return in.ConsumeIntegralInRange<int32_t>(1, large ? 512 : 48);
}

[[noreturn]] void Fail(const char* what, int step, const TALProgressBarCore& bar) {
  std::fprintf(stderr, "bar: %s after write %d (%dx%d, min %d max %d position %d, direction %d, style %d)\n", what,
               step, bar.Width(), bar.Height(), bar.GetMin(), bar.GetMax(), bar.GetPosition(), bar.GetDirection(),
               bar.GetBarColorStyle());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  TUncountedSurface surface;
  TALProgressBarCore bar(&surface);
  const int32_t width = AnySide(in);
  bar.SetSize(width, AnySide(in));
  bar.Paint();  // the window's first paint

  for (int step = 0; step < 32 && in.remaining_bytes() > 0; ++step) {
    const uint8_t op = in.ConsumeIntegralInRange<uint8_t>(0, 19);
    switch (op) {
      case 0: case 1: case 2: case 3: case 4: {  // the pacer's write, most often
        const int32_t position = AnyPosition(in, bar);
        gAllocations = 0;
        gCounting = true;
        bar.SetPosition(position);
        gCounting = false;
        if (gAllocations != 0) Fail("a Position write allocated", step, bar);
        break;
      }
      case 5: bar.SetMin(in.ConsumeIntegral<int32_t>()); break;
      case 6: bar.SetMax(in.ConsumeIntegral<int32_t>()); break;
      case 7: bar.SetBackgroundColor(AnyColor(in)); break;
      case 8: bar.SetBarColor1(AnyColor(in)); break;
      case 9: bar.SetBarColor2(AnyColor(in)); break;
      case 10: bar.SetBarColor3(AnyColor(in)); break;
      case 11: bar.SetBarColorStyle(static_cast<TBarColorStyle>(in.ConsumeIntegral<uint8_t>())); break;
      case 12:
        if (in.ConsumeBool()) {
          bar.SetBorderColor1(AnyColor(in));
        } else {
          bar.SetBorderColor2(AnyColor(in));
        }
        break;
      case 13: bar.SetDirection(static_cast<TProgressDirection>(in.ConsumeIntegral<uint8_t>())); break;
      case 14: {
        const uint8_t which = in.ConsumeIntegralInRange<uint8_t>(0, 3);
        const bool on = in.ConsumeBool();
        if (which == 0) bar.SetPercentage(on);
        if (which == 1) bar.SetShowBorder(on);
        if (which == 2) bar.SetShowPosText(on);
        if (which == 3) bar.SetFontColor(AnyColor(in));
        break;
      }
      case 15: {
        const std::string text = in.ConsumeRandomLengthString(40);
        if (in.ConsumeBool()) {
          bar.SetPosTextPrefix(text);
        } else {
          bar.SetPosTextSuffix(text);
        }
        break;
      }
      case 16: {
        if (in.ConsumeBool()) {
          bar.SetBarBitmap(nullptr);
        } else {
          const TBarBitmap bitmap = AnyBitmap(in);
          bar.SetBarBitmap(&bitmap);
        }
        break;
      }
      case 17: {  // a resize, after which the window repaints
        const int32_t width = AnySide(in);
        bar.SetSize(width, AnySide(in));
        bar.Paint();
        break;
      }
      case 18:
      case 19:  // minimised and restored: the restore repaints
        surface.Hidden = !surface.Hidden;
        if (!surface.Hidden) bar.Paint();
        break;
    }
    if (surface.Hidden) continue;
    if (surface.Screen != FullPaint(bar)) Fail("the screen differs from a full paint", step, bar);
    if (surface.Buffer != surface.Screen) Fail("the buffer differs from the screen", step, bar);
  }
  return 0;
}
