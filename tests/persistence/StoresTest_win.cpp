// Both stores over TRegistry and the real registry: the bad-input matrices,
// the bit-exact form of what they write, and one run on Lumeno's own key.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "persistence/RegControls.h"
#include "persistence/Registry_win.h"
#include "persistence/ScratchKey_win.h"
#include "persistence/SettingsStore.h"
#include "persistence/StoreTestSupport.h"

namespace lumeno::test {
namespace {

using ::testing::IsEmpty;

// TRegistry with Lumeno's key redirected to the test's scratch key.
class TRedirectedRegistry final : public IRegistry {
 public:
  explicit TRedirectedRegistry(std::string target) : target_(std::move(target)) {}
  void SetRoot(TRegLocation root) override { inner_.SetRoot(root); }
  bool OpenKey(const std::string& path, bool create) override {
    return inner_.OpenKey(path == kLumenoKey ? target_ : path, create);
  }
  bool ValueExists(const std::string& name) override { return inner_.ValueExists(name); }
  bool ReadInteger(const std::string& name, int32_t& value) override { return inner_.ReadInteger(name, value); }
  bool ReadBinary(const std::string& name, uint8_t* buffer, size_t size, size_t& bytesRead) override {
    return inner_.ReadBinary(name, buffer, size, bytesRead);
  }
  bool WriteInteger(const std::string& name, int32_t value) override { return inner_.WriteInteger(name, value); }
  bool WriteBinary(const std::string& name, const uint8_t* data, size_t size) override {
    return inner_.WriteBinary(name, data, size);
  }
  bool DeleteKey(const std::string& path) override { return inner_.DeleteKey(path); }
  void CloseKey() override { inner_.CloseKey(); }

 private:
  TRegistry inner_;
  std::string target_;
};

class Stores : public ScratchKeyTest {
 protected:
  void LoadSettings() {
    TRedirectedRegistry registry(path);
    wczytajRejestr(registry, host);
  }
  void SaveSettings() {
    TRedirectedRegistry registry(path);
    zapiszRejestr(registry, host);
  }
  std::unique_ptr<TRegForm> MakePlacementStore() {
    auto store = std::make_unique<TRegForm>(window, &MakeWin32Registry);
    store->SetRegKey("\\" + path);
    return store;
  }

  TFakeSettingsHost host;
  TFakeWindow window;
};

TEST_F(Stores, FirstRunWritesSevenFourByteDwordsAndCloseWritesTheSixPlacementValuesBitExact) {
  ::RegCloseKey(key);
  key = nullptr;
  ::RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path).c_str());
  LoadSettings();  // creates the key
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  TRawSeeder seeder(key);
  const int32_t defaults[] = {30, 60, 5, 5, 0, 1, 1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(seeder.Get(SettingsReadOrder()[i]), Dword(defaults[i]));

  auto store = MakePlacementStore();
  window.left = -8, window.top = 0x01020304, window.width = 229, window.height = 480, window.state = 2;
  bool canClose = true;
  window.closeQuery(&window, canClose);
  EXPECT_EQ(seeder.Get("RCLeft"), Typed(kTypeDword, {0xF8, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(seeder.Get("RCTop"), Typed(kTypeDword, {4, 3, 2, 1}));
  EXPECT_EQ(seeder.Get("RCWidth"), Typed(kTypeDword, {229, 0, 0, 0}));
  EXPECT_EQ(seeder.Get("RCHeight"), Typed(kTypeDword, {0xE0, 1, 0, 0}));
  EXPECT_EQ(seeder.Get("RCWindowState"), Typed(kTypeBinary, {2}));
  EXPECT_EQ(seeder.Get("ZOrder"), Typed(kTypeDword, {0, 0, 0, 0}));
  // Neither store disturbs the other's values.
  LoadSettings();
  SaveSettings();
  EXPECT_EQ(seeder.Get("RCWindowState"), Typed(kTypeBinary, {2}));
  store->LoadPlacement();
  EXPECT_EQ(seeder.Get("Breath In"), Dword(30));
}

class SettingsBadInput : public Stores, public ::testing::WithParamInterface<TMutationCase> {};

TEST_P(SettingsBadInput, LoadsWhatItCanAndNeverMore) {
  TRawSeeder seeder(key);
  SeedSettings(seeder, GetParam().mutated, GetParam().mutation);
  LoadSettings();
  const TSettingsExpectation e = ExpectSettings(GetParam().mutated, GetParam().mutation);
  ExpectHostMatches(host, e);
  if (e.rewritten) {
    for (int i = 0; i < 7; ++i) EXPECT_EQ(seeder.Get(SettingsReadOrder()[i]), Dword((*e.rewritten)[i]));
  }
}
INSTANTIATE_TEST_SUITE_P(Matrix, SettingsBadInput,
                         ::testing::ValuesIn(MutationCases(7)),
                         [](const ::testing::TestParamInfo<TMutationCase>& info) {
                           return MutationCaseName(SettingsReadOrder(), info.param);
                         });

class PlacementBadInput : public Stores, public ::testing::WithParamInterface<TMutationCase> {};

TEST_P(PlacementBadInput, AppliesWhatItCanAndStopsAtTheFirstBadValue) {
  TRawSeeder seeder(key);
  SeedPlacement(seeder, GetParam().mutated, GetParam().mutation);
  auto store = MakePlacementStore();
  store->LoadPlacement();
  EXPECT_EQ(window.log, ExpectPlacementCalls(GetParam().mutated, GetParam().mutation));
}
INSTANTIATE_TEST_SUITE_P(Matrix, PlacementBadInput,
                         ::testing::ValuesIn(MutationCases(6)),
                         [](const ::testing::TestParamInfo<TMutationCase>& info) {
                           return MutationCaseName(PlacementReadOrder(), info.param);
                         });

TEST_F(Stores, EmptyKeyGivesDefaultSettingsAndNoPlacement) {
  auto store = MakePlacementStore();
  store->LoadPlacement();
  EXPECT_THAT(window.log, IsEmpty());
  LoadSettings();
  EXPECT_EQ(host.pattern, TBreathingPattern());
  EXPECT_EQ(RawGet(key, "Enable sounds"), Dword(1));
}

TEST_F(Stores, PlacementMoveToTheMachineRootWipesTheUserKey) {
  RawPut(key, "Breath In", Dword(40));
  auto store = MakePlacementStore();
  store->SetRegLocation(TRegLocation::LocalMachine);
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, path));
  HKEY machine = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_LOCAL_MACHINE, Widen(path).c_str(), 0, KEY_ALL_ACCESS, &machine), ERROR_SUCCESS);
  EXPECT_EQ(RawGet(machine, "RCHeight"), Dword(480));
  EXPECT_EQ(RawGet(machine, "Breath In"), std::nullopt);
  ::RegCloseKey(machine);
  EXPECT_EQ(::RegDeleteKeyW(HKEY_LOCAL_MACHINE, Widen(path).c_str()), ERROR_SUCCESS);
}

