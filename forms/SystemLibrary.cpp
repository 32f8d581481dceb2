#include "SystemLibrary.h"

namespace forms {

namespace {

std::wstring Folder(UINT(WINAPI* get)(LPWSTR, UINT)) {
  wchar_t buffer[MAX_PATH]{};
  const UINT n = get(buffer, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring();
}

}  // namespace

std::wstring WindowsFolder() { return Folder(&GetWindowsDirectoryW); }
std::wstring SystemFolder() { return Folder(&GetSystemDirectoryW); }

HMODULE LoadSystemLibrary(const wchar_t* name) {
  const std::wstring folder = SystemFolder();
  if (folder.empty()) return nullptr;
  return LoadLibraryW((folder + L"\\" + name).c_str());
}

}  // namespace forms
