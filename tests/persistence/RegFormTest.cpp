#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "persistence/FakeRegistry.h"
#include "persistence/RegControls.h"
#include "persistence/StoreTestSupport.h"

namespace lumeno::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr const char* kKey = "Software\\Quorvale\\Lumeno";

class RegForm : public ::testing::Test {
 protected:
  void SetUp() override { Hive().Reset(); }

  // A store set up the way the main window's description sets it.
  std::unique_ptr<TRegForm> MakeStore() {
    auto store = std::make_unique<TRegForm>(window, &MakeFakeRegistry);
    window.loading = true;
    store->RegEnabled = true;
    store->SetRegLocation(TRegLocation::CurrentUser);
    store->SetRegKey("\\Software\\Quorvale\\Lumeno");
    store->SetZOrder(0);
    window.loading = false;
    return store;
  }
  void SeedAll(uint8_t state, int32_t left, int32_t top, int32_t width, int32_t height, int32_t z) {
    seeder.Put("RCWindowState", Binary({state}));
    seeder.Put("RCLeft", Dword(left));
    seeder.Put("RCTop", Dword(top));
    seeder.Put("RCWidth", Dword(width));
    seeder.Put("RCHeight", Dword(height));
    seeder.Put("ZOrder", Dword(z));
  }
  bool Close(TRegForm&) {
    bool canClose = true;
    window.closeQuery(&window, canClose);
    return canClose;
  }

  TFakeWindow window;
  TFakeSeeder seeder{kKey};
};

TEST_F(RegForm, ConstructionHooksTheCloseQueryAndSetsTheStartingProperties) {
  std::vector<std::string> calls;
  window.closeQuery = [&](void* sender, bool&) { calls.push_back(sender == &window ? "previous" : "?"); };
  TRegForm store(window, &MakeFakeRegistry);
  EXPECT_TRUE(store.RegEnabled);
  EXPECT_EQ(store.GetRegKey(), "\\Software\\Default");
  EXPECT_EQ(store.GetRegLocation(), TRegLocation::CurrentUser);
  EXPECT_EQ(store.GetZOrder(), TRegFormZOrder::zoNormal);
  EXPECT_EQ(Hive().accessorsCreated, 0);  // construction touches no registry
  bool canClose = true;
  window.closeQuery(&window, canClose);
  EXPECT_THAT(calls, ElementsAre("previous"));
  EXPECT_TRUE(Hive().HasKey(TRegLocation::CurrentUser, "Software\\Default"));
}

struct TKeyCase {
  const char* start;
  const char* value;
  const char* result;
};

class RegFormKeySetter : public RegForm, public ::testing::WithParamInterface<TKeyCase> {};

TEST_P(RegFormKeySetter, StoresTheValueWithOneTrailingBackslashDropped) {
  TRegForm store(window, &MakeFakeRegistry);
  store.SetRegKey(GetParam().start);
  store.SetRegKey(GetParam().value);
  EXPECT_EQ(store.GetRegKey(), GetParam().result);
  EXPECT_EQ(Hive().accessorsCreated, 0);
}
INSTANTIATE_TEST_SUITE_P(Table, RegFormKeySetter,
                         ::testing::Values(TKeyCase{"\\A", "\\Software\\X\\", "\\Software\\X"},
                                           TKeyCase{"\\A", "\\Software\\X\\\\", "\\Software\\X\\"},
                                           TKeyCase{"\\A", "", "\\A"}, TKeyCase{"\\A", "\\", ""},
                                           TKeyCase{"\\A", "\\A", "\\A"}, TKeyCase{"\\A", "\\a", "\\a"},
                                           TKeyCase{"\\A", "Software\\Y", "Software\\Y"},
                                           TKeyCase{"\\A", "\\A\\", "\\A"}, TKeyCase{"\\", "", ""},
                                           TKeyCase{"\\", "\\", ""}));

