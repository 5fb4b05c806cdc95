#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "persistence/FakeRegistry.h"
#include "persistence/SettingsStore.h"
#include "persistence/StoreTestSupport.h"

namespace lumeno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kKey = "Software\\Quorvale\\Lumeno";

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override { Hive().Reset(); }

  void Seed(std::initializer_list<std::pair<const char*, TStoredValue>> values) {
    for (const auto& [name, value] : values) seeder.Put(name, value);
  }
  void SeedAll(const int32_t (&values)[7]) {
    for (int i = 0; i < 7; ++i) seeder.Put(SettingsReadOrder()[i], Dword(values[i]));
  }
  std::vector<std::optional<TStoredValue>> Stored() {
    std::vector<std::optional<TStoredValue>> out;
    for (const std::string& name : SettingsReadOrder()) out.push_back(seeder.Get(name));
    return out;
  }
  static std::vector<std::optional<TStoredValue>> Dwords(const std::vector<int32_t>& values) {
    std::vector<std::optional<TStoredValue>> out;
    for (int32_t v : values) out.push_back(Dword(v));
    return out;
  }
  void Load() {
    TFakeRegistry registry;
    wczytajRejestr(registry, host);
  }
  void Save() {
    TFakeRegistry registry;
    zapiszRejestr(registry, host);
  }

  TFakeSeeder seeder{kKey};
  TFakeSettingsHost host;
};

TEST_F(SettingsStore, FirstRunCreatesTheKeyAndWritesTheDefaultsWithTheDesignedFlags) {
  host.pattern.FBreathIn = 99;  // whatever the dialog held is replaced
  Load();
  TBreathingPattern defaults;
  EXPECT_EQ(host.pattern, defaults);
  EXPECT_THAT(host.log, ElementsAre("refresh"));
  EXPECT_THAT(Hive().log,
              ElementsAre("SetRoot HKCU", "OpenKey Software\\Quorvale\\Lumeno create", "ValueExists Menu open",
                          "SetRoot HKCU", "OpenKey Software\\Quorvale\\Lumeno create", "WriteInteger Breath In 30",
                          "WriteInteger Breath Out 60", "WriteInteger Hold In 5", "WriteInteger Hold Out 5",
                          "WriteInteger Stay on top 0", "WriteInteger Menu open 1", "WriteInteger Enable sounds 1",
                          "CloseKey", "CloseKey"));
  EXPECT_EQ(Stored(), Dwords({30, 60, 5, 5, 0, 1, 1}));
}

TEST_F(SettingsStore, LoadChecksAllSevenThenReadsInOrderAndAppliesStayOnTopAtOnce) {
  SeedAll({40, 70, 7, 9, 1, 0, 0});
  Load();
  EXPECT_THAT(Hive().log,
              ElementsAre("SetRoot HKCU", "OpenKey Software\\Quorvale\\Lumeno create", "ValueExists Menu open",
                          "ValueExists Enable sounds", "ValueExists Breath In", "ValueExists Breath Out",
                          "ValueExists Hold In", "ValueExists Hold Out", "ValueExists Stay on top",
                          "ReadInteger Breath In", "ReadInteger Breath Out", "ReadInteger Hold In",
                          "ReadInteger Hold Out", "ReadInteger Stay on top", "ReadInteger Menu open",
                          "ReadInteger Enable sounds", "CloseKey"));
  EXPECT_THAT(host.log, ElementsAre("refresh", "stayOnTop 1", "zmianaStayOnTop 1", "menu 0", "sounds 0"));
  TBreathingPattern expected;
  expected.FBreathIn = 40, expected.FBreathOut = 70, expected.FHoldIn = 7, expected.FHoldOut = 9;
  expected.przeliczCykl();
  EXPECT_EQ(host.pattern, expected);
  EXPECT_EQ(Stored(), Dwords({40, 70, 7, 9, 1, 0, 0}));  // a load writes nothing back
}

TEST_F(SettingsStore, FlagsReadTrueWhenNonZero) {
  SeedAll({30, 60, 5, 5, -7, 256, INT32_MIN});
  host.stayOnTop = false, host.menuVisible = false, host.sounds = false;
  Load();
  EXPECT_TRUE(host.stayOnTop);
  EXPECT_TRUE(host.menuVisible);
  EXPECT_TRUE(host.sounds);
}

