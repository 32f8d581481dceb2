// Stands in for the programs the About window starts: it leaves a note
// beside itself saying how it was started, then ends.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR args, int) {
  wchar_t self[MAX_PATH]{};
  if (!GetModuleFileNameW(nullptr, self, MAX_PATH)) return 1;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  GetStartupInfoW(&si);
  const int show = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : -1;
  const std::string note = "show=" + std::to_string(show) + " args=" + std::to_string(lstrlenW(args));
  HANDLE file = CreateFileW((std::wstring(self) + L".started").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, note.data(), static_cast<DWORD>(note.size()), &written, nullptr);
  CloseHandle(file);
  return ok ? 0 : 1;
}
