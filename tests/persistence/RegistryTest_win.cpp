// TRegistry against the real registry: every value type, missing keys and
// values, refusals, recursive deletion and the exact types and widths written.
#include <gtest/gtest.h>

#include "persistence/Registry_win.h"
#include "persistence/ScratchKey_win.h"
#include "persistence/StoreTestSupport.h"

namespace lumeno::test {
namespace {

class RegistryReads : public ScratchKeyTest, public ::testing::WithParamInterface<TAccessorCase> {};

TEST_P(RegistryReads, FollowTheAccessorRules) {
  const TAccessorCase& c = GetParam();
  if (c.stored) RawPut(key, "V", *c.stored);
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("\\" + path, false));
  CheckAccessorCase(registry, c);
}
INSTANTIATE_TEST_SUITE_P(Types, RegistryReads, ::testing::ValuesIn(AccessorCases()),
                         [](const ::testing::TestParamInfo<TAccessorCase>& info) { return info.param.label; });

using Registry = ScratchKeyTest;

TEST_F(Registry, FreshAccessorIsOnTheCurrentUserWithNothingOpen) {
  auto made = MakeWin32Registry();
  auto* registry = dynamic_cast<TRegistry*>(made.get());
  ASSERT_NE(registry, nullptr);
  EXPECT_EQ(registry->Root(), TRegLocation::CurrentUser);
  EXPECT_EQ(registry->CurrentKey(), nullptr);
  EXPECT_FALSE(registry->WriteInteger("V", 1));
}

TEST_F(Registry, MissingKeyOpensNothingAndReadsNothing) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(path, false));
  EXPECT_FALSE(registry.OpenKey(path + "\\Missing", false));
  EXPECT_EQ(registry.CurrentKey(), nullptr) << "a failed open leaves nothing open";
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, path + "\\Missing"));
  int32_t value = 0;
  uint8_t byte = 9;
  size_t bytes = 5;
  EXPECT_FALSE(registry.ValueExists("V"));
  EXPECT_FALSE(registry.ReadInteger("V", value));
  EXPECT_TRUE(registry.ReadBinary("V", &byte, 1, bytes));
  EXPECT_EQ(bytes, 0u);
  EXPECT_EQ(byte, 9);
  EXPECT_FALSE(registry.WriteInteger("V", 1));
  EXPECT_FALSE(registry.WriteBinary("V", &byte, 1));
}

TEST_F(Registry, OpenTakesThePathFromTheRootWithOrWithoutLeadingBackslashAndCreatesParents) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey("\\" + path + "\\A\\B", true));
  ASSERT_TRUE(registry.WriteInteger("V", 7));
  ASSERT_TRUE(registry.OpenKey(path + "\\A\\B", false));
  int32_t value = 0;
  EXPECT_TRUE(registry.ReadInteger("V", value));
  EXPECT_EQ(value, 7);
  // Always from the root, never relative to the key already open.
  EXPECT_FALSE(registry.OpenKey("A", false));
}

TEST_F(Registry, RootSwitchClosesTheOpenKeyOnlyWhenTheRootChanges) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(path, false));
  registry.SetRoot(TRegLocation::CurrentUser);
  EXPECT_NE(registry.CurrentKey(), nullptr);
  registry.SetRoot(TRegLocation::LocalMachine);
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_EQ(registry.Root(), TRegLocation::LocalMachine);
  EXPECT_FALSE(registry.OpenKey(path, false)) << "the scratch key lives under HKEY_CURRENT_USER only";
}

TEST_F(Registry, WritesKeepTheTypesAndWidthsLumenoStores) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(path, false));
  const uint8_t state = 2;
  ASSERT_TRUE(registry.WriteInteger("Int", -2));
  ASSERT_TRUE(registry.WriteInteger("Min", INT32_MIN));
  ASSERT_TRUE(registry.WriteBinary("Bin", &state, 1));
  ASSERT_TRUE(registry.WriteBinary("Empty", nullptr, 0));
  ASSERT_TRUE(registry.WriteString("Text", "\xC5\xBC.wav"));
  EXPECT_EQ(RawGet(key, "Text"), Typed(kTypeSz, {0x7C, 1, '.', 0, 'w', 0, 'a', 0, 'v', 0, 0, 0}));
  EXPECT_EQ(RawGet(key, "Int"), Typed(kTypeDword, {0xFE, 0xFF, 0xFF, 0xFF}));
  EXPECT_EQ(RawGet(key, "Min"), Typed(kTypeDword, {0, 0, 0, 0x80}));
  EXPECT_EQ(RawGet(key, "Bin"), Binary({2}));
  EXPECT_EQ(RawGet(key, "Empty"), Binary({}));
  // Overwriting a string with an integer changes its type.
  RawPut(key, "Int", Text(kTypeSz, "x"));
  ASSERT_TRUE(registry.WriteInteger("Int", 5));
  EXPECT_EQ(RawGet(key, "Int"), Dword(5));
}