// Lumeno's own key, in the throwaway prefix the tests run in. Whatever was
// there before is put back afterwards.
class LumenoKey : public ::testing::Test {
 protected:
  static constexpr const char* kPath = "Software\\Quorvale\\Lumeno";

  void SetUp() override {
    hadVendor_ = RawKeyExists(HKEY_CURRENT_USER, "Software\\Quorvale");
    hadKey_ = RawKeyExists(HKEY_CURRENT_USER, kPath);
    if (hadKey_) {
      HKEY key = nullptr;
      ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kPath).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
      for (const std::string& name : Names()) saved_.push_back(RawGet(key, name));
      ::RegCloseKey(key);
    }
  }
  void TearDown() override {
    if (!hadKey_) {
      ::RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kPath).c_str());
      if (!hadVendor_) ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Quorvale");
      return;
    }
    HKEY key = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kPath).c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    for (size_t i = 0; i < Names().size(); ++i) {
      if (saved_[i]) {
        RawPut(key, Names()[i], *saved_[i]);
      } else {
        ::RegDeleteValueW(key, Widen(Names()[i]).c_str());
      }
    }
    ::RegCloseKey(key);
  }
  static std::vector<std::string> Names() {
    std::vector<std::string> names = SettingsReadOrder();
    names.insert(names.end(), PlacementReadOrder().begin(), PlacementReadOrder().end());
    return names;
  }

 private:
  bool hadVendor_ = false;
  bool hadKey_ = false;
  std::vector<std::optional<TStoredValue>> saved_;
};

TEST_F(LumenoKey, BothStoresShareTheKeyAndReadBackWhatTheyWrote) {
  TFakeSettingsHost host;
  host.pattern.FBreathIn = 45;
  host.menuVisible = false;
  {
    auto registry = MakeWin32Registry();
    zapiszRejestr(*registry, host);
  }
  TFakeWindow window;
  TRegForm store(window, &MakeWin32Registry);
  store.SetRegKey("\\Software\\Quorvale\\Lumeno");
  window.left = 12, window.top = 34;
  store.SavePlacement();

  HKEY key = nullptr;
  ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kPath).c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
  for (const std::string& name : Names()) EXPECT_NE(RawGet(key, name), std::nullopt) << name;
  ::RegCloseKey(key);

  TFakeSettingsHost next;
  {
    auto registry = MakeWin32Registry();
    wczytajRejestr(*registry, next);
  }
  EXPECT_EQ(next.pattern.FBreathIn, 45);
  EXPECT_FALSE(next.menuVisible);
  TFakeWindow nextWindow;
  TRegForm nextStore(nextWindow, &MakeWin32Registry);
  nextStore.SetRegKey("\\Software\\Quorvale\\Lumeno\\");
  nextStore.LoadPlacement();
  EXPECT_EQ(nextWindow.left, 12);
  EXPECT_EQ(nextWindow.top, 34);
}

}  // namespace
}  // namespace lumeno::test
