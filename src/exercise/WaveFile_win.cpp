#include "exercise/WaveFile_win.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/Utf16.h"
#include "base/WinHandles.h"
#include "exercise/SoundSets.h"
#include "exercise/WaveHeader.h"

namespace lumeno {

namespace {

bool OnFixedDrive(const std::wstring& path) {
  if (path.size() < 3 || path[1] != L':') return false;
  const std::wstring root = path.substr(0, 2) + L"\\";
  const UINT type = GetDriveTypeW(root.c_str());
  return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

}  // namespace

bool CanPlaySoundFile(const std::string& path) {
  std::u16string text;
  if (!IsFullPath(path) || !Utf8ToUtf16(path, text) || text.find(u'\0') != std::u16string::npos) return false;
  const std::wstring wide(text.begin(), text.end());
  if (!OnFixedDrive(wide)) return true;
  const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  TUniqueKernelHandle file(
      CreateFileW(wide.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return false;
  std::vector<uint8_t> head(static_cast<size_t>(std::min<LONGLONG>(size.QuadPart, kWaveHeadBytes)));
  DWORD read = 0;
  if (head.empty() || !ReadFile(file.get(), head.data(), static_cast<DWORD>(head.size()), &read, nullptr)) return false;
  return IsPlayableWave(head.data(), read, static_cast<uint64_t>(size.QuadPart));
}

}  // namespace lumeno
