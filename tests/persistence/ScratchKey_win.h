// A scratch key per test under HKCU\Software\LumenoTest, made in SetUp and
// deleted with everything below it in TearDown, plus raw access to its values
// that goes around the accessor under test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "persistence/StoreTestSupport.h"

namespace lumeno::test {

inline std::wstring Widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

inline bool RawKeyExists(HKEY root, const std::string& path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, Widen(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  ::RegCloseKey(key);
  return true;
}

inline void RawPut(HKEY key, const std::string& name, const TStoredValue& value) {
  ASSERT_EQ(::RegSetValueExW(key, Widen(name).c_str(), 0, value.type, value.data.data(),
                             static_cast<DWORD>(value.data.size())),
            ERROR_SUCCESS)
      << name;
}

inline std::optional<TStoredValue> RawGet(HKEY key, const std::string& name) {
  DWORD type = 0, size = 0;
  if (::RegQueryValueExW(key, Widen(name).c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  TStoredValue value{type, std::vector<uint8_t>(size)};
  if (::RegQueryValueExW(key, Widen(name).c_str(), nullptr, &type, value.data.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.data.resize(size);
  return value;
}

class TRawSeeder final : public IValueSeeder {
 public:
  explicit TRawSeeder(HKEY key) : key_(key) {}
  void Put(const std::string& name, const TStoredValue& value) override { RawPut(key_, name, value); }
  std::optional<TStoredValue> Get(const std::string& name) override { return RawGet(key_, name); }

 private:
  HKEY key_;
};

class ScratchKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name) {
      if (c == '/' || c == '\\') c = '_';
    }
    path = "Software\\LumenoTest\\" + name;
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path).c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path).c_str());
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    if (key != nullptr) ::RegCloseKey(key);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path).c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path).c_str());
    EXPECT_FALSE(RawKeyExists(HKEY_CURRENT_USER, path));
  }

  // Relative to HKEY_CURRENT_USER, without a leading backslash.
  std::string path;
  HKEY key = nullptr;
};

}  // namespace lumeno::test
