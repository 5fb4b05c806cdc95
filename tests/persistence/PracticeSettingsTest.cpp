// The Practice window's choices in the registry: what a stored value gives,
// and the values written back.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>

#include "persistence/FakeRegistry.h"
#include "persistence/PracticeSettings.h"

namespace lumeno::test {
namespace {

struct TStoredCase {
  const char* What;
  std::optional<TStoredValue> SessionMinutes;
  std::optional<TStoredValue> EndBell;
  TPracticeSettings Expected;
  std::optional<TStoredValue> Colours = std::nullopt;
};

void PrintTo(const TStoredCase& c, std::ostream* os) { *os << c.What; }

class PracticeSettingsLoad : public ::testing::TestWithParam<TStoredCase> {};

TEST_P(PracticeSettingsLoad, GivesTheStoredChoiceOrItsDefault) {
  Hive().Reset();
  TFakeSeeder seeder("Software\\Quorvale\\Lumeno");
  seeder.Put("Breath In", Dword(30));
  if (GetParam().SessionMinutes) seeder.Put("Session Minutes", *GetParam().SessionMinutes);
  if (GetParam().EndBell) seeder.Put("End Bell", *GetParam().EndBell);
  if (GetParam().Colours) seeder.Put("Colour Scheme", *GetParam().Colours);
  // Whatever was in effect before is replaced by what is stored.
  TPracticeSettings settings{45, false, TColourSchemeId::Night};
  TFakeRegistry registry;
  ReadPracticeSettings(registry, settings);
  EXPECT_EQ(settings, GetParam().Expected) << GetParam().What;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PracticeSettingsLoad,
    ::testing::Values(TStoredCase{"nothing stored", std::nullopt, std::nullopt, {0, true}},
                      TStoredCase{"ten minutes, no bell", Dword(10), Dword(0), {10, false}},
                      TStoredCase{"a length the list lacks", Dword(7), Dword(5), {7, true}},
                      TStoredCase{"the longest", Dword(600), std::nullopt, {600, true}},
                      TStoredCase{"above 600", Dword(601), std::nullopt, {0, true}},
                      TStoredCase{"negative", Dword(-5), std::nullopt, {0, true}},
                      TStoredCase{"INT32_MIN", Dword(INT32_MIN), std::nullopt, {0, true}},
                      TStoredCase{"a string", Text(kTypeSz, "10"), Text(kTypeSz, "0"), {0, true}},
                      TStoredCase{"a qword", Typed(kTypeQword, {10, 0, 0, 0, 0, 0, 0, 0}), std::nullopt, {0, true}},
                      TStoredCase{"a short binary", Binary({10}), Binary({0}), {0, true}},
                      TStoredCase{"Ocean", std::nullopt, std::nullopt, {0, true, TColourSchemeId::Ocean}, Dword(2)},
                      TStoredCase{"a scheme past the last", std::nullopt, std::nullopt, {0, true}, Dword(4)},
                      TStoredCase{"a scheme as a string", std::nullopt, std::nullopt, {0, true}, Text(kTypeSz, "1")}));

TEST(PracticeSettingsSave, WritesBothAsDwordsAndLeavesAMissingKeyUnreadAtLoad) {
  Hive().Reset();
  TFakeRegistry registry;
  TPracticeSettings unread{20, false};
  ReadPracticeSettings(registry, unread);
  EXPECT_FALSE(Hive().HasKey(TRegLocation::CurrentUser, "Software\\Quorvale\\Lumeno"));
  EXPECT_EQ(unread, (TPracticeSettings{20, false}));

  WritePracticeSettings(registry, TPracticeSettings{15, false, TColourSchemeId::HighVisibility});
  TFakeSeeder seeder("Software\\Quorvale\\Lumeno");
  EXPECT_EQ(seeder.Get("Session Minutes"), Dword(15));
  EXPECT_EQ(seeder.Get("End Bell"), Dword(0));
  EXPECT_EQ(seeder.Get("Colour Scheme"), Dword(3));
}

}  // namespace
}  // namespace lumeno::test