TEST_F(SettingsStore, HoldInStoredAsStringLoadsTheFirstTwoAndSkipsTheRestWithoutRefreshing) {
  SeedAll({40, 70, 7, 9, 1, 0, 0});
  seeder.Put("Hold In", Text(kTypeSz, "7"));
  Load();
  EXPECT_EQ(host.pattern.FBreathIn, 40);
  EXPECT_EQ(host.pattern.FBreathOut, 70);
  EXPECT_EQ(host.pattern.FHoldIn, 5);
  EXPECT_EQ(host.pattern.FHoldOut, 5);
  // Cycle and rate still those of the defaults: przeliczCykl never ran.
  EXPECT_EQ(host.pattern.FCycle, 100);
  EXPECT_EQ(host.pattern.FBpm, 60);
  EXPECT_THAT(host.log, IsEmpty());
  EXPECT_EQ(Hive().log.back(), "CloseKey");
  EXPECT_EQ(Hive().log[Hive().log.size() - 2], "ReadInteger Hold In");
}

class SettingsStoreOneMissing : public SettingsStore, public ::testing::WithParamInterface<int> {};

TEST_P(SettingsStoreOneMissing, DefaultsReplaceThePatternAndAllSevenAreRewrittenWithoutReadingTheFlags) {
  SeedAll({40, 70, 7, 9, 1, 0, 0});
  const std::string missing = SettingsReadOrder()[GetParam()];
  Hive().Key(TRegLocation::CurrentUser, kKey).erase(missing);
  host.menuVisible = false;  // the flags as they stand are what gets written
  Load();
  EXPECT_EQ(host.pattern, TBreathingPattern());
  EXPECT_THAT(host.log, ElementsAre("refresh"));
  EXPECT_EQ(Stored(), Dwords({30, 60, 5, 5, 0, 0, 1}));
  // The existence checks stop at the first missing value.
  std::vector<std::string> checks;
  for (const std::string& line : Hive().log) {
    if (line.rfind("ValueExists ", 0) == 0) checks.push_back(line.substr(12));
    EXPECT_NE(line.rfind("ReadInteger", 0), 0u) << line;
  }
  EXPECT_EQ(checks.back(), missing);
}
INSTANTIATE_TEST_SUITE_P(EachValue, SettingsStoreOneMissing, ::testing::Range(0, 7));

TEST_F(SettingsStore, SaveWritesTheSevenInTableOrderWithFlagsAsZeroOrOne) {
  host.pattern.FBreathIn = -3, host.pattern.FBreathOut = INT32_MAX, host.pattern.FHoldIn = 0;
  host.pattern.FHoldOut = INT32_MIN;
  host.stayOnTop = true, host.menuVisible = false, host.sounds = true;
  Save();
  EXPECT_THAT(Hive().log,
              ElementsAre("SetRoot HKCU", "OpenKey Software\\Quorvale\\Lumeno create", "WriteInteger Breath In -3",
                          "WriteInteger Breath Out 2147483647", "WriteInteger Hold In 0",
                          "WriteInteger Hold Out -2147483648", "WriteInteger Stay on top 1",
                          "WriteInteger Menu open 0", "WriteInteger Enable sounds 1", "CloseKey"));
  EXPECT_THAT(host.log, IsEmpty());  // saving applies nothing to the windows
}

class SettingsStoreRefusedWrite : public SettingsStore, public ::testing::WithParamInterface<int> {};

TEST_P(SettingsStoreRefusedWrite, EndsTheSaveSilentlyKeepingWhatWasWritten) {
  SeedAll({1, 2, 3, 4, 5, 6, 7});
  const int refused = GetParam();
  Hive().failPrefix = "WriteInteger " + SettingsReadOrder()[refused];
  host.stayOnTop = true;
  Save();
  const std::vector<int32_t> saved = {30, 60, 5, 5, 1, 1, 1};
  std::vector<int32_t> expected = {1, 2, 3, 4, 5, 6, 7};
  for (int i = 0; i < refused; ++i) expected[i] = saved[i];
  EXPECT_EQ(Stored(), Dwords(expected));
  EXPECT_EQ(Hive().log.back(), "CloseKey");
}
INSTANTIATE_TEST_SUITE_P(EachValue, SettingsStoreRefusedWrite, ::testing::Range(0, 7));

