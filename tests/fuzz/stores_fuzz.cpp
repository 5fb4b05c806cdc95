// The settings load and the placement load over a fuzzed key: each of the
// fourteen values present or missing, of any type, any size, any bytes, and
// the key itself possibly missing. Neither load may crash; each must ask the
// accessor exactly the calls the loading rules call for, stopping at the first
// value that cannot be read, and apply exactly what it read. The stored data
// are heap blocks of exactly their size, so a read past one is a sanitizer
// report.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/DpiScale.h"
#include "persistence/FakeRegistry.h"
#include "persistence/RegControls.h"
#include "persistence/SettingsStore.h"
#include "persistence/StoreTestSupport.h"

namespace {

using namespace lumeno;
using namespace lumeno::test;

const char* const kPath = "Software\\Quorvale\\Lumeno";
const char* const kSettingsRead[] = {"Breath In",   "Breath Out", "Hold In",      "Hold Out",
                                     "Stay on top", "Menu open",  "Enable sounds"};
const char* const kSettingsExist[] = {"Menu open", "Enable sounds", "Breath In", "Breath Out",
                                      "Hold In",   "Hold Out",      "Stay on top"};
const char* const kPlacement[] = {"RCWindowState", "RCLeft", "RCTop", "RCWidth", "RCHeight", "ZOrder"};

void Expect(const std::vector<std::string>& got, const std::vector<std::string>& want, const char* what) {
  if (got == want) return;
  std::fprintf(stderr, "%s: got %zu calls, expected %zu\n", what, got.size(), want.size());
  for (size_t i = 0; i < got.size() || i < want.size(); ++i) {
    std::fprintf(stderr, "  %-40s | %s\n", i < got.size() ? got[i].c_str() : "-", i < want.size() ? want[i].c_str() : "-");
  }
  std::abort();
}

const TStoredValue* Stored(const std::map<std::string, TStoredValue>* key, const std::string& name) {
  if (key == nullptr) return nullptr;
  auto it = key->find(name);
  return it == key->end() ? nullptr : &it->second;
}

// A 4-byte REG_DWORD reads as an integer; nothing else does.
bool ReadsAsInteger(const TStoredValue* v, int32_t& value) {
  if (v == nullptr || v->type != kTypeDword || v->data.size() != 4) return false;
  std::memcpy(&value, v->data.data(), 4);
  return true;
}

std::string Flag(const char* what, bool on) { return std::string(what) + (on ? " 1" : " 0"); }

void CheckPlacementLoad(const std::map<std::string, TStoredValue>* key) {
  TFakeWindow window;
  TRegForm form(window, MakeFakeRegistry);
  form.SetRegKey(kLumenoKey);
  Hive().log.clear();
  form.LoadPlacement();

  std::vector<std::string> calls = {"SetRoot HKCU", std::string("OpenKey ") + kPath, "ReadBinary RCWindowState"};
  std::vector<std::string> applied;
  [&] {
    const TStoredValue* state = Stored(key, kPlacement[0]);
    if (state != nullptr) {
      // Strings and integers do not read as binary, nor anything over one byte.
      if (state->type == kTypeSz || state->type == kTypeExpandSz || state->type == kTypeDword ||
          state->data.size() > 1) {
        return;
      }
      if (state->data.size() == 1) {
        const uint8_t s = state->data[0] > 2 ? 0 : state->data[0];
        applied.push_back("SetWindowState " + std::to_string(s));
        if (s == 2) return;  // maximised: the designed bounds stay
      }
    }
    const char* setters[] = {"SetLeft ", "SetTop ", "SetWidth ", "SetHeight "};
    int32_t dpi = 0;  // the size's, read after the top-left whatever it holds
    for (int i = 1; i <= 5; ++i) {
      if (i == 3) calls.push_back("ReadInteger RCDpi");
      if (i == 3 && (!ReadsAsInteger(Stored(key, "RCDpi"), dpi) || dpi < 48 || dpi > 960)) dpi = 0;
      calls.push_back(std::string("ReadInteger ") + kPlacement[i]);
      int32_t value = 0;
      if (!ReadsAsInteger(Stored(key, kPlacement[i]), value)) return;
      if ((i == 3 || i == 4) && dpi != 0) value = ScaleBetweenDpi(value, dpi, window.dpi);
      if (i < 5) {
        applied.push_back(setters[i - 1] + std::to_string(value));
      } else if ((static_cast<uint32_t>(value) & 0xFFu) != 0) {
        applied.push_back("ApplyZOrder 1");
      }
    }
  }();
  calls.push_back("CloseKey");
  Expect(Hive().log, calls, "placement load, accessor calls");
  Expect(window.log, applied, "placement load, window calls");
}

void CheckSettingsLoad() {
  const bool keyExisted = Hive().HasKey(TRegLocation::CurrentUser, kPath);
  const std::map<std::string, TStoredValue> before =
      keyExisted ? Hive().Key(TRegLocation::CurrentUser, kPath) : std::map<std::string, TStoredValue>{};
  TFakeRegistry registry;
  TFakeSettingsHost host;
  Hive().log.clear();
  wczytajRejestr(registry, host);

  std::vector<std::string> calls = {"SetRoot HKCU", std::string("OpenKey ") + kPath + " create"};
  std::vector<std::string> applied;
  TBreathingPattern pattern;  // the dialog's as designed
  bool complete = true;
  for (const char* name : kSettingsExist) {
    calls.push_back(std::string("ValueExists ") + name);
    if (Stored(&before, name) == nullptr) {
      complete = false;
      break;
    }
  }
  if (!complete) {
    // Defaults, saved together with the flags as they stand.
    pattern.ApplyDefaults();
    applied.push_back("refresh");
    calls.insert(calls.end(), {"SetRoot HKCU", std::string("OpenKey ") + kPath + " create"});
    const int32_t written[] = {30, 60, 5, 5, 0, 1, 1};
    for (int i = 0; i < 7; ++i) {
      calls.push_back(std::string("WriteInteger ") + kSettingsRead[i] + " " + std::to_string(written[i]));
    }
    calls.push_back("CloseKey");
  } else {
    int32_t* phases[] = {&pattern.FBreathIn, &pattern.FBreathOut, &pattern.FHoldIn, &pattern.FHoldOut};
    const char* flags[] = {"stayOnTop", "menu", "sounds"};
    for (int i = 0; i < 7; ++i) {
      calls.push_back(std::string("ReadInteger ") + kSettingsRead[i]);
      int32_t value = 0;
      if (!ReadsAsInteger(Stored(&before, kSettingsRead[i]), value)) break;
      if (i < 4) *phases[i] = value;
      if (i == 3) {
        pattern.przeliczCykl();
        applied.push_back("refresh");
      }
      if (i >= 4) applied.push_back(Flag(flags[i - 4], value != 0));
      if (i == 4) applied.push_back(Flag("zmianaStayOnTop", value != 0));
    }
  }
  calls.push_back("CloseKey");
  Expect(Hive().log, calls, "settings load, accessor calls");
  Expect(host.log, applied, "settings load, dialog calls");
  if (!(host.pattern == pattern)) {
    std::fprintf(stderr, "settings load: pattern %d/%d/%d/%d, expected %d/%d/%d/%d\n", host.pattern.FBreathIn,
                 host.pattern.FBreathOut, host.pattern.FHoldIn, host.pattern.FHoldOut, pattern.FBreathIn,
                 pattern.FBreathOut, pattern.FHoldIn, pattern.FHoldOut);
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  Hive().Reset();
  const bool keyPresent = in.ConsumeBool();
  if (keyPresent) {
    auto& key = Hive().Key(TRegLocation::CurrentUser, kPath);
    // The fourteen values and one that neither store reads.
    static const char* const kNames[] = {"Breath In",    "Breath Out", "Hold In",  "Hold Out",  "Stay on top",
                                         "Menu open",    "Enable sounds", "RCLeft", "RCTop",    "RCWidth",
                                         "RCHeight",     "RCWindowState", "ZOrder", "RCDpi",  "RCLeft2"};
    // Mostly the types the stores meet, sometimes any number at all.
    static const uint32_t kTypes[] = {kTypeDword, kTypeBinary, kTypeSz, kTypeExpandSz, kTypeNone, kTypeMultiSz,
                                      kTypeQword};
    for (const char* name : kNames) {
      if (!in.ConsumeBool()) continue;
      const uint8_t kind = in.ConsumeIntegral<uint8_t>();
      const uint32_t type = kind < 7 * 32 ? kTypes[kind % 7] : in.ConsumeIntegral<uint32_t>();
      const size_t length = in.ConsumeIntegralInRange<size_t>(0, (kind & 1) != 0 ? 8 : 300);
      const std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(length);
      // Built from a copy so that capacity equals size: an overread lands in the redzone.
      key[name] = TStoredValue{type, std::vector<uint8_t>(bytes.begin(), bytes.end())};
    }
  }
  CheckPlacementLoad(keyPresent ? &Hive().Key(TRegLocation::CurrentUser, kPath) : nullptr);
  CheckSettingsLoad();
  return 0;
}