TEST_F(RegForm, LoadReadsTheStateFirstThenTheBoundsAndZOrderAndAppliesEachAtOnce) {
  SeedAll(1, -10, 20, 300, 400, 1);
  auto store = MakeStore();
  store->LoadPlacement();
  EXPECT_THAT(Hive().log, ElementsAre("SetRoot HKCU", "OpenKey Software\\Quorvale\\Lumeno", "ReadBinary RCWindowState",
                                      "ReadInteger RCLeft", "ReadInteger RCTop", "ReadInteger RCDpi", "ReadInteger RCWidth",
                                      "ReadInteger RCHeight", "ReadInteger ZOrder", "CloseKey"));
  EXPECT_THAT(window.log, ElementsAre("SetWindowState 1", "SetLeft -10", "SetTop 20", "SetWidth 300", "SetHeight 400",
                                      "ApplyZOrder 1"));
  EXPECT_EQ(store->GetZOrder(), TRegFormZOrder::zoTopmost);
}

TEST_F(RegForm, MaximisedStateKeepsTheDesignedBoundsAndZOrder) {
  SeedAll(2, 1, 2, 3, 4, 1);
  auto store = MakeStore();
  store->LoadPlacement();
  EXPECT_THAT(window.log, ElementsAre("SetWindowState 2"));
  EXPECT_THAT(Hive().log, ElementsAre("SetRoot HKCU", "OpenKey Software\\Quorvale\\Lumeno", "ReadBinary RCWindowState",
                                      "CloseKey"));
  EXPECT_EQ(store->GetZOrder(), TRegFormZOrder::zoNormal);
}

TEST_F(RegForm, MissingTopKeepsEverythingAfterLeft) {
  SeedAll(0, 33, 44, 55, 66, 1);
  Hive().Key(TRegLocation::CurrentUser, kKey).erase("RCTop");
  auto store = MakeStore();
  store->LoadPlacement();
  EXPECT_THAT(window.log, ElementsAre("SetWindowState 0", "SetLeft 33"));
  EXPECT_EQ(window.top, 115);
  EXPECT_EQ(window.width, 229);
  EXPECT_EQ(store->GetZOrder(), TRegFormZOrder::zoNormal);
}

TEST_F(RegForm, ZOrderUsesTheLowEightBits) {
  for (auto [stored, topmost] : {std::pair{256, false}, {1, true}, {0x1FF, true}, {-256, false}}) {
    Hive().Reset();
    window.log.clear();
    SeedAll(0, 1, 2, 3, 4, stored);
    auto store = MakeStore();
    store->LoadPlacement();
    EXPECT_EQ(store->GetZOrder() == TRegFormZOrder::zoTopmost, topmost) << stored;
    EXPECT_EQ(window.log.back() == "ApplyZOrder 1", topmost) << stored;
  }
}

TEST_F(RegForm, NoStoredStateStillReadsTheBoundsAndKeepsTheDesignedState) {
  for (bool empty : {false, true}) {
    Hive().Reset();
    window.log.clear();
    SeedAll(1, 7, 8, 9, 10, 0);
    if (empty) {
      seeder.Put("RCWindowState", Binary({}));
    } else {
      Hive().Key(TRegLocation::CurrentUser, kKey).erase("RCWindowState");
    }
    auto store = MakeStore();
    store->LoadPlacement();
    EXPECT_THAT(window.log, ElementsAre("SetLeft 7", "SetTop 8", "SetWidth 9", "SetHeight 10")) << empty;
  }
}

TEST_F(RegForm, FirstRunReadsNothingAndCreatesNoKey) {
  auto store = MakeStore();
  store->LoadPlacement();
  EXPECT_THAT(window.log, IsEmpty());
  EXPECT_FALSE(Hive().HasKey(TRegLocation::CurrentUser, kKey));
  EXPECT_EQ(Hive().log.back(), "CloseKey");
}

TEST_F(RegForm, DisabledStoreNeitherReadsNorWrites) {
  SeedAll(1, 1, 2, 3, 4, 1);
  auto store = MakeStore();
  store->RegEnabled = false;
  store->LoadPlacement();
  EXPECT_TRUE(Close(*store));
  EXPECT_THAT(window.log, IsEmpty());
  EXPECT_EQ(Hive().accessorsCreated, 0);
}

