// The progress bar's costs beside their floor: a Position write should stay
// within a few plain copies of its image, a rebuild pays the gradient.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "controls/ALProgressBar.h"
#include "controls/ColourSchemes.h"

namespace {

using namespace lumeno;

// FBuffer as a vector, and a second vector standing for the screen: Present and
// PresentRect are the block copies a real surface makes.
class TMemorySurface : public IBarSurface {
 public:
  bool SetBufferSize(int32_t width, int32_t height) override {
    if (width == FWidth && height == FHeight) return true;
    FWidth = width;
    FHeight = height;
    FBuffer.assign(static_cast<size_t>(width) * height, 0);
    FScreen.assign(FBuffer.size(), 0);
    return true;
  }
  TPixel* BufferPixels() override { return FBuffer.data(); }
  TTextExtent MeasureText(std::string_view text) override { return {static_cast<int32_t>(text.size()) * 7, 13}; }
  void DrawText(int32_t, int32_t, std::string_view, TPixel) override {}
  void Present() override {
    std::memcpy(FScreen.data(), FBuffer.data(), FBuffer.size() * sizeof(TPixel));
    benchmark::ClobberMemory();
  }
  void PresentRect(int32_t x, int32_t y, int32_t width, int32_t height) override {
    for (int32_t row = y; row < y + height; ++row) {
      const size_t at = static_cast<size_t>(row) * FWidth + x;
      std::memcpy(FScreen.data() + at, FBuffer.data() + at, static_cast<size_t>(width) * sizeof(TPixel));
    }
    benchmark::ClobberMemory();
  }
  TColor SystemColor(uint8_t index) override { return RgbColor(index, 100, 200); }

 private:
  int32_t FWidth = 0;
  int32_t FHeight = 0;
  std::vector<TPixel> FBuffer;
  std::vector<TPixel> FScreen;
};

// The main window's bar when 86 x 403; a wide horizontal one otherwise.
void Configure(TALProgressBarCore& bar, int32_t w, int32_t h) {
  bar.SetSize(w, h);
  bar.SetShowPosText(false);
  bar.SetDirection(h > w ? pdBottomToTop : pdLeftToRight);
  bar.SetBarColorStyle(cs3Colors);
  bar.SetBarColor1(clActiveCaption);
  bar.SetBarColor2(114686);
  bar.SetBarColor3(114686);
  bar.SetMax(3000);
}

void BM_PositionWrite(benchmark::State& state) {
  TMemorySurface surface;
  TALProgressBarCore bar(&surface);
  Configure(bar, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
  int32_t p = 0;
  for (auto _ : state) {
    p = p == 3000 ? 1 : p + 1;
    bar.SetPosition(p);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1) * 4);
}

// The same writes while the position text shows: every one composes and
// presents the whole control (the text itself is left out here).
void BM_PositionWriteFull(benchmark::State& state) {
  TMemorySurface surface;
  TALProgressBarCore bar(&surface);
  Configure(bar, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
  bar.SetShowPosText(true);
  int32_t p = 0;
  for (auto _ : state) {
    p = p == 3000 ? 1 : p + 1;
    bar.SetPosition(p);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1) * 4);
}

void BM_GradientRebuild(benchmark::State& state) {
  TMemorySurface surface;
  TALProgressBarCore bar(&surface);
  Configure(bar, static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
  bar.SetPosition(1500);
  for (auto _ : state) bar.SetMax(3000);  // an unchanged Max still re-renders
  state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1) * 4);
}

// The main window's bar re-rendered in each colour scheme (by its number):
// every scheme's gradient costs what Classic's does.
void BM_SchemeRebuild(benchmark::State& state) {
  TMemorySurface surface;
  TALProgressBarCore bar(&surface);
  Configure(bar, 86, 403);
  const TColourScheme& s = ColourScheme(static_cast<TColourSchemeId>(state.range(0)));
  bar.SetColors(BarColors(s));
  bar.SetPosition(1500);
  for (auto _ : state) bar.SetMax(3000);
}

// The floor: one plain copy of an image of the bar's size.
void BM_ImageMemcpy(benchmark::State& state) {
  const size_t pixels = static_cast<size_t>(state.range(0) * state.range(1));
  std::vector<TPixel> from(pixels, 0x123456), to(pixels);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), pixels * sizeof(TPixel));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * state.range(0) * state.range(1) * 4);
}

#define BAR_SIZES ->Args({86, 403})->Args({1920, 40})
BENCHMARK(BM_ImageMemcpy) BAR_SIZES;
BENCHMARK(BM_PositionWrite) BAR_SIZES;
BENCHMARK(BM_PositionWriteFull) BAR_SIZES;
BENCHMARK(BM_GradientRebuild) BAR_SIZES;
BENCHMARK(BM_SchemeRebuild)->DenseRange(0, kColourSchemeCount - 1);

}  // namespace
