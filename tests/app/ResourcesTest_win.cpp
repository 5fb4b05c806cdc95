// What the built lumeno.exe carries (version record, manifest, icon) and the
// sounds that ship beside it, read the way Windows reads them.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "resource.h"
#include "windows/LumenoTexts.h"

namespace lumeno {
namespace {

std::string BinFile(const char* name) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path = self;
  return path.substr(0, path.find_last_of("\\/") + 1) + name;
}

class LumenoExeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = BinFile("lumeno.exe");
    ASSERT_NE(GetFileAttributesA(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "build lumeno first: " << path_;
  }
  std::string path_;
};

TEST_F(LumenoExeTest, VersionRecordSays1_0_1_2) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeA(path_.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> record(size);
  ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), handle, size, record.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(record.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, 52u);
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0x00010002u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwProductVersionLS, 0x00010002u);

  struct TEntry {
    const wchar_t* name;
    std::wstring value;
  };
  const TEntry entries[] = {
      {L"CompanyName", L"Quorvale"},
      {L"FileDescription", L"Lumeno breathing-pace trainer"},
      {L"FileVersion", L"1.0.1.2"},
      {L"ProductName", L"Lumeno"},
      {L"OriginalFilename", L"lumeno.exe"},
      {L"LegalCopyright", L"© 2026 Quorvale. All rights reserved."},
  };
  for (const TEntry& entry : entries) {
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + entry.name;
    wchar_t* value = nullptr;
    UINT chars = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), key.c_str(), reinterpret_cast<void**>(&value), &chars))
        << "missing " << std::string(key.begin(), key.end());
    EXPECT_EQ(std::wstring(value), entry.value);
  }
}

// The executable as a resource container only.
class TResourceModule {
 public:
  explicit TResourceModule(const std::string& path)
      : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
  ~TResourceModule() {
    if (module_) FreeLibrary(module_);
  }
  HMODULE get() const { return module_; }

  std::string Data(LPCWSTR type, LPCWSTR name) const {
    HRSRC found = FindResourceW(module_, name, type);
    if (!found) return std::string();
    HGLOBAL loaded = LoadResource(module_, found);
    const char* bytes = static_cast<const char*>(LockResource(loaded));
    return bytes ? std::string(bytes, SizeofResource(module_, found)) : std::string();
  }

 private:
  HMODULE module_;
};

TEST_F(LumenoExeTest, ManifestAsksForCommonControls6AsInvoker) {
  TResourceModule exe(path_);
  ASSERT_NE(exe.get(), nullptr);
  const std::string manifest = exe.Data(RT_MANIFEST, MAKEINTRESOURCEW(1));
  ASSERT_FALSE(manifest.empty());
  EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
  EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
  std::size_t systems = 0;
  for (std::size_t at = manifest.find("supportedOS"); at != std::string::npos; at = manifest.find("supportedOS", at + 1))
    ++systems;
  EXPECT_EQ(systems, 5u) << "Vista, 7, 8, 8.1 and 10/11";
}

TEST_F(LumenoExeTest, ManifestDeclaresPerMonitorDpiAwarenessWithFallbacks) {
  TResourceModule exe(path_);
  ASSERT_NE(exe.get(), nullptr);
  const std::string manifest = exe.Data(RT_MANIFEST, MAKEINTRESOURCEW(1));
  // Unaware, the system would stretch the window's bitmap and blur it.
  EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                          "PerMonitorV2, PerMonitor</dpiAwareness>"),
            std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"),
            std::string::npos);
}

// The DLL names in a PE file's import directory, lower-cased.
std::vector<std::string> ImportedDlls(const std::string& path) {
  std::vector<std::string> names;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return names;
  std::string file;
  char chunk[65536];
  for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, f)) > 0;) file.append(chunk, n);
  std::fclose(f);
  auto at = [&file](size_t offset, size_t size) { return offset <= file.size() && size <= file.size() - offset; };
  IMAGE_DOS_HEADER dos{};
  if (!at(0, sizeof dos)) return names;
  memcpy(&dos, file.data(), sizeof dos);
  IMAGE_NT_HEADERS64 nt{};
  if (dos.e_lfanew < 0 || !at(static_cast<size_t>(dos.e_lfanew), sizeof nt)) return names;
  memcpy(&nt, file.data() + dos.e_lfanew, sizeof nt);
  const size_t sections = static_cast<size_t>(dos.e_lfanew) + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                          nt.FileHeader.SizeOfOptionalHeader;
  // A relative virtual address as an offset into the file.
  auto fileOffset = [&](DWORD rva) -> size_t {
    for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
      IMAGE_SECTION_HEADER sh{};
      if (!at(sections + i * sizeof sh, sizeof sh)) break;
      memcpy(&sh, file.data() + sections + i * sizeof sh, sizeof sh);
      if (rva >= sh.VirtualAddress && rva < sh.VirtualAddress + sh.SizeOfRawData)
        return sh.PointerToRawData + (rva - sh.VirtualAddress);
    }
    return file.size();
  };
  size_t entry = fileOffset(nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
  for (IMAGE_IMPORT_DESCRIPTOR d{}; at(entry, sizeof d); entry += sizeof d) {
    memcpy(&d, file.data() + entry, sizeof d);
    if (!d.Name) break;
    std::string name = file.c_str() + std::min(fileOffset(d.Name), file.size());
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    names.push_back(name);
  }
  return names;
}

