// The Practice window's choices as a load finds them in the registry.
#include <gtest/gtest.h>

#include <optional>

#include "persistence/FakeRegistry.h"
#include "persistence/PracticeSettings.h"

namespace lumeno::test {
namespace {

TEST(PracticeSettingsLoad, GivesTheStoredChoiceOrItsDefault) {
  const struct {
    const char* What;
    std::optional<TStoredValue> SessionMinutes, EndBell, Colours;
    TPracticeSettings Expected;
  } cases[] = {
      // Without the key what was in effect stays, and the key is not made.
      {"no key", {}, {}, {}, {45, false, TColourSchemeId::Night}},
      {"ten minutes, no bell", Dword(10), Dword(0), {}, {10, false}},
      {"the longest, a bell of 5", Dword(600), Dword(5), {}, {600, true}},
      {"above 600", Dword(601), {}, {}, {0, true}},
      {"negative", Dword(-5), {}, {}, {0, true}},
      {"strings", Text(kTypeSz, "10"), Text(kTypeSz, "0"), Text(kTypeSz, "1"), {0, true}},
      {"Ocean", {}, {}, Dword(2), {0, true, TColourSchemeId::Ocean}},
      {"a scheme past the last", {}, {}, Dword(4), {0, true}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    Hive().Reset();
    TFakeSeeder seeder("Software\\Quorvale\\Lumeno");
    if (c.SessionMinutes) seeder.Put("Session Minutes", *c.SessionMinutes);
    if (c.EndBell) seeder.Put("End Bell", *c.EndBell);
    if (c.Colours) seeder.Put("Colour Scheme", *c.Colours);
    TPracticeSettings settings{45, false, TColourSchemeId::Night};
    TFakeRegistry registry;
    ReadPracticeSettings(registry, settings);
    EXPECT_EQ(settings, c.Expected);
    EXPECT_EQ(Hive().HasKey(TRegLocation::CurrentUser, "Software\\Quorvale\\Lumeno"),
              c.SessionMinutes || c.EndBell || c.Colours);
  }
}

}  // namespace
}  // namespace lumeno::test
