// The note over the bar: wrapped to the bar's width, centred, and kept over
// Position writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ALProgressBarFakeSurface.h"
#include "controls/ALProgressBar.h"

namespace lumeno {
namespace {

using TLines = std::vector<std::string>;

// Cells are 7 pixels wide; the frame and the air take 6 of the width.
TEST(ALProgressBarNote, WrapsEachParagraphAtSpacesToTheRoomInsideTheFrame) {
  test::TFakeBarSurface surface;
  TALProgressBarCore bar(&surface);
  const struct {
    const char* Note;
    int32_t Width;
    TLines Lines;
  } cases[] = {
      {"Session complete\n1 minute, 9 breaths\nClick the bar or press P to start again", 90,
       {"Session", "complete", "1 minute, 9", "breaths", "Click the", "bar or press", "P to start", "again"}},
      {"Session complete\n1 minute, 9 breaths", 300, {"Session complete", "1 minute, 9 breaths"}},
      {"Breathing in", 40, {"Breathing", "in"}},
      {"a\n\nb", 40, {"a", "", "b"}},
  };
  for (const auto& c : cases) {
    bar.SetNote(c.Note);
    EXPECT_EQ(bar.NoteLines(c.Width), c.Lines) << c.Note;
  }
}

TEST(ALProgressBarNote, IsDrawnCentredAndAgainByEveryPositionWrite) {
  test::TFakeBarSurface surface;
  TALProgressBarCore bar(&surface);
  bar.SetSize(90, 400);
  bar.SetShowPosText(false);
  bar.SetNote("Session complete\nagain");
  EXPECT_EQ(surface.LastText, "again");
  // Three lines of 13 around the middle; "again" is 35 wide.
  EXPECT_EQ(surface.LastTextY, 200 - 19 + 26);
  EXPECT_EQ(surface.LastTextX, 45 - 17);
  const int draws = surface.TextDraws;
  bar.SetPosition(1);
  EXPECT_EQ(surface.TextDraws, draws + 3);
}

}  // namespace
}  // namespace lumeno
