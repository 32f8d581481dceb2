// A DLL an attacker could leave beside the programs: copied under many names,
// each copy leaves "<its own path>.loaded" when a process maps it. It exports
// nothing, so a program that really needed it would also fail to start.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH + 8]{};
  const DWORD n = GetModuleFileNameW(self, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return TRUE;
  lstrcatW(path, L".loaded");
  const HANDLE mark = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (mark != INVALID_HANDLE_VALUE) CloseHandle(mark);
  return TRUE;
}
