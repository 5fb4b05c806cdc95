// Libraries come from the system folder only. Lumeno ships as a zip that is
// unpacked wherever the browser saved it, beside whatever else was
// downloaded; Windows would otherwise look for a library in the exe's folder
// (and the current one) first.
#pragma once

#include <windows.h>

namespace lumeno {

// Narrows the process's library search to the system folder: the first thing
// the program does, before anything loads a library by name.
void RestrictLibrarySearch();

// A library loaded late, from the system folder only; nullptr when absent.
HMODULE LoadSystemLibrary(const wchar_t* name);

// An entry point of MODULE, typed as ENTRY; left null when either is missing.
template <typename T>
void ResolveProc(HMODULE module, const char* name, T& entry) {
  if (module) entry = reinterpret_cast<T>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace lumeno
