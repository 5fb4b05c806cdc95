// The note over the bar, wrapped to the room inside the frame.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "ALProgressBarFakeSurface.h"
#include "controls/ALProgressBar.h"

namespace lumeno {
namespace {

// Cells are 7 pixels wide; the frame and the air take 6 of the width.
TEST(ALProgressBarNote, WrapsEachParagraphAtSpacesToTheRoomInsideTheFrame) {
  test::TFakeBarSurface surface;
  TALProgressBarCore bar(&surface);
  const std::tuple<const char*, int32_t, std::vector<std::string>> cases[] = {
      {"Session complete\n1 minute, 9 breaths\nClick the bar or press P to start again", 90,
       {"Session", "complete", "1 minute, 9", "breaths", "Click the", "bar or press", "P to start", "again"}},
      {"Session complete\n1 minute, 9 breaths", 300, {"Session complete", "1 minute, 9 breaths"}},
      {"Breathing in", 40, {"Breathing", "in"}},
      {"a\n\nb", 40, {"a", "", "b"}},
  };
  for (const auto& [note, width, lines] : cases) {
    bar.SetNote(note);
    EXPECT_EQ(bar.NoteLines(width), lines) << note;
  }
}

}  // namespace
}  // namespace lumeno
