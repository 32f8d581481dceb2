// Times a whole Velisca installation: from the click on the install button
// to the success message. Usage: install_timer Velisca.exe
#include <windows.h>

#include <cstdio>
#include <string>

#include "ui_driver.h"

namespace {

struct Find {
  DWORD pid;
  int id;           // a control the window holds, or 0 for a message box
  HWND found;
};

BOOL CALLBACK Match(HWND h, LPARAM lp) {
  auto* f = reinterpret_cast<Find*>(lp);
  DWORD owner = 0;
  GetWindowThreadProcessId(h, &owner);
  if (owner != f->pid || !IsWindowVisible(h)) return TRUE;
  if (GetDlgItem(h, f->id ? f->id : 0xFFFF)) {
    f->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND Wait(DWORD pid, int id, DWORD timeoutMs) {
  Find f{pid, id, nullptr};
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (GetTickCount64() < end) {
    EnumWindows(Match, reinterpret_cast<LPARAM>(&f));
    if (f.found) return f.found;
    Sleep(1);
  }
  return nullptr;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  constexpr int cmdSI = 104, cmdInstalla = 301;
  const std::wstring exe = argv[1];
  zxtest::Process p;
  if (!p.Start(exe, exe.substr(0, exe.find_last_of(L'\\')))) return 1;
  HWND avvio = Wait(p.Id(), cmdSI, 20000);
  if (!avvio) return 1;
  PostMessageW(GetDlgItem(avvio, cmdSI), BM_CLICK, 0, 0);
  HWND page = Wait(p.Id(), cmdInstalla, 20000);
  if (!page) return 1;
  Sleep(300);  // let the page settle
  LARGE_INTEGER freq, t0, t1;
  QueryPerformanceFrequency(&freq);
  QueryPerformanceCounter(&t0);
  PostMessageW(GetDlgItem(page, cmdInstalla), BM_CLICK, 0, 0);
  HWND box = Wait(p.Id(), 0, 30000);
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
