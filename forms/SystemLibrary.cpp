#include "SystemLibrary.h"

namespace forms {

namespace {

std::wstring Folder(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH]{};
  const UINT n = get(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

// Set once SetDefaultDllDirectories has taken: from then on a DLL loaded by
// full path finds its own dependencies in the system folder as well.
bool g_restricted = false;

// Named here, not taken from the SDK headers: older headers lack them.
constexpr DWORD kSearchSystem32 = 0x00000800;      // LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD kSafeSearchMode = 0x00000001;      // BASE_SEARCH_PATH_ENABLE_SAFE_SEARCHMODE
constexpr DWORD kSearchModePermanent = 0x00008000; // BASE_SEARCH_PATH_PERMANENT

}  // namespace

// Each is loaded by name, unsafely, by Windows' own DLLs on a Windows 7
// without KB2533623 (the only system where this list is used), and none is a
// KnownDLL there. Sources: NSIS's exehead and Inno Setup's SafeDLLPath (which
// trace each one to the call that loads it), 7-Zip's DllSecur.c, WiX's
// apputil.cpp. Those that others load come first, so that a later DLL's
// dependencies are already in memory.
const wchar_t* const kPreloadedDlls[] = {
    L"cryptbase.dll",  // rpcrt4's UuidCreate, under OleInitialize and oleaut32
    L"profapi.dll",    // crypt32 under ole32
    L"version.dll",    // crypt32 under ole32; our own file-version reading
    L"dwmapi.dll",     // uxtheme, and shell32 under ole32
    L"userenv.dll",    // shell32's profile folder lookup
    L"propsys.dll",    // shlwapi's property bags under shell32
    L"apphelp.dll",    // shell32's ApphelpCheckShellObject
    L"ntmarta.dll",    // advapi32's access-control providers
    L"comres.dll",     // ole32's COM catalogue, under CLSIDFromProgID
    L"oleacc.dll",     // shell32's progress dialog, accessibility
    L"uxtheme.dll",    // the first window of a themed program
};
const size_t kPreloadedDllCount = sizeof(kPreloadedDlls) / sizeof(kPreloadedDlls[0]);

void PreloadSystemDlls() {
  for (const wchar_t* name : kPreloadedDlls) LoadSystemLibrary(name);  // kept for the life of the process
}

bool RestrictDllSearch() {
  // kernel32 is mapped into every process before its first instruction.
  const HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");
  using SetDefaultFn = BOOL(WINAPI*)(DWORD);
  using SetModeFn = BOOL(WINAPI*)(DWORD);
  const auto setDefault = SystemFunction<SetDefaultFn>(kernel32, "SetDefaultDllDirectories");
  g_restricted = setDefault && setDefault(kSearchSystem32);
  if (!g_restricted) {
    // Takes the current folder out of the search (Windows XP SP1 and later).
    SetDllDirectoryW(L"");
    PreloadSystemDlls();
  }
  // Windows 7; earlier systems only with KB959426.
  if (const auto setMode = SystemFunction<SetModeFn>(kernel32, "SetSearchPathMode"))
    setMode(kSafeSearchMode | kSearchModePermanent);
  return g_restricted;
}

std::wstring WindowsFolder() { return Folder(&GetWindowsDirectoryW); }
std::wstring SystemFolder() { return Folder(&GetSystemDirectoryW); }

HMODULE LoadSystemLibrary(const wchar_t* name) {
  const std::wstring folder = SystemFolder();
  if (folder.empty()) return nullptr;
  // Unrestricted, a DLL loaded by full path would look for its dependencies
  // in the program's folder first; the altered search puts the DLL's own
  // folder there. Restricted, the default directories already do.
  return LoadLibraryExW((folder + L"\\" + name).c_str(), nullptr, g_restricted ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace forms
