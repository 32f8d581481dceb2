#include "WinHelpViewer.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace zornavex {
namespace {

std::wstring Folder(UINT (WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH]{};
  const UINT n = get(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

}  // namespace

help::ViewerFile ViewerFileIn(const std::wstring& folder) {
  help::ViewerFile file;
  if (folder.empty()) return file;
  const std::wstring path = folder + L"\\winhlp32.exe";
  const DWORD attributes = GetFileAttributesW(path.c_str());
  file.exists = attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  if (!file.exists) return file;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return file;
  std::vector<BYTE> info(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data())) return file;
  struct Translation {
    WORD language, codePage;
  };
  Translation* translations = nullptr;
  UINT bytes = 0;
  if (!VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations), &bytes))
    return file;
  for (UINT i = 0; i < bytes / sizeof(Translation); ++i) {
    wchar_t key[64];
    swprintf(key, 64, L"\\StringFileInfo\\%04x%04x\\FileDescription", translations[i].language,
             translations[i].codePage);
    wchar_t* text = nullptr;
    UINT length = 0;
    if (VerQueryValueW(info.data(), key, reinterpret_cast<void**>(&text), &length) && text && length > 0)
      file.descriptions.emplace_back(text, wcsnlen(text, length));
  }
  return file;
}

bool PlatformHasWinHelpViewer() {
  // Windows keeps its winhlp32.exe in the Windows folder, Wine in the system folder.
  static const bool real = help::HasRealViewer(
      {ViewerFileIn(Folder(&GetWindowsDirectoryW)), ViewerFileIn(Folder(&GetSystemDirectoryW))});
  return real;
}

}  // namespace zornavex
