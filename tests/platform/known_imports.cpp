// Imports the KnownDLLs the programs import, and does nothing (comctl32,
// which the programs take from the side-by-side store, stays out). Run from the
// planted folder, it shows which stand-ins Wine itself loads for those DLLs
// before a program's first line: Wine's built-in DLLs import others that
// Windows' do not, or that Windows takes from its KnownDLLs.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Never true: the calls only make the imports.
  if (GetTickCount() == 1) {
    wchar_t path[MAX_PATH];
    SHGetPathFromIDListW(nullptr, path);
    CoTaskMemFree(nullptr);
    RegCloseKey(nullptr);
    GetStockObject(0);
  }
  return GetSystemMetrics(SM_CXSCREEN) > 0 ? 0 : 1;
}
