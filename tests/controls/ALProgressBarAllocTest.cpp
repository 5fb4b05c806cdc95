// A Position write on a bar whose size has not changed must not touch the heap.
// Counts every operator new of this test binary while a write runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "ALProgressBarFakeSurface.h"
#include "controls/ALProgressBar.h"

namespace {
bool gCounting = false;
int gAllocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  if (gCounting) ++gAllocations;
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace lumeno {
namespace {

int AllocationsDuring(void (*write)(TALProgressBarCore&), TALProgressBarCore& bar) {
  gAllocations = 0;
  gCounting = true;
  write(bar);
  gCounting = false;
  return gAllocations;
}

TEST(ALProgressBarAlloc, PositionWritesAllocateNothing) {
  const struct {
    TBarColorStyle style;
    bool bitmap;
    bool text;
  } cases[] = {{cs3Colors, false, false}, {cs1Color, false, true}, {cs2Colors, true, true}};
  for (const auto& c : cases) {
    test::TFakeBarSurface surface;
    TALProgressBarCore bar(&surface);
    bar.SetSize(86, 403);
    bar.SetDirection(pdBottomToTop);
    bar.SetBarColorStyle(c.style);
    bar.SetShowPosText(c.text);
    bar.SetPosTextPrefix("a prefix longer than any short-string buffer: ");
    bar.SetPosTextSuffix(" and a suffix that is just as long as the prefix");
    if (c.bitmap) {
      TBarBitmap tile;
      tile.Width = tile.Height = 30;
      tile.Pixels.assign(900, 0x123456);
      bar.SetBarBitmap(&tile);
    }
    bar.SetMax(6000);
    bar.SetPosition(1);  // the first text may grow the reused string once
    const TPixel* buffer = surface.Buffer.data();
    const TPixel* image = bar.BarImage().data();
    const int presents = surface.Presents;

    EXPECT_EQ(AllocationsDuring([](TALProgressBarCore& b) { b.SetPosition(3000); }, bar), 0);
    EXPECT_EQ(AllocationsDuring([](TALProgressBarCore& b) { b.SetPosition(-2000000000); }, bar), 0);
    EXPECT_EQ(AllocationsDuring([](TALProgressBarCore& b) { b.SetPosition(5999); }, bar), 0);
    EXPECT_EQ(surface.Presents, presents + 2);
    EXPECT_EQ(surface.Buffer.data(), buffer);
    EXPECT_EQ(bar.BarImage().data(), image);
  }
}

}  // namespace
}  // namespace lumeno