TEST_F(SettingsStore, KeyThatCannotBeOpenedGivesDefaultsInMemoryAndWritesNothing) {
  SeedAll({40, 70, 7, 9, 1, 0, 0});
  Hive().failPrefix = "OpenKey";
  host.pattern.FBreathIn = 77;
  Load();
  EXPECT_EQ(host.pattern, TBreathingPattern());
  EXPECT_THAT(host.log, ElementsAre("refresh"));
  EXPECT_EQ(Stored(), Dwords({40, 70, 7, 9, 1, 0, 0}));
  Hive().log.clear();
  Save();
  EXPECT_THAT(Hive().log, ElementsAre("SetRoot HKCU", "OpenKey Software\\Quorvale\\Lumeno create",
                                      "WriteInteger Breath In 30", "CloseKey"));
}

TEST_F(SettingsStore, OkThenEditsThenCancelReturnsToWhatOkSaved) {
  SeedAll({40, 70, 7, 9, 0, 1, 1});
  Load();
  host.pattern.StepBreathIn(TStep::Up);
  host.stayOnTop = true;
  Save();  // OK
  const TBreathingPattern saved = host.pattern;
  host.pattern.StepHoldOut(TStep::Up);
  host.sounds = false;
  host.log.clear();
  Load();  // Cancel
  EXPECT_EQ(host.pattern, saved);
  EXPECT_TRUE(host.sounds);
  // Cancel reapplies the stored stay-on-top to the main window.
  EXPECT_THAT(host.log, ElementsAre("refresh", "stayOnTop 1", "zmianaStayOnTop 1", "menu 1", "sounds 1"));
}

TEST_F(SettingsStore, DefaultSettingsSavesAtOnceSoCancelKeepsTheDefaults) {
  SeedAll({40, 70, 7, 9, 0, 1, 0});
  Load();
  host.pattern.ApplyDefaults();  // "Default settings"
  Save();
  host.pattern.StepBreathOut(TStep::Down);
  Load();  // Cancel
  EXPECT_EQ(host.pattern, TBreathingPattern());
  EXPECT_FALSE(host.sounds);  // the check boxes are not reset by the defaults
}

TEST_F(SettingsStore, LeavesThePlacementValuesInTheSharedKeyAlone) {
  seeder.Put("RCLeft", Dword(5));
  seeder.Put("RCWindowState", Binary({2}));
  Load();
  Save();
  EXPECT_EQ(seeder.Get("RCLeft"), Dword(5));
  EXPECT_EQ(seeder.Get("RCWindowState"), Binary({2}));
}

// --- every value missing, mistyped, too long or an edge number ---

class SettingsStoreBadInput : public SettingsStore, public ::testing::WithParamInterface<TMutationCase> {};

TEST_P(SettingsStoreBadInput, LoadsWhatItCanAndNeverMore) {
  const auto [mutated, mutation] = GetParam();
  SeedSettings(seeder, mutated, mutation);
  Load();
  const TSettingsExpectation e = ExpectSettings(mutated, mutation);
  ExpectHostMatches(host, e);
  if (e.rewritten) {
    EXPECT_EQ(Stored(), Dwords(*e.rewritten));
  }
}

INSTANTIATE_TEST_SUITE_P(Matrix, SettingsStoreBadInput, ::testing::ValuesIn(MutationCases(7)),
                         [](const ::testing::TestParamInfo<TMutationCase>& info) {
                           return MutationCaseName(SettingsReadOrder(), info.param);
                         });

TEST_F(SettingsStore, EmptyKeyFallsBackToTheDefaults) {
  Hive().Key(TRegLocation::CurrentUser, kKey);
  host.stayOnTop = true;
  Load();
  EXPECT_EQ(host.pattern, TBreathingPattern());
  EXPECT_EQ(Stored(), Dwords({30, 60, 5, 5, 1, 1, 1}));
  EXPECT_THAT(host.log, ElementsAre("refresh"));  // the flags are written, not applied
}

}  // namespace
}  // namespace lumeno::test
