#include "WinHelpViewer.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "SystemLibrary.h"
#include "VersionInfo.h"

namespace zornavex {
namespace {

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
  if (!file.exists) return file;
  file.bytes = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  // version.dll is loaded when help is first asked for, not at every start.
  const forms::VersionInfo info(path);
  if (const VS_FIXEDFILEINFO* fixed = info.Fixed()) file.fileVersionMajor = HIWORD(fixed->dwFileVersionMS);
  struct Translation {
    WORD language, codePage;
  };
  Translation* translations = nullptr;
  UINT bytes = 0;
  if (!info.Query(L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes))
    return file;
  for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
    const std::wstring key =
        L"\\StringFileInfo\\" + Hex4(translations[i].language) + Hex4(translations[i].codePage) + L"\\FileDescription";
    wchar_t* text = nullptr;
    UINT length = 0;
    if (info.Query(key.c_str(), reinterpret_cast<void**>(&text), &length) && length > 0)
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