TEST_F(RegForm, CloseQueryWritesTheSixValuesInOrderWithTheirTypesAndWidths) {
  auto store = MakeStore();
  window.left = -32000, window.top = INT32_MAX, window.width = 0, window.height = -1, window.state = 2;
  EXPECT_TRUE(Close(*store));
  EXPECT_THAT(Hive().log, ElementsAre("SetRoot HKCU", "OpenKey Software\\Quorvale\\Lumeno create",
                                      "WriteInteger RCLeft -32000", "WriteInteger RCTop 2147483647",
                                      "WriteInteger RCWidth 0", "WriteInteger RCHeight -1", "WriteBinary RCWindowState 2",
                                      "WriteInteger ZOrder 0", "WriteInteger RCDpi 96", "CloseKey"));
  EXPECT_EQ(seeder.Get("RCWindowState"), Binary({2}));
  EXPECT_EQ(seeder.Get("ZOrder"), Dword(0));
  EXPECT_EQ(seeder.Get("RCLeft"), Dword(-32000));
}

// The size follows the DPI it was saved at ("RCDpi" missing, -1, or 0: as
// stored); the top-left stays.
TEST_F(RegForm, ASizeSavedAtAnotherDpiIsScaledToTheWindows) {
  for (auto [saved, now, w, h, wantW, wantH] : {std::tuple{96, 144, 229, 480, 344, 720}, {144, 96, 344, 720, 229, 480},
                                                {-1, 144, 229, 480, 229, 480}, {0, 144, 229, 480, 229, 480}}) {
    Hive().Reset();
    window.log.clear();
    window.dpi = now;
    SeedAll(0, -5, 7, w, h, 0);
    if (saved >= 0) seeder.Put("RCDpi", Dword(saved));
    MakeStore()->LoadPlacement();
    EXPECT_THAT(window.log, ElementsAre("SetWindowState 0", "SetLeft -5", "SetTop 7", "SetWidth " + std::to_string(wantW),
                                        "SetHeight " + std::to_string(wantH)))
        << saved << " to " << now;
  }
}

TEST_F(RegForm, ChainedHandlerRefusingTheCloseStopsTheSave) {
  window.closeQuery = [](void*, bool& canClose) { canClose = false; };
  auto store = MakeStore();
  EXPECT_FALSE(Close(*store));
  EXPECT_EQ(Hive().accessorsCreated, 0);
}

TEST_F(RegForm, NoWindowHandleNoSave) {
  auto store = MakeStore();
  window.handle = false;
  EXPECT_TRUE(Close(*store));
  EXPECT_EQ(Hive().accessorsCreated, 0);
}

TEST_F(RegForm, CloseQueryNeverRefusesEvenWhenTheSaveFails) {
  auto store = MakeStore();
  Hive().failPrefix = "WriteInteger RCTop";
  EXPECT_TRUE(Close(*store));
  EXPECT_EQ(seeder.Get("RCLeft"), Dword(416));  // written before the refusal
  EXPECT_EQ(seeder.Get("RCTop"), std::nullopt);
  EXPECT_EQ(Hive().log.back(), "CloseKey");
}

TEST_F(RegForm, SavedPlacementComesBackInAFreshWindow) {
  auto store = MakeStore();
  window.left = 5, window.top = 6, window.width = 700, window.height = 800, window.state = 1;
  store->SetZOrder(1);
  Close(*store);
  TFakeWindow next;
  TRegForm again(next, &MakeFakeRegistry);
  again.SetRegKey("\\Software\\Quorvale\\Lumeno");
  again.LoadPlacement();
  EXPECT_EQ(std::tie(next.left, next.top, next.width, next.height, next.state),
            std::make_tuple(5, 6, 700, 800, uint8_t{1}));
  EXPECT_EQ(again.GetZOrder(), TRegFormZOrder::zoTopmost);
}

TEST_F(RegForm, ZOrderSetterCallsTheWindowOnlyOnAChange) {
  auto store = MakeStore();
  store->SetZOrder(0);
  store->SetZOrder(1);
  store->SetZOrder(1);
  store->SetZOrder(7);  // any non-zero value is top-most
  store->SetZOrder(0);
  EXPECT_THAT(window.log, ElementsAre("ApplyZOrder 1", "ApplyZOrder 0"));
  EXPECT_EQ(Hive().accessorsCreated, 0);
}

TEST_F(RegForm, LocationWhileLoadingIsOnlyRecorded) {
  auto store = std::make_unique<TRegForm>(window, &MakeFakeRegistry);
  window.loading = true;
  store->SetRegLocation(TRegLocation::LocalMachine);
  EXPECT_EQ(store->GetRegLocation(), TRegLocation::LocalMachine);
  EXPECT_EQ(Hive().accessorsCreated, 0);
}

