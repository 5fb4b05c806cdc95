/* Planted by e2e.dll_planting under each name it tries: loading it leaves "<its path>.ran". */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved) {
  wchar_t path[MAX_PATH + 8];
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameW(self, path, MAX_PATH) < MAX_PATH)
    CloseHandle(CreateFileW(lstrcatW(path, L".ran"), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
  return TRUE;
}