TEST_F(LumenoExeTest, ImportsOnlyKnownSystemLibraries) {
  // Imports load before WinMain narrows the library search, each from the
  // system folder only if it is a known system library. The rest (winmm,
  // shell32, comctl32, ...) is delay-loaded or loaded explicitly, later.
  const std::vector<std::string> dlls = ImportedDlls(path_);
  EXPECT_NE(std::find(dlls.begin(), dlls.end(), "kernel32.dll"), dlls.end());
  for (const std::string& dll : dlls)
    EXPECT_TRUE(dll == "kernel32.dll" || dll == "msvcrt.dll" || dll == "advapi32.dll") << dll;
}

#pragma pack(push, 2)
struct TGroupEntry {
  BYTE width, height, colours, reserved;
  WORD planes, bitCount;
  DWORD bytes;
  WORD id;
};
#pragma pack(pop)

TEST_F(LumenoExeTest, IconComesInFiveSizes) {
  TResourceModule exe(path_);
  ASSERT_NE(exe.get(), nullptr);
  std::string group = exe.Data(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_LUMENO));
  ASSERT_GE(group.size(), 6u);
  WORD count = 0;
  memcpy(&count, group.data() + 4, sizeof(count));
  ASSERT_EQ(count, 5);
  ASSERT_EQ(group.size(), 6 + count * sizeof(TGroupEntry));
  std::vector<int> sizes;
  for (WORD i = 0; i < count; ++i) {
    TGroupEntry entry;
    memcpy(&entry, group.data() + 6 + i * sizeof(TGroupEntry), sizeof(entry));
    const int side = entry.width ? entry.width : 256;
    sizes.push_back(side);
    EXPECT_EQ(entry.bitCount, 32);
    // Each image decodes to an icon of its own size.
    std::string image = exe.Data(RT_ICON, MAKEINTRESOURCEW(entry.id));
    ASSERT_EQ(image.size(), entry.bytes);
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(image.data()), static_cast<DWORD>(image.size()),
                                          TRUE, 0x00030000, side, side, 0);
    ASSERT_NE(icon, nullptr) << side;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bitmap), &bitmap);
    EXPECT_EQ(bitmap.bmWidth, side);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
  EXPECT_EQ(sizes, (std::vector<int>{16, 24, 32, 48, 256}));
  // The shell picks a size from the group as usual.
  const int id = LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(group.data()), TRUE, 32, 32, LR_DEFAULTCOLOR);
  EXPECT_NE(id, 0);
}

// The sounds as Windows' own RIFF reader sees them, and played the way the
// pacer plays them (silently here: there is no audio device).
class SoundPlaybackTest : public ::testing::TestWithParam<const char*> {};

TEST_P(SoundPlaybackTest, ParsesAndPlays) {
  const std::string path = BinFile(GetParam());
  HMMIO file = mmioOpenA(const_cast<char*>(path.c_str()), nullptr, MMIO_READ);
  ASSERT_NE(file, nullptr) << path;
  MMCKINFO riff{};
  riff.fccType = mmioFOURCC('W', 'A', 'V', 'E');
  ASSERT_EQ(mmioDescend(file, &riff, nullptr, MMIO_FINDRIFF), MMSYSERR_NOERROR);
  MMCKINFO chunk{};
  chunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
  ASSERT_EQ(mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
  PCMWAVEFORMAT format{};
  ASSERT_EQ(mmioRead(file, reinterpret_cast<HPSTR>(&format), sizeof(format)), static_cast<LONG>(sizeof(format)));
  EXPECT_EQ(format.wf.wFormatTag, WAVE_FORMAT_PCM);
  EXPECT_EQ(format.wf.nChannels, 1);
  EXPECT_EQ(format.wBitsPerSample, 16);
  mmioAscend(file, &chunk, 0);
  chunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
  ASSERT_EQ(mmioDescend(file, &chunk, &riff, MMIO_FINDCHUNK), MMSYSERR_NOERROR);
  EXPECT_EQ(chunk.cksize % 2, 0u);
  EXPECT_GT(chunk.cksize, format.wf.nAvgBytesPerSec * 3);
  mmioClose(file, 0);

  EXPECT_TRUE(sndPlaySoundA(path.c_str(), SND_ASYNC | SND_NODEFAULT | SND_LOOP | SND_NOSTOP));
  Sleep(100);
  sndPlaySoundA(nullptr, 0);
}

INSTANTIATE_TEST_SUITE_P(BreathingSounds, SoundPlaybackTest, ::testing::Values("in.wav", "ex.wav"),
                         [](const auto& info) { return std::string(info.param).substr(0, 2); });

}  // namespace
}  // namespace lumeno