TEST_F(RegForm, LocationChangeMovesThePlacementAndWipesTheKeyUnderBothRoots) {
  SeedAll(0, 1, 2, 3, 4, 0);
  seeder.Put("Breath In", Dword(40));
  TFakeSeeder machine(kKey, TRegLocation::LocalMachine);
  machine.Put("Stale", Dword(1));
  Hive().Key(TRegLocation::CurrentUser, std::string(kKey) + "\\Sub\\Deeper")["x"] = Dword(1);
  auto store = MakeStore();
  store->SetRegLocation(TRegLocation::CurrentUser);  // unchanged: nothing happens
  EXPECT_EQ(Hive().accessorsCreated, 0);

  store->SetRegLocation(TRegLocation::LocalMachine);
  EXPECT_THAT(Hive().log,
              ElementsAre("SetRoot HKCU", "DeleteKey HKCU Software\\Quorvale\\Lumeno", "SetRoot HKLM",
                          "DeleteKey HKLM Software\\Quorvale\\Lumeno", "SetRoot HKLM",
                          "OpenKey Software\\Quorvale\\Lumeno create", "WriteInteger RCLeft 416", "WriteInteger RCTop 115",
                          "WriteInteger RCWidth 229", "WriteInteger RCHeight 480", "WriteBinary RCWindowState 0",
                          "WriteInteger ZOrder 0", "WriteInteger RCDpi 96", "CloseKey"));
  EXPECT_FALSE(Hive().HasKey(TRegLocation::CurrentUser, kKey));
  EXPECT_FALSE(Hive().HasKey(TRegLocation::CurrentUser, std::string(kKey) + "\\Sub\\Deeper"));
  EXPECT_EQ(machine.Get("Stale"), std::nullopt);
  EXPECT_EQ(machine.Get("RCWidth"), Dword(229));
  // Later loads and saves use the new root.
  Hive().log.clear();
  store->LoadPlacement();
  EXPECT_EQ(Hive().log[0], "SetRoot HKLM");
}

TEST_F(RegForm, LocationChangeWithTheRootAsKeyDeletesNothing) {
  Hive().Key(TRegLocation::CurrentUser, "Software\\Other")["keep"] = Dword(1);
  auto store = MakeStore();
  store->SetRegKey("\\");
  store->SetRegLocation(TRegLocation::LocalMachine);
  for (const std::string& line : Hive().log) EXPECT_NE(line.rfind("DeleteKey", 0), 0u) << line;
  EXPECT_TRUE(Hive().HasKey(TRegLocation::CurrentUser, "Software\\Other"));
}

TEST_F(RegForm, HandlerOutlivingTheStoreStillChainsThePrevious) {
  int previous = 0;
  window.closeQuery = [&](void*, bool&) { ++previous; };
  MakeStore().reset();
  bool canClose = true;
  window.closeQuery(&window, canClose);
  EXPECT_EQ(previous, 1);
  EXPECT_EQ(Hive().accessorsCreated, 0);
}

// --- every value missing, mistyped, too long or an edge number ---

class RegFormBadInput : public RegForm, public ::testing::WithParamInterface<TMutationCase> {};

TEST_P(RegFormBadInput, AppliesWhatItCanAndStopsAtTheFirstBadValue) {
  SeedPlacement(seeder, GetParam().mutated, GetParam().mutation);
  auto store = MakeStore();
  store->LoadPlacement();
  EXPECT_EQ(window.log, ExpectPlacementCalls(GetParam().mutated, GetParam().mutation));
}

INSTANTIATE_TEST_SUITE_P(Matrix, RegFormBadInput, ::testing::ValuesIn(MutationCases(6)),
                         [](const ::testing::TestParamInfo<TMutationCase>& info) {
                           return MutationCaseName(PlacementReadOrder(), info.param);
                         });

TEST_F(RegForm, EmptyKeyAppliesNothing) {
  Hive().Key(TRegLocation::CurrentUser, kKey);
  auto store = MakeStore();
  store->LoadPlacement();
  EXPECT_THAT(window.log, IsEmpty());
}

}  // namespace
}  // namespace lumeno::test
