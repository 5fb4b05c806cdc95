// The fake accessor the store tests rely on follows the same reading rules as
// the real one (the same rows run against TRegistry under Wine).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "persistence/FakeRegistry.h"
#include "persistence/StoreTestSupport.h"

namespace lumeno::test {
namespace {

class FakeRegistryReads : public ::testing::TestWithParam<TAccessorCase> {
 protected:
  void SetUp() override { Hive().Reset(); }
};

TEST_P(FakeRegistryReads, FollowTheAccessorRules) {
  const TAccessorCase& c = GetParam();
  auto& values = Hive().Key(TRegLocation::CurrentUser, "Software\\LumenoTest");
  if (c.stored) values["V"] = *c.stored;
  TFakeRegistry registry;
  ASSERT_TRUE(registry.OpenKey("\\Software\\LumenoTest", false));
  CheckAccessorCase(registry, c);
}
INSTANTIATE_TEST_SUITE_P(Types, FakeRegistryReads, ::testing::ValuesIn(AccessorCases()),
                         [](const ::testing::TestParamInfo<TAccessorCase>& info) { return info.param.label; });

TEST(FakeRegistry, DeleteKeyTakesTheSubkeysButNeverTheRoot) {
  Hive().Reset();
  Hive().Key(TRegLocation::CurrentUser, "A\\B\\C")["v"] = Dword(1);
  Hive().Key(TRegLocation::CurrentUser, "A\\B");
  Hive().Key(TRegLocation::CurrentUser, "A\\BB");
  TFakeRegistry registry;
  EXPECT_FALSE(registry.DeleteKey(""));
  EXPECT_FALSE(registry.DeleteKey("\\"));
  EXPECT_TRUE(registry.DeleteKey("\\A\\B"));
  EXPECT_FALSE(Hive().HasKey(TRegLocation::CurrentUser, "A\\B\\C"));
  EXPECT_TRUE(Hive().HasKey(TRegLocation::CurrentUser, "A\\BB"));
  EXPECT_TRUE(registry.DeleteKey("A\\Missing"));
}

TEST(FakeRegistry, NoOpenKeyRefusesWritesAndReadsNothing) {
  Hive().Reset();
  TFakeRegistry registry;
  int32_t value = 0;
  size_t bytes = 1;
  uint8_t byte = 0;
  EXPECT_FALSE(registry.WriteInteger("V", 1));
  EXPECT_FALSE(registry.WriteBinary("V", &byte, 1));
  EXPECT_FALSE(registry.ReadInteger("V", value));
  EXPECT_TRUE(registry.ReadBinary("V", &byte, 1, bytes));
  EXPECT_EQ(bytes, 0u);
  EXPECT_FALSE(registry.OpenKey("Missing", false));
}

}  // namespace
}  // namespace lumeno::test
