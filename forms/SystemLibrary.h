// Where the programs' DLLs come from. Velisca runs as administrator from
// whatever folder it was unpacked into (often Downloads, where a browser can
// leave any file): no DLL may ever come from there. The programs import
// statically only Windows' KnownDLLs (and comctl32, which the manifest takes
// from the side-by-side store); everything else is loaded here, by full path
// from the system folder, once the search has been restricted.
#pragma once

#include <windows.h>

#include <string>

namespace forms {

// The first thing each program does: every later load by name searches the
// system folder only (SetDefaultDllDirectories, on Windows 8 and later and on
// 7 with KB2533623). Without it, the current folder leaves the search and
// the DLLs that Windows' own DLLs are known to load by name are loaded from
// the system folder before anything can ask for them. SearchPath (not
// CreateProcess) looks in the current folder last. Returns true when the search is
// restricted by SetDefaultDllDirectories.
bool RestrictDllSearch();

// The DLLs loaded ahead by the fallback, in loading order.
extern const wchar_t* const kPreloadedDlls[];
extern const size_t kPreloadedDllCount;
// The fallback itself, for tests: run by RestrictDllSearch only where
// SetDefaultDllDirectories is missing.
void PreloadSystemDlls();

// The Windows folder and the system folder, without a trailing separator;
// empty when the platform does not say.
std::wstring WindowsFolder();
std::wstring SystemFolder();

// The DLL of that name in the system folder, its own dependencies searched
// there too; nullptr when it cannot load.
HMODULE LoadSystemLibrary(const wchar_t* name);

// A function of a loaded DLL as the pointer type the caller names; nullptr
// without the module or the function.
template <typename Fn>
Fn SystemFunction(HMODULE module, const char* name) {
  // GetProcAddress returns a generic pointer; the cast through void* keeps
  // both compilers quiet about the signature change.
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

}  // namespace forms