TEST_F(Registry, ReadOnlyAccessorRefusesWritesAndKeepsTheValue) {
  RawPut(key, "V", Dword(3));
  TRegistry registry(KEY_READ);
  ASSERT_TRUE(registry.OpenKey(path, false));
  int32_t value = 0;
  EXPECT_TRUE(registry.ReadInteger("V", value));
  const uint8_t byte = 1;
  EXPECT_FALSE(registry.WriteInteger("V", 4));
  EXPECT_FALSE(registry.WriteBinary("W", &byte, 1));
  EXPECT_EQ(RawGet(key, "V"), Dword(3));
  EXPECT_EQ(RawGet(key, "W"), std::nullopt);
}

TEST_F(Registry, KeyThatCannotBeCreatedFailsCleanly) {
  // A non-volatile key cannot be created below a volatile one.
  HKEY volatileKey = nullptr;
  ASSERT_EQ(::RegCreateKeyExW(key, L"Volatile", 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                              &volatileKey, nullptr),
            ERROR_SUCCESS);
  ::RegCloseKey(volatileKey);
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(path, false));
  EXPECT_FALSE(registry.OpenKey(path + "\\Volatile\\Child", true));
  EXPECT_EQ(registry.CurrentKey(), nullptr);
  EXPECT_FALSE(registry.WriteInteger("V", 1));
}

TEST_F(Registry, NamesThatCannotBeStoredAreRefusedNotCut) {
  TRegistry registry;
  ASSERT_TRUE(registry.OpenKey(path, false));
  EXPECT_FALSE(registry.WriteInteger(std::string("A\0B", 3), 1));
  EXPECT_FALSE(registry.WriteInteger("\xFF\xFE", 1));
  EXPECT_EQ(RawGet(key, "A"), std::nullopt);
  EXPECT_FALSE(registry.OpenKey(path + std::string("\0X", 2), true));
  EXPECT_FALSE(registry.OpenKey(path + "\\" + std::string(300, 'k'), true));
  // UTF-8 names round-trip.
  ASSERT_TRUE(registry.OpenKey(path, false));
  EXPECT_TRUE(registry.WriteInteger("Zażółć", 9));
  int32_t value = 0;
  EXPECT_TRUE(registry.ReadInteger("Zażółć", value));
  EXPECT_EQ(value, 9);
}

TEST_F(Registry, DeleteKeyRemovesNestedSubkeysAndValuesButNotTheSiblings) {
  for (const wchar_t* sub : {L"Doomed\\A\\B\\C", L"Doomed\\A\\D", L"Doomed\\E", L"Doomed2"}) {
    HKEY child = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(key, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr), ERROR_SUCCESS);
    RawPut(child, "V", Dword(1));
    ::RegCloseKey(child);
  }
  TRegistry registry;
  EXPECT_TRUE(registry.DeleteKey("\\" + path + "\\Doomed"));
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, path + "\\Doomed"));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, path + "\\Doomed2"));
  EXPECT_TRUE(registry.DeleteKey(path + "\\Doomed")) << "a missing key is no error";
}

TEST_F(Registry, DeleteKeyRefusesTheRootItself) {
  TRegistry registry;
  EXPECT_FALSE(registry.DeleteKey(""));
  EXPECT_FALSE(registry.DeleteKey("\\"));
  EXPECT_FALSE(registry.DeleteKey("\\\\"));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, path));
  EXPECT_TRUE(RawKeyExists(HKEY_CURRENT_USER, "Software"));
}

TEST_F(Registry, ManySubkeysAreAllDeleted) {
  for (int i = 0; i < 300; ++i) {
    HKEY child = nullptr;
    const std::wstring name = L"Wide\\K" + std::to_wstring(i);
    ASSERT_EQ(::RegCreateKeyExW(key, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(child);
  }
  TRegistry registry;
  EXPECT_TRUE(registry.DeleteKey(path + "\\Wide"));
  EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, path + "\\Wide"));
}

}  // namespace
}  // namespace lumeno::test
