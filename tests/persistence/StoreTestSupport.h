// Shared by the in-memory and the Wine store tests: stored values by registry
// type, fakes for the settings dialog and the window, and the case tables that
// both run (so the fake accessor is held to what the real one does).
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "exercise/BreathingPattern.h"
#include "persistence/RegControls.h"
#include "persistence/SettingsStore.h"

namespace lumeno::test {

// Registry value types by their Win32 numbers.
enum : uint32_t {
  kTypeNone = 0,
  kTypeSz = 1,
  kTypeExpandSz = 2,
  kTypeBinary = 3,
  kTypeDword = 4,
  kTypeMultiSz = 7,
  kTypeQword = 11,
};

struct TStoredValue {
  uint32_t type = kTypeNone;
  std::vector<uint8_t> data;
  friend bool operator==(const TStoredValue&, const TStoredValue&) = default;
};

inline TStoredValue Dword(int32_t v) {
  TStoredValue s{kTypeDword, std::vector<uint8_t>(4)};
  std::memcpy(s.data.data(), &v, 4);
  return s;
}
inline TStoredValue Binary(std::vector<uint8_t> bytes) { return {kTypeBinary, std::move(bytes)}; }
inline TStoredValue Typed(uint32_t type, std::vector<uint8_t> bytes) { return {type, std::move(bytes)}; }
// UTF-16LE text with its terminator, as the registry keeps strings.
inline TStoredValue Text(uint32_t type, const std::string& ascii) {
  TStoredValue s{type, {}};
  for (char c : ascii) s.data.insert(s.data.end(), {static_cast<uint8_t>(c), 0});
  s.data.insert(s.data.end(), {0, 0});
  return s;
}

// Writes values straight into the key a test works on, bypassing the accessor.
class IValueSeeder {
 public:
  virtual ~IValueSeeder() = default;
  virtual void Put(const std::string& name, const TStoredValue& value) = 0;
  virtual std::optional<TStoredValue> Get(const std::string& name) = 0;
};

// ---------------------------------------------------------------------------
// The accessor's reading rules, one stored value at a time.

struct TAccessorCase {
  const char* label;
  std::optional<TStoredValue> stored;  // nullopt: no such value
  bool exists;
  bool integerOk;
  int32_t integer;
  // ReadBinary into a 1-byte and a 4096-byte buffer: result and bytes read.
  bool smallOk;
  size_t smallBytes;
  bool largeOk;
  size_t largeBytes;
  // ReadString: the UTF-8 text, or nothing when it fails.
  std::optional<std::string> text = std::nullopt;
};

inline std::vector<TAccessorCase> AccessorCases() {
  std::vector<uint8_t> k4096(4096);
  for (size_t i = 0; i < k4096.size(); ++i) k4096[i] = static_cast<uint8_t>(i * 7 + 3);
  return {
      {"Missing", std::nullopt, false, false, 0, true, 0, true, 0},
      {"Sz", Text(kTypeSz, "5"), true, false, 0, false, 0, false, 0, "5"},
      {"EmptySz", Text(kTypeSz, ""), true, false, 0, false, 0, false, 0, ""},
      // Up to the end without a terminator, half a character dropped.
      {"SzOddUnterminated", Typed(kTypeSz, {0x7C, 1, 0x42, 1, 'x'}), true, false, 0, false, 0, false, 0, "żł"},
      {"SzCutByNul", Typed(kTypeSz, {'a', 0, 0, 0, 'b', 0, 0, 0}), true, false, 0, false, 0, false, 0, "a"},
      {"SzLoneSurrogate", Typed(kTypeSz, {'a', 0, 0x00, 0xD8, 0, 0}), true, false, 0, false, 0, false, 0},
      {"SzTooLong", Text(kTypeSz, std::string(IRegistry::kMaxStringChars + 1, 'a')), true, false, 0, false, 0, false,
       0},
      {"ExpandSz", Text(kTypeExpandSz, "%TEMP%"), true, false, 0, false, 0, false, 0},
      {"MultiSz", Typed(kTypeMultiSz, {'a', 0, 0, 0, 0, 0}), true, false, 0, false, 0, true, 6},
      {"Dword", Dword(-123456), true, true, -123456, false, 0, false, 0},
      {"DwordMin", Dword(INT32_MIN), true, true, INT32_MIN, false, 0, false, 0},
      {"DwordMax", Dword(INT32_MAX), true, true, INT32_MAX, false, 0, false, 0},
      {"DwordOf2Bytes", Typed(kTypeDword, {1, 2}), true, false, 0, false, 0, false, 0},
      {"DwordOf8Bytes", Typed(kTypeDword, {1, 0, 0, 0, 0, 0, 0, 0}), true, false, 0, false, 0, false, 0},
      {"Qword", Typed(kTypeQword, {7, 0, 0, 0, 0, 0, 0, 0}), true, false, 0, false, 0, true, 8},
      {"Binary0", Binary({}), true, false, 0, true, 0, true, 0},
      {"Binary1", Binary({0xA5}), true, false, 0, true, 1, true, 1},
      {"Binary2", Binary({1, 0}), true, false, 0, false, 0, true, 2},
      {"Binary4", Binary({1, 0, 0, 0}), true, false, 0, false, 0, true, 4},
      {"Binary4096", Binary(k4096), true, false, 0, false, 0, true, 4096},
      {"Binary1MiB", Binary(std::vector<uint8_t>(1 << 20, 0x5A)), true, false, 0, false, 0, false, 0},
      {"None1", Typed(kTypeNone, {2}), true, false, 0, true, 1, true, 1},
  };
}

// Runs one row against an accessor whose open key holds the row's value as "V"
// (or nothing). Guard bytes around the buffers catch any overrun.
inline void CheckAccessorCase(IRegistry& registry, const TAccessorCase& c) {
  EXPECT_EQ(registry.ValueExists("V"), c.exists);
  int32_t integer = 0x5EED;
  EXPECT_EQ(registry.ReadInteger("V", integer), c.integerOk);
  EXPECT_EQ(integer, c.integerOk ? c.integer : 0x5EED);
  std::string text = "unchanged";
  EXPECT_EQ(registry.ReadString("V", text), c.text.has_value());
  EXPECT_EQ(text, c.text.value_or("unchanged"));

  uint8_t small[3] = {0xEE, 0xEE, 0xEE};
  size_t bytes = 99;
  EXPECT_EQ(registry.ReadBinary("V", small + 1, 1, bytes), c.smallOk);
  EXPECT_EQ(bytes, c.smallOk ? c.smallBytes : 0u);
  EXPECT_EQ(small[0], 0xEE);
  EXPECT_EQ(small[2], 0xEE);
  EXPECT_EQ(small[1], bytes == 1 ? c.stored->data[0] : 0xEE) << "copied only what was read";

  std::vector<uint8_t> large(4096 + 2, 0xEE);
  bytes = 99;
  EXPECT_EQ(registry.ReadBinary("V", large.data() + 1, 4096, bytes), c.largeOk);
  EXPECT_EQ(bytes, c.largeOk ? c.largeBytes : 0u);
  EXPECT_EQ(large.front(), 0xEE);
  EXPECT_EQ(large.back(), 0xEE);
  if (bytes > 0) {
    EXPECT_TRUE(std::equal(c.stored->data.begin(), c.stored->data.end(), large.begin() + 1));
  }
  EXPECT_EQ(large[1 + bytes], 0xEE);
}

// ---------------------------------------------------------------------------
// Fakes for what the stores serve.

class TFakeSettingsHost final : public ISettingsHost {
 public:
  // As the dialog is designed: default pattern, not on top, menu open, sounds on.
  TBreathingPattern pattern;
  bool stayOnTop = false;
  bool menuVisible = true;
  bool sounds = true;
  std::vector<std::string> log;

