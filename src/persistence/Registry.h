// The registry accessor both stores work through: one root, at most one open
// key, typed reads and writes that report failure instead of guessing.
// The Win32 implementation is TRegistry (Registry_win.h); tests use fakes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace lumeno {

enum class TRegLocation : uint8_t { CurrentUser = 0, LocalMachine = 1 };

class IRegistry {
 public:
  virtual ~IRegistry() = default;

  // Switches the root; closes the open key when the root changes.
  virtual void SetRoot(TRegLocation root) = 0;
  // Opens a key from the root (a leading backslash is ignored), creating it
  // when asked. Never throws; on failure nothing is open.
  virtual bool OpenKey(const std::string& path, bool create) = 0;
  virtual bool ValueExists(const std::string& name) = 0;
  // Fails unless a key is open and the value is a 4-byte REG_DWORD.
  virtual bool ReadInteger(const std::string& name, int32_t& value) = 0;
  // Returns false on error (string or DWORD type, data longer than size).
  // No open key or no such value: true with bytesRead 0 and the buffer untouched.
  virtual bool ReadBinary(const std::string& name, uint8_t* buffer, size_t size, size_t& bytesRead) = 0;
  virtual bool WriteInteger(const std::string& name, int32_t value) = 0;
  virtual bool WriteBinary(const std::string& name, const uint8_t* data, size_t size) = 0;
  // REG_SZ text as UTF-8. A read fails unless a key is open and the value is
  // a REG_SZ of valid UTF-16 (up to its first NUL) of at most kMaxStringChars
  // characters. Accessors that hold no text refuse both.
  static constexpr size_t kMaxStringChars = 32767;
  virtual bool ReadString(const std::string& name, std::string& value) {
    (void)name, (void)value;
    return false;
  }
  virtual bool WriteString(const std::string& name, const std::string& value) {
    (void)name, (void)value;
    return false;
  }
  // Deletes a key with all its subkeys and values; a missing key is no error.
  virtual bool DeleteKey(const std::string& path) = 0;
  // Closes the open key without flushing.
  virtual void CloseKey() = 0;
};

using TRegistryFactory = std::unique_ptr<IRegistry> (*)();

}  // namespace lumeno
