// Stands in for the winhlp32.exe placeholder of Windows 10 and 11 (its
// version resource is in placeholder_winhlp32.rc). If anything ever starts
// it, it leaves a note beside itself and shows a window, as the real one
// shows its notice.
#include <windows.h>

#include <string>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH]{};
  if (GetModuleFileNameW(nullptr, self, MAX_PATH)) {
    HANDLE note = CreateFileW((std::wstring(self) + L".started").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (note != INVALID_HANDLE_VALUE) CloseHandle(note);
  }
  WNDCLASSW wc{};
  wc.lpfnWndProc = &Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"ZxPlaceholderWinHelp";
  RegisterClassW(&wc);
  CreateWindowW(wc.lpszClassName, L"Why can't I get Help from this program?", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                CW_USEDEFAULT, CW_USEDEFAULT, 400, 200, nullptr, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}
