// TRegistry: the Win32 registry accessor. Owns at most one open key (closed on
// root switch, on reopen and at destruction); the root handles are the
// system's predefined keys and are never closed.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "persistence/Registry.h"
#include "base/WinHandles.h"

namespace lumeno {

class TRegistry final : public IRegistry {
 public:
  // Root HKEY_CURRENT_USER, no key open, keys opened with KEY_ALL_ACCESS.
  TRegistry() = default;
  // Keys opened with the given rights instead (a read-only accessor refuses writes).
  explicit TRegistry(REGSAM access) : FAccess(access) {}

  void SetRoot(TRegLocation root) override;
  bool OpenKey(const std::string& path, bool create) override;
  bool ValueExists(const std::string& name) override;
  bool ReadInteger(const std::string& name, int32_t& value) override;
  bool ReadBinary(const std::string& name, uint8_t* buffer, size_t size, size_t& bytesRead) override;
  bool WriteInteger(const std::string& name, int32_t value) override;
  bool WriteBinary(const std::string& name, const uint8_t* data, size_t size) override;
  bool ReadString(const std::string& name, std::string& value) override;
  bool WriteString(const std::string& name, const std::string& value) override;
  bool DeleteKey(const std::string& path) override;
  void CloseKey() override;

  TRegLocation Root() const { return FRoot; }
  // The open key, or nullptr.
  HKEY CurrentKey() const { return FCurrentKey.get(); }

 private:
  HKEY RootKey() const;

  TRegLocation FRoot = TRegLocation::CurrentUser;
  REGSAM FAccess = KEY_ALL_ACCESS;
  TUniqueKey FCurrentKey;
};

// Matches TRegistryFactory: a fresh accessor on HKEY_CURRENT_USER.
std::unique_ptr<IRegistry> MakeWin32Registry();

// UTF-8 to UTF-16 for key paths, value names and text; false on invalid UTF-8
// or an embedded NUL, which the registry would silently cut short.
bool Utf8ToRegName(const std::string& text, std::wstring& out);

}  // namespace lumeno
