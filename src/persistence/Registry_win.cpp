#include "persistence/Registry_win.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "base/Utf16.h"

namespace lumeno {

namespace {

// Registry key names are at most 255 characters.
constexpr DWORD kMaxKeyNameChars = 256;

bool IsTextOrDword(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_DWORD; }

std::string StripLeadingBackslash(const std::string& path) {
  return !path.empty() && path.front() == '\\' ? path.substr(1) : path;
}

// Deletes parent\name with everything below it, children first, enumerated
// from the last to the first so the indices stay valid while we delete.
bool DeleteTree(HKEY parent, const std::wstring& name, REGSAM access) {
  HKEY raw = nullptr;
  LONG rc = ::RegOpenKeyExW(parent, name.c_str(), 0, access, &raw);
  if (rc == ERROR_FILE_NOT_FOUND) return true;
  if (rc != ERROR_SUCCESS) return false;
  bool ok = true;
  {
    TUniqueKey key(raw);
    DWORD subKeys = 0;
    if (::RegQueryInfoKeyW(key.get(), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr, nullptr,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    for (DWORD i = subKeys; i-- > 0;) {
      wchar_t child[kMaxKeyNameChars + 1];
      DWORD length = kMaxKeyNameChars + 1;
      rc = ::RegEnumKeyExW(key.get(), i, child, &length, nullptr, nullptr, nullptr, nullptr);
      if (rc == ERROR_SUCCESS) {
        ok = DeleteTree(key.get(), std::wstring(child, length), access) && ok;
      } else if (rc != ERROR_NO_MORE_ITEMS) {
        ok = false;
      }
    }
  }
  rc = ::RegDeleteKeyW(parent, name.c_str());
  return ok && (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND);
}

}  // namespace

bool Utf8ToRegName(const std::string& text, std::wstring& out) {
  out.clear();
  if (text.empty()) return true;
  if (text.find('\0') != std::string::npos || text.size() > static_cast<size_t>(INT_MAX)) return false;
  const int length = static_cast<int>(text.size());
  const int needed = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (needed <= 0) return false;
  out.resize(static_cast<size_t>(needed));
  if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, out.data(), needed) != needed) {
    out.clear();
    return false;
  }
  return true;
}

HKEY TRegistry::RootKey() const {
  return FRoot == TRegLocation::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

void TRegistry::SetRoot(TRegLocation root) {
  if (root == FRoot) return;
  CloseKey();
  FRoot = root;
}

bool TRegistry::OpenKey(const std::string& path, bool create) {
  // A failed open must not leave an older key open for the writes that follow.
  CloseKey();
  std::wstring subKey;
  if (!Utf8ToRegName(StripLeadingBackslash(path), subKey)) return false;
  HKEY raw = nullptr;
  LONG rc;
  if (create) {
    rc = ::RegCreateKeyExW(RootKey(), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, FAccess, nullptr, &raw,
                           nullptr);
  } else {
    rc = ::RegOpenKeyExW(RootKey(), subKey.c_str(), 0, FAccess, &raw);
  }
  if (rc != ERROR_SUCCESS) return false;
  FCurrentKey.reset(raw);
  return true;
}

bool TRegistry::ValueExists(const std::string& name) {
  std::wstring wide;
  if (!FCurrentKey || !Utf8ToRegName(name, wide)) return false;
  return ::RegQueryValueExW(FCurrentKey.get(), wide.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool TRegistry::ReadInteger(const std::string& name, int32_t& value) {
  std::wstring wide;
  if (!FCurrentKey || !Utf8ToRegName(name, wide)) return false;
  // A 4-byte buffer: longer data comes back as ERROR_MORE_DATA, never overruns.
  DWORD type = REG_NONE;
  DWORD data = 0;
  DWORD size = sizeof(data);
  const LONG rc =
      ::RegQueryValueExW(FCurrentKey.get(), wide.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
  if (rc != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(data)) return false;
  value = static_cast<int32_t>(data);
  return true;
}

bool TRegistry::ReadBinary(const std::string& name, uint8_t* buffer, size_t size, size_t& bytesRead) {
  bytesRead = 0;
  if (!FCurrentKey) return true;
  std::wstring wide;
  if (!Utf8ToRegName(name, wide)) return false;
  DWORD type = REG_NONE;
  DWORD stored = 0;
  LONG rc = ::RegQueryValueExW(FCurrentKey.get(), wide.c_str(), nullptr, &type, nullptr, &stored);
  if (rc == ERROR_FILE_NOT_FOUND) return true;
  if (rc != ERROR_SUCCESS || IsTextOrDword(type) || stored > size) return false;
  if (stored == 0) return true;
  if (buffer == nullptr) return false;
  // The value may have changed since the size query; the buffer's own size
  // bounds the copy either way.
  DWORD copied = static_cast<DWORD>(std::min<size_t>(size, MAXDWORD));
  rc = ::RegQueryValueExW(FCurrentKey.get(), wide.c_str(), nullptr, &type, buffer, &copied);
  if (rc != ERROR_SUCCESS || IsTextOrDword(type)) return false;
  bytesRead = copied;
  return true;
}

bool TRegistry::WriteInteger(const std::string& name, int32_t value) {
  std::wstring wide;
  if (!FCurrentKey || !Utf8ToRegName(name, wide)) return false;
  const DWORD data = static_cast<DWORD>(value);
  return ::RegSetValueExW(FCurrentKey.get(), wide.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof(data)) == ERROR_SUCCESS;
}

bool TRegistry::WriteBinary(const std::string& name, const uint8_t* data, size_t size) {
  std::wstring wide;
  if (!FCurrentKey || !Utf8ToRegName(name, wide)) return false;
  if (size > MAXDWORD || (data == nullptr && size != 0)) return false;
  return ::RegSetValueExW(FCurrentKey.get(), wide.c_str(), 0, REG_BINARY, data, static_cast<DWORD>(size)) ==
         ERROR_SUCCESS;
}

bool TRegistry::ReadString(const std::string& name, std::string& value) {
  std::wstring wide;
  if (!FCurrentKey || !Utf8ToRegName(name, wide)) return false;
  DWORD type = REG_NONE;
  DWORD stored = 0;
  LONG rc = ::RegQueryValueExW(FCurrentKey.get(), wide.c_str(), nullptr, &type, nullptr, &stored);
  if (rc != ERROR_SUCCESS || type != REG_SZ || stored > (kMaxStringChars + 1) * sizeof(wchar_t)) return false;
  // Room for the stored bytes and a spare character: the stored text need
  // not end in a NUL, and an odd byte count leaves half a character, which is
  // dropped.
  std::vector<wchar_t> text((stored + 1) / sizeof(wchar_t) + 1, L'\0');
  DWORD size = stored;
  rc = ::RegQueryValueExW(FCurrentKey.get(), wide.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
  if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
  const size_t chars = std::min<size_t>(size / sizeof(wchar_t), text.size() - 1);
  size_t length = 0;
  while (length < chars && text[length] != L'\0') ++length;
  const std::u16string utf16(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
  std::string utf8;
  if (length > kMaxStringChars || !Utf16ToUtf8(utf16, utf8)) return false;
  value = std::move(utf8);
  return true;
}

bool TRegistry::WriteString(const std::string& name, const std::string& value) {
  std::wstring wide, data;
  if (!FCurrentKey || !Utf8ToRegName(name, wide) || !Utf8ToRegName(value, data)) return false;
  if (data.size() > kMaxStringChars) return false;
  const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
  return ::RegSetValueExW(FCurrentKey.get(), wide.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                          bytes) == ERROR_SUCCESS;
}

bool TRegistry::DeleteKey(const std::string& path) {
  std::wstring subKey;
  if (!Utf8ToRegName(StripLeadingBackslash(path), subKey)) return false;
  // An empty path names the root itself: deleting "everything under
  // HKEY_CURRENT_USER" is never what a caller means.
  if (subKey.find_first_not_of(L'\\') == std::wstring::npos) return false;
  return DeleteTree(RootKey(), subKey, FAccess);
}

void TRegistry::CloseKey() { FCurrentKey.reset(); }

std::unique_ptr<IRegistry> MakeWin32Registry() { return std::make_unique<TRegistry>(); }

}  // namespace lumeno
