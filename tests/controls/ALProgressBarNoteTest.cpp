// The note over the bar, wrapped to the room inside the frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ALProgressBarFakeSurface.h"
#include "controls/ALProgressBar.h"

namespace lumeno {
namespace {

// Cells are 7 pixels wide; the frame and the air take 6 of the width.
TEST(ALProgressBarNote, WrapsEachParagraphAtSpacesToTheRoomInsideTheFrame) {
  test::TFakeBarSurface surface;
  TALProgressBarCore bar(&surface);
  const struct {
    const char* Note;
    int32_t Width;
    std::vector<std::string> Lines;
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

}  // namespace
}  // namespace lumeno
