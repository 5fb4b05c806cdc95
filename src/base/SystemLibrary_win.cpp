#include "base/SystemLibrary_win.h"

#include <string>

namespace lumeno {

void RestrictLibrarySearch() {
  // Looked up: Windows 7 has it only with a later update.
  using TSetDefaultDllDirectories = BOOL(WINAPI*)(DWORD flags);
  TSetDefaultDllDirectories setDefault = nullptr;
  ResolveProc(::GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories", setDefault);
  if (!setDefault || !setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    // Without it at least the current folder drops out of the search.
    ::SetDllDirectoryW(L"");
    return;
  }
  // Wine resolves its own libraries' delay-loaded imports along the default
  // path, the exe's folder first, whatever the process asked for. The one
  // Lumeno's windows reach that way (uxtheme's msimg32, at the first themed
  // paint) is loaded from the system folder now; a later load by name finds it.
  if (::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) LoadSystemLibrary(L"msimg32.dll");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (HMODULE module = ::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (::GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  // A system that does not know the flag: the library named by its full path
  // in the system folder, and what it needs looked up from there.
  wchar_t folder[MAX_PATH];
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + name;
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace lumeno
