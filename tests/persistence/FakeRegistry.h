// An in-memory registry for the store tests: two roots of keys holding typed
// values, a log of every accessor call in order, and refusals injected by
// call (the n-th call, or the first call whose log line starts with a prefix).
#pragma once

#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/Utf16.h"
#include "persistence/Registry.h"
#include "persistence/StoreTestSupport.h"

namespace lumeno::test {

struct TFakeHive {
  // keys[root][path] = values; paths have no leading backslash.
  std::map<std::string, std::map<std::string, TStoredValue>> keys[2];
  std::vector<std::string> log;
  int calls = 0;
  // 1-based number of the call to refuse; 0 refuses none.
  int failAtCall = 0;
  std::string failPrefix;
  int accessorsCreated = 0;

  void Reset() { *this = TFakeHive(); }
  std::map<std::string, TStoredValue>& Key(TRegLocation root, const std::string& path) {
    return keys[static_cast<int>(root)][path];
  }
  bool HasKey(TRegLocation root, const std::string& path) const {
    return keys[static_cast<int>(root)].count(path) != 0;
  }
  // Records a call and says whether it is the one to refuse.
  bool Refuse(const std::string& line) {
    log.push_back(line);
    ++calls;
    if (failAtCall != 0 && calls == failAtCall) return true;
    return !failPrefix.empty() && line.compare(0, failPrefix.size(), failPrefix) == 0;
  }
};

// The hive every TFakeRegistry works on (the factory is a plain function).
inline TFakeHive& Hive() {
  static TFakeHive hive;
  return hive;
}

inline std::string RootName(TRegLocation root) { return root == TRegLocation::LocalMachine ? "HKLM" : "HKCU"; }

class TFakeRegistry final : public IRegistry {
 public:
  void SetRoot(TRegLocation root) override {
    Hive().Refuse("SetRoot " + RootName(root));
    if (root == root_) return;
    open_ = false;
    root_ = root;
  }
  bool OpenKey(const std::string& path, bool create) override {
    const std::string key = Strip(path);
    open_ = false;
    if (Hive().Refuse("OpenKey " + key + (create ? " create" : ""))) return false;
    if (!create && !Hive().HasKey(root_, key)) return false;
    if (create) {
      // Like the real registry: the parents come into being too.
      for (size_t at = key.find('\\'); at != std::string::npos; at = key.find('\\', at + 1)) {
        Hive().Key(root_, key.substr(0, at));
      }
      Hive().Key(root_, key);
    }
    open_ = true;
    path_ = key;
    return true;
  }
  bool ValueExists(const std::string& name) override {
    if (Hive().Refuse("ValueExists " + name) || !open_) return false;
    return Values().count(name) != 0;
  }
  bool ReadInteger(const std::string& name, int32_t& value) override {
    if (Hive().Refuse("ReadInteger " + name) || !open_) return false;
    auto it = Values().find(name);
    if (it == Values().end() || it->second.type != kTypeDword || it->second.data.size() != 4) return false;
    std::memcpy(&value, it->second.data.data(), 4);
    return true;
  }
  bool ReadBinary(const std::string& name, uint8_t* buffer, size_t size, size_t& bytesRead) override {
    bytesRead = 0;
    if (Hive().Refuse("ReadBinary " + name)) return false;
    if (!open_) return true;
    auto it = Values().find(name);
    if (it == Values().end()) return true;
    const TStoredValue& v = it->second;
    if (v.type == kTypeSz || v.type == kTypeExpandSz || v.type == kTypeDword || v.data.size() > size) return false;
    if (!v.data.empty()) std::memcpy(buffer, v.data.data(), v.data.size());
    bytesRead = v.data.size();
    return true;
  }
  bool WriteInteger(const std::string& name, int32_t value) override {
    if (Hive().Refuse("WriteInteger " + name + " " + std::to_string(value)) || !open_) return false;
    Values()[name] = Dword(value);
    return true;
  }
  bool WriteBinary(const std::string& name, const uint8_t* data, size_t size) override {
    std::string hex;
    for (size_t i = 0; i < size; ++i) hex += " " + std::to_string(data[i]);
    if (Hive().Refuse("WriteBinary " + name + hex) || !open_) return false;
    Values()[name] = Binary(std::vector<uint8_t>(data, data + size));
    return true;
  }
  // Text is kept as the registry keeps it: UTF-16LE with its terminator.
  bool ReadString(const std::string& name, std::string& value) override {
    if (Hive().Refuse("ReadString " + name) || !open_) return false;
    auto it = Values().find(name);
    if (it == Values().end() || it->second.type != kTypeSz) return false;
    const std::vector<uint8_t>& d = it->second.data;
    std::u16string text;
    for (size_t i = 0; i + 1 < d.size() && (d[i] | d[i + 1]) != 0; i += 2)
      text.push_back(static_cast<char16_t>(d[i] | (d[i + 1] << 8)));
    std::string utf8;
    if (text.size() > kMaxStringChars || !Utf16ToUtf8(text, utf8)) return false;
    value = utf8;
    return true;
  }
  bool WriteString(const std::string& name, const std::string& value) override {
    std::u16string text;
    if (Hive().Refuse("WriteString " + name + " " + value) || !open_ || !Utf8ToUtf16(value + '\0', text)) return false;
    TStoredValue& stored = Values()[name] = {kTypeSz, {}};
    for (char16_t c : text) stored.data.insert(stored.data.end(), {uint8_t(c & 0xFF), uint8_t(c >> 8)});
    return true;
  }
  bool DeleteKey(const std::string& path) override {
    const std::string key = Strip(path);
    if (Hive().Refuse("DeleteKey " + RootName(root_) + " " + key)) return false;
    if (key.find_first_not_of('\\') == std::string::npos) return false;
    auto& keys = Hive().keys[static_cast<int>(root_)];
    for (auto it = keys.begin(); it != keys.end();) {
      const bool below = it->first.size() > key.size() && it->first.compare(0, key.size(), key) == 0 &&
                         it->first[key.size()] == '\\';
      it = (it->first == key || below) ? keys.erase(it) : std::next(it);
    }
    if (open_ && !Hive().HasKey(root_, path_)) open_ = false;
    return true;
  }
  void CloseKey() override {
    Hive().Refuse("CloseKey");
    open_ = false;
  }

 private:
  static std::string Strip(const std::string& path) {
    return !path.empty() && path.front() == '\\' ? path.substr(1) : path;
  }
  std::map<std::string, TStoredValue>& Values() { return Hive().Key(root_, path_); }

  TRegLocation root_ = TRegLocation::CurrentUser;
  bool open_ = false;
  std::string path_;
};

// Puts values straight into one key of the hive.
class TFakeSeeder final : public IValueSeeder {
 public:
  explicit TFakeSeeder(std::string path, TRegLocation root = TRegLocation::CurrentUser)
      : path_(std::move(path)), root_(root) {}
  void Put(const std::string& name, const TStoredValue& value) override { Hive().Key(root_, path_)[name] = value; }
  std::optional<TStoredValue> Get(const std::string& name) override {
    if (!Hive().HasKey(root_, path_)) return std::nullopt;
    const auto& values = Hive().Key(root_, path_);
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::string path_;
  TRegLocation root_;
};

inline std::unique_ptr<IRegistry> MakeFakeRegistry() {
  ++Hive().accessorsCreated;
  return std::make_unique<TFakeRegistry>();
}

}  // namespace lumeno::test