  TBreathingPattern& Pattern() override { return pattern; }
  void aktualizujWyswietlaneCyfry() override { log.push_back("refresh"); }
  bool StayOnTopChecked() const override { return stayOnTop; }
  void SetStayOnTopChecked(bool checked) override {
    stayOnTop = checked;
    log.push_back(std::string("stayOnTop ") + (checked ? "1" : "0"));
  }
  void zmianaStayOnTop() override { log.push_back(std::string("zmianaStayOnTop ") + (stayOnTop ? "1" : "0")); }
  bool MenuVisible() const override { return menuVisible; }
  void SetMenuVisible(bool visible) override {
    menuVisible = visible;
    log.push_back(std::string("menu ") + (visible ? "1" : "0"));
  }
  bool SoundsChecked() const override { return sounds; }
  void SetSoundsChecked(bool checked) override {
    sounds = checked;
    log.push_back(std::string("sounds ") + (checked ? "1" : "0"));
  }
};

class TFakeWindow final : public IPlacementWindow {
 public:
  // The main window as designed.
  int32_t left = 416, top = 115, width = 229, height = 480;
  uint8_t state = 0;
  bool handle = true;
  bool loading = false;
  TCloseQueryEvent closeQuery;
  std::vector<std::string> log;

  int32_t GetLeft() const override { return left; }
  int32_t GetTop() const override { return top; }
  int32_t GetWidth() const override { return width; }
  int32_t GetHeight() const override { return height; }
  void SetLeft(int32_t v) override {
    left = v;
    log.push_back("SetLeft " + std::to_string(v));
  }
  void SetTop(int32_t v) override {
    top = v;
    log.push_back("SetTop " + std::to_string(v));
  }
  void SetWidth(int32_t v) override {
    width = v;
    log.push_back("SetWidth " + std::to_string(v));
  }
  void SetHeight(int32_t v) override {
    height = v;
    log.push_back("SetHeight " + std::to_string(v));
  }
  uint8_t GetWindowState() const override { return state; }
  void SetWindowState(uint8_t s) override {
    state = s;
    log.push_back("SetWindowState " + std::to_string(s));
  }
  bool HandleAllocated() override { return handle; }
  void ApplyZOrder(bool topmost) override { log.push_back(std::string("ApplyZOrder ") + (topmost ? "1" : "0")); }
  bool Loading() const override { return loading; }
  int32_t GetDpi() const override { return dpi; }
  TCloseQueryEvent& OnCloseQuery() override { return closeQuery; }
  int32_t dpi = 96;
};

// ---------------------------------------------------------------------------
// Bad input: each stored value in turn missing, of the wrong type, longer than
// expected, or an edge number, against an otherwise sound key.

enum class TMutation { Missing, WrongType, TooLong, Zero, Negative, Min, Max };

inline const char* MutationName(TMutation m) {
  switch (m) {
    case TMutation::Missing: return "Missing";
    case TMutation::WrongType: return "WrongType";
    case TMutation::TooLong: return "TooLong";
    case TMutation::Zero: return "Zero";
    case TMutation::Negative: return "Negative";
    case TMutation::Min: return "Min";
    case TMutation::Max: return "Max";
  }
  return "?";
}
inline constexpr TMutation kAllMutations[] = {TMutation::Missing,  TMutation::WrongType, TMutation::TooLong,
                                              TMutation::Zero,     TMutation::Negative,  TMutation::Min,
                                              TMutation::Max};

// One stored value mutated at a time: every (value index, mutation) pair.
struct TMutationCase {
  int mutated;
  TMutation mutation;
};
inline std::vector<TMutationCase> MutationCases(int valueCount) {
  std::vector<TMutationCase> cases;
  for (int i = 0; i < valueCount; ++i) {
    for (TMutation m : kAllMutations) cases.push_back({i, m});
  }
  return cases;
}
// "Breath In" + TooLong -> "BreathInTooLong".
inline std::string MutationCaseName(const std::vector<std::string>& names, const TMutationCase& c) {
  std::string name;
  for (char ch : names[c.mutated]) {
    if (ch != ' ') name += ch;
  }
  return name + MutationName(c.mutation);
}

inline std::optional<int32_t> MutatedNumber(TMutation m) {
  switch (m) {
    case TMutation::Zero: return 0;
    case TMutation::Negative: return -25;
    case TMutation::Min: return INT32_MIN;
    case TMutation::Max: return INT32_MAX;
    default: return std::nullopt;
  }
}

// The stored form of a REG_DWORD value under a mutation (nullopt: missing).
inline std::optional<TStoredValue> MutatedDword(TMutation m) {
  if (m == TMutation::Missing) return std::nullopt;
  if (m == TMutation::WrongType) return Text(kTypeSz, "12");
  if (m == TMutation::TooLong) return Typed(kTypeDword, {12, 0, 0, 0, 0, 0, 0, 0});
  return Dword(*MutatedNumber(m));
}

// --- settings ---

// In the order a load reads them.
inline const std::vector<std::string>& SettingsReadOrder() {
  static const std::vector<std::string> names = {"Breath In",   "Breath Out", "Hold In",      "Hold Out",
                                                 "Stay on top", "Menu open",  "Enable sounds"};
  return names;
}
inline constexpr int32_t kStoredSettings[] = {40, 70, 7, 9, 1, 0, 0};
inline constexpr int32_t kDefaultSettings[] = {30, 60, 5, 5, 0, 1, 1};

inline void SeedSettings(IValueSeeder& seeder, int mutated, TMutation m) {
  for (int i = 0; i < 7; ++i) {
    const std::string& name = SettingsReadOrder()[i];
    if (i != mutated) {
      seeder.Put(name, Dword(kStoredSettings[i]));
    } else if (auto v = MutatedDword(m)) {
      seeder.Put(name, *v);
    }
  }
}

struct TSettingsExpectation {
  TBreathingPattern pattern;
  bool stayOnTop = false, menuVisible = true, sounds = true;
  bool refreshed = false;
  bool stayOnTopApplied = false;
  // The seven values after the load, in read order; nullopt: as seeded.
  std::optional<std::vector<int32_t>> rewritten;
};

// What a load of the seeded key must leave behind, starting from a host as designed.
inline TSettingsExpectation ExpectSettings(int mutated, TMutation m) {
  TSettingsExpectation e;
  if (m == TMutation::Missing) {
    e.refreshed = true;
    e.rewritten = std::vector<int32_t>(std::begin(kDefaultSettings), std::end(kDefaultSettings));
    return e;
  }
  const std::optional<int32_t> number = MutatedNumber(m);
  // Reads stop at the first value that is not a 4-byte REG_DWORD.
  const int readable = number ? 7 : mutated;
  auto valueAt = [&](int i) { return i == mutated ? *number : kStoredSettings[i]; };
  int32_t* phases[] = {&e.pattern.FBreathIn, &e.pattern.FBreathOut, &e.pattern.FHoldIn, &e.pattern.FHoldOut};
  for (int i = 0; i < 4 && i < readable; ++i) *phases[i] = valueAt(i);
  if (readable >= 4) {
    e.pattern.przeliczCykl();
    e.refreshed = true;
  }
  if (readable > 4) {
    e.stayOnTop = valueAt(4) != 0;
    e.stayOnTopApplied = true;
  }
  if (readable > 5) e.menuVisible = valueAt(5) != 0;
  if (readable > 6) e.sounds = valueAt(6) != 0;
  return e;
}

inline void ExpectHostMatches(const TFakeSettingsHost& host, const TSettingsExpectation& e) {
  EXPECT_EQ(host.pattern, e.pattern);
  EXPECT_EQ(host.stayOnTop, e.stayOnTop);
  EXPECT_EQ(host.menuVisible, e.menuVisible);
  EXPECT_EQ(host.sounds, e.sounds);
  EXPECT_EQ(!host.log.empty() && host.log[0] == "refresh", e.refreshed);
  const std::string applied = std::string("zmianaStayOnTop ") + (e.stayOnTop ? "1" : "0");
  EXPECT_EQ(std::count(host.log.begin(), host.log.end(), applied), e.stayOnTopApplied ? 1 : 0);
}

// --- placement ---

inline const std::vector<std::string>& PlacementReadOrder() {
  static const std::vector<std::string> names = {"RCWindowState", "RCLeft", "RCTop", "RCWidth", "RCHeight", "ZOrder"};
  return names;
}
// Minimised, so that applying the state shows against the designed normal one.
inline constexpr int32_t kStoredPlacement[] = {1, 100, 50, 300, 400, 1};

inline std::optional<TStoredValue> MutatedState(TMutation m) {
  switch (m) {
    case TMutation::Missing: return std::nullopt;
    case TMutation::WrongType: return Dword(1);
    case TMutation::TooLong: return Binary({1, 0});
    case TMutation::Zero: return Binary({0});
    case TMutation::Negative: return Binary({0xFF});
    case TMutation::Min: return Binary({0x80});
    case TMutation::Max: return Binary({0x7F});
  }
  return std::nullopt;
}

inline void SeedPlacement(IValueSeeder& seeder, int mutated, TMutation m) {
  for (int i = 0; i < 6; ++i) {
    const std::string& name = PlacementReadOrder()[i];
    std::optional<TStoredValue> v;
    if (i != mutated) {
      v = i == 0 ? Binary({static_cast<uint8_t>(kStoredPlacement[0])}) : Dword(kStoredPlacement[i]);
    } else {
      v = i == 0 ? MutatedState(m) : MutatedDword(m);
    }
    if (v) seeder.Put(name, *v);
  }
}

// The calls a load must make on a designed window (TFakeWindow's log).
inline std::vector<std::string> ExpectPlacementCalls(int mutated, TMutation m) {
  std::vector<std::string> calls;
  const bool fails = m == TMutation::WrongType || m == TMutation::TooLong;
  if (mutated == 0) {
    if (fails) return calls;
    // Any stored state but 0..2 counts as normal; none stored keeps the designed one.
    if (m != TMutation::Missing) calls.push_back("SetWindowState 0");
  } else {
    calls.push_back("SetWindowState 1");
  }
  const char* setters[] = {"SetLeft ", "SetTop ", "SetWidth ", "SetHeight "};
  for (int i = 1; i <= 4; ++i) {
    if (i == mutated && !MutatedNumber(m)) return calls;
    calls.push_back(setters[i - 1] + std::to_string(i == mutated ? *MutatedNumber(m) : kStoredPlacement[i]));
  }
  if (mutated == 5 && !MutatedNumber(m)) return calls;
  const int32_t z = mutated == 5 ? *MutatedNumber(m) : kStoredPlacement[5];
  if ((static_cast<uint32_t>(z) & 0xFFu) != 0) calls.push_back("ApplyZOrder 1");
  return calls;
}

}  // namespace lumeno::test
