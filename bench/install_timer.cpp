// Times a whole Velisca installation: from the click on the install button
// to the success message. Usage: install_timer Velisca.exe
#include <windows.h>

#include <cstdio>
#include <string>

#include "ui_driver.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  constexpr int cmdSI = 104, cmdInstalla = 301;
  const std::wstring exe = argv[1];
  zxtest::Process p;
  if (!p.Start(exe, exe.substr(0, exe.find_last_of(L'\\')))) return 1;
  HWND avvio = zxtest::WaitForWindowWithControl(p.Id(), cmdSI, 20000, 1);
  if (!avvio) return 1;
  PostMessageW(GetDlgItem(avvio, cmdSI), BM_CLICK, 0, 0);
  HWND page = zxtest::WaitForWindowWithControl(p.Id(), cmdInstalla, 20000, 1);
  if (!page) return 1;
  Sleep(300);  // let the page settle
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t0);
  PostMessageW(GetDlgItem(page, cmdInstalla), BM_CLICK, 0, 0);
  HWND box = zxtest::WaitForWindowWithControl(p.Id(), 0xFFFF, 30000, 1);  // the closing message box
  QueryPerformanceCounter(&t1);
  if (!box) return 1;
  const std::wstring title = zxtest::ReadText(box);
  zxtest::PressBoxButton(box, IDOK);
  p.WaitExit(10000);
  if (title != L"Complimenti!") {
    fwprintf(stderr, L"the installation failed: %ls\n", title.c_str());
    return 1;
  }
  wprintf(L"%.0f\n", 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(freq.QuadPart));
  return 0;
}
