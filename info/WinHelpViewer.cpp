#include "WinHelpViewer.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <vector>

#include "SystemLibrary.h"

namespace zornavex {
namespace {

// The version functions are needed only when help is first asked for: the
// DLL is loaded then, not at every start of the program.
struct VersionApi {
  using SizeFn = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
  using InfoFn = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
  using QueryFn = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
  SizeFn size = nullptr;
  InfoFn info = nullptr;
  QueryFn query = nullptr;
  bool Loaded() const { return size && info && query; }
};

const VersionApi& Version() {
  static const VersionApi api = [] {
    const HMODULE module = forms::LoadSystemLibrary(L"version.dll");
    return VersionApi{forms::SystemFunction<VersionApi::SizeFn>(module, "GetFileVersionInfoSizeW"),
                      forms::SystemFunction<VersionApi::InfoFn>(module, "GetFileVersionInfoW"),
                      forms::SystemFunction<VersionApi::QueryFn>(module, "VerQueryValueW")};
  }();
  return api;
}

std::wstring Hex4(WORD value) {
  const wchar_t* digits = L"0123456789abcdef";
  std::wstring out(4, L'0');
  for (int i = 3; i >= 0; --i, value >>= 4) out[i] = digits[value & 0xF];
  return out;
}

}  // namespace

help::ViewerFile ViewerFileIn(const std::wstring& folder) {
  help::ViewerFile file;
  if (folder.empty()) return file;
  const std::wstring path = folder + L"\\winhlp32.exe";
  WIN32_FILE_ATTRIBUTE_DATA data{};
  file.exists = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) &&
                !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  if (file.exists) file.bytes = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  const VersionApi& version = Version();
  if (!file.exists || !version.Loaded()) return file;
  DWORD ignored = 0;
  const DWORD size = version.size(path.c_str(), &ignored);
  if (size == 0) return file;
  std::vector<BYTE> info(size);
  if (!version.info(path.c_str(), 0, size, info.data())) return file;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedBytes = 0;
  if (version.query(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedBytes) && fixed &&
      fixedBytes >= sizeof(VS_FIXEDFILEINFO))
    file.fileVersionMajor = HIWORD(fixed->dwFileVersionMS);
  struct Translation {
    WORD language, codePage;
  };
  Translation* translations = nullptr;
  UINT bytes = 0;
  if (!version.query(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes))
    return file;
  for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
    const std::wstring key =
        L"\\StringFileInfo\\" + Hex4(translations[i].language) + Hex4(translations[i].codePage) + L"\\FileDescription";
    wchar_t* text = nullptr;
    UINT length = 0;
    if (version.query(info.data(), key.c_str(), reinterpret_cast<void**>(&text), &length) && text && length > 0)
      file.descriptions.emplace_back(text, wcsnlen(text, length));
  }
  return file;
}

bool PlatformHasWinHelpViewer() {
  // Windows keeps its winhlp32.exe in the Windows folder, Wine in the system folder.
  static const bool real = help::HasRealViewer(
      {ViewerFileIn(forms::WindowsFolder()), ViewerFileIn(forms::SystemFolder())});
  return real;
}

}  // namespace zornavex
