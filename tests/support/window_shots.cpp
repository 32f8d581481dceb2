// Drives the programs through every window a user can meet and saves each
// one as a bitmap (scripts/screenshots.sh turns them into the PNGs of docs/).
// Usage: window_shots OUTDIR ZORNAVEX.exe [Velisca.exe]
//        window_shots --own-help OUTDIR ZORNAVEX.exe
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "frmAvvio.h"
#include "ui_driver.h"

namespace {

std::wstring g_out;

// Saves what the screen shows inside the window's rectangle as a 24-bit BMP.
bool Save(HWND hwnd, const wchar_t* name) {
  if (!hwnd) return false;
  zxtest::Pump(400);
  RECT r{};
  GetWindowRect(hwnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof(bi);
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
  std::vector<BYTE> pixels(stride * static_cast<DWORD>(h));
  GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER bf{};
  bf.bfType = 0x4D42;
  bf.bfOffBits = sizeof(bf) + sizeof(bi);
  bf.bfSize = bf.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* f = _wfopen((g_out + L"\\" + name + L".bmp").c_str(), L"wb");
  if (!f) return false;
  fwrite(&bf, sizeof(bf), 1, f);
  fwrite(&bi, sizeof(bi), 1, f);
  fwrite(pixels.data(), 1, pixels.size(), f);
  fclose(f);
  wprintf(L"%ls\n", name);
  return true;
}

void SetText(HWND main, int id, const wchar_t* text) {
  SendMessageW(zxtest::Child(main, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
void Choose(HWND main, int list, int index) { SendMessageW(zxtest::Child(main, list), CB_SETCURSEL, index, 0); }
void Command(HWND main, int id) {
  PostMessageW(main, WM_COMMAND, id, 0);
  zxtest::Pump(100);
}

// Clicks a button, saves the message box it opens, and closes it.
void ShootBox(const zxtest::Process& p, HWND button, const wchar_t* name) {
  PostMessageW(button, BM_CLICK, 0, 0);
  if (auto box = zxtest::WaitForMessageBox(p.Id(), 5000)) {
    Save(box->hwnd, name);
    zxtest::PressBoxButton(box->hwnd, box->HasButton(IDOK) ? IDOK : IDNO);
  }
}

void ShootCalculator(const std::wstring& exe) {
  using namespace zornavex;
  zxtest::Process p;
  if (!p.Start(exe)) return;
  HWND main = zxtest::WaitForWindow(p.Id(), zxtest::kFormClass, L"ZORNAVEX", 20000);
  if (!main) return;
  zxtest::Activate(main);
  Save(main, L"zornavex-main");
  ShootBox(p, zxtest::Child(main, cmdCalcola1), L"zornavex-warning-missing");

  Command(main, mnu_2);
  Choose(main, cmbFrequenza2, 0);
  SetText(main, txtValoreTMR0, L"256");
  SetText(main, txtValorePrescaler, L"1");
  ShootBox(p, zxtest::Child(main, cmdCalcola2), L"zornavex-warning-tmr0");
  SetText(main, txtValoreTMR0, L"255");
  SetText(main, txtValorePrescaler, L"257");
  ShootBox(p, zxtest::Child(main, cmdCalcola2), L"zornavex-warning-prescaler");
  SetText(main, txtValorePrescaler, L"256");
  PostMessageW(zxtest::Child(main, cmdCalcola2), BM_CLICK, 0, 0);

  Command(main, mnu_4);
  Choose(main, cmbFrequenza4, 0);
  SetText(main, txtNumeroIstruzioni, L"1E200");
  SetText(main, txtRipetizioni, L"1E200");
  ShootBox(p, zxtest::Child(main, cmdCalcola4), L"zornavex-fault-overflow");
  SetText(main, txtNumeroIstruzioni, L"3");
  SetText(main, txtRipetizioni, L"2");
  PostMessageW(zxtest::Child(main, cmdCalcola4), BM_CLICK, 0, 0);

  Command(main, mnu_3);
  Choose(main, cmbFrequenza3, 0);
  SetText(main, txtTemporizzazione, L"1000");
  SetText(main, txtValorePrescaler2, L"2");
  PostMessageW(zxtest::Child(main, cmdCalcola3), BM_CLICK, 0, 0);
  zxtest::Pump(200);
  Save(main, L"zornavex-panel3-results");

  Command(main, mnu_Informazioni);
  if (HWND about = zxtest::WaitForWindow(p.Id(), zxtest::kFormClass, L"Informazioni su ZORNAVEX", 5000)) {
    Save(about, L"zornavex-about");
    PostMessageW(about, WM_CLOSE, 0, 0);
    zxtest::Pump(300);
  }

  // The hidden certificate: "10" everywhere, a double-click on the window's
  // margin, the three words, and another double-click.
  for (int list : {cmbFrequenza, cmbFrequenza2, cmbFrequenza3, cmbFrequenza4}) Choose(main, list, 6);
  RECT frame{};
  GetWindowRect(zxtest::Child(main, Frame1), &frame);
  MapWindowPoints(HWND_DESKTOP, main, reinterpret_cast<POINT*>(&frame), 2);
  const LPARAM margin = MAKELPARAM(frame.right + 4, frame.bottom - 4);
  PostMessageW(main, WM_LBUTTONDBLCLK, MK_LBUTTON, margin);
  zxtest::Pump(200);
  SetText(main, txtTempoDiProgramma, L"Corvane");
  SetText(main, txtTempoTMR0, L"Pelmo");
  SetText(main, txtValoreDaInserireTMR0, L"Quirsa");
  PostMessageW(main, WM_LBUTTONDBLCLK, MK_LBUTTON, margin);
  if (HWND cert = zxtest::WaitForWindow(p.Id(), zxtest::kFormClass, L"Certificato di Autenticit\x00E0", 5000)) {
    Save(cert, L"zornavex-certificate");
    PostMessageW(cert, WM_CLOSE, 0, 0);
    zxtest::Pump(300);
  }

  // Help: the viewer is a process of its own.
  Command(main, mnu_guida);
  const ULONGLONG end = GetTickCount64() + 15000;
  while (GetTickCount64() < end) {
    HWND help = FindWindowW(L"MS_WINHELP", nullptr);
    if (help && IsWindowVisible(help)) {
      Save(help, L"zornavex-help");
      PostMessageW(help, WM_CLOSE, 0, 0);
      break;
    }
    zxtest::Pump(200);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  p.WaitExit(5000);
}

// ZORNAVEX's own help window, in a prefix whose winhlp32.exe is the
// placeholder: the book of the calculations open on its first topic.
void ShootOwnHelp(const std::wstring& exe) {
  zxtest::Process p;
  HWND main = p.Start(exe) ? zxtest::WaitForWindow(p.Id(), zxtest::kFormClass, L"ZORNAVEX", 20000) : nullptr;
  if (!main) {
    fwprintf(stderr, L"ZORNAVEX did not start\n");
    return;
  }
  zxtest::Activate(main);
  Command(main, zornavex::mnu_guida);
  HWND help = zxtest::WaitForWindow(p.Id(), zxtest::kFormClass, L"Guida di ZORNAVEX", 10000);
  if (!help) {
    fwprintf(stderr, L"ZORNAVEX showed no help window of its own\n");
    return;
  }
  constexpr int tvwSommario = 102;  // frmGuida's tree
  HWND tree = zxtest::Child(help, tvwSommario);
  // The first book: the first entry at the top with entries of its own.
  LPARAM book = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
  while (book && !SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, book))
    book = SendMessageW(tree, TVM_GETNEXTITEM, TVGN_NEXT, book);
  SendMessageW(tree, TVM_EXPAND, TVE_EXPAND, book);
  SendMessageW(tree, TVM_SELECTITEM, TVGN_CARET, SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, book));
  zxtest::Activate(help);
  Save(help, L"zornavex-helpwindow");
  // "Indice", by the keyboard: to the tabs, the next tab, the word box.
  zxtest::PressKey(VK_TAB, false, true);
  zxtest::PressKey(VK_RIGHT);
  zxtest::PressKey(VK_TAB);
  zxtest::TypeText(L"presc");
  zxtest::PressKey(VK_DOWN);  // the list follows; the keyword's first topic is shown
  zxtest::PressKey(VK_UP);
  Save(help, L"zornavex-helpwindow-indice");
  // Enter on a keyword of several topics: "Argomenti trovati".
  zxtest::PressKey(VK_RETURN);
  if (HWND found = zxtest::WaitForWindow(p.Id(), nullptr, L"Argomenti trovati", 5000)) {
    zxtest::Activate(found);
    Save(found, L"zornavex-helpwindow-argomenti");
    zxtest::PressKey(VK_ESCAPE);
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  p.WaitExit(5000);
}

// The installer from its setup folder: confirmation, the blue screen with the
// information page, and the end of a whole installation.
void ShootInstaller(const std::wstring& exe) {
  constexpr int cmdSI = 104, cmdInstalla = 301;
  const std::wstring folder = exe.substr(0, exe.find_last_of(L'\\'));
  zxtest::Process p;
  if (!p.Start(exe, folder)) return;
  HWND avvio = zxtest::WaitForWindow(p.Id(), zxtest::kFormClass, L"Programma d' istallazione", 20000);
  if (!avvio) return;
  Save(avvio, L"velisca-avvio");
  PostMessageW(zxtest::Child(avvio, cmdSI), BM_CLICK, 0, 0);
  if (HWND page = zxtest::WaitForWindowWithControl(p.Id(), cmdInstalla, 10000)) {
    Save(GetDesktopWindow(), L"velisca-percorso");
    PostMessageW(zxtest::Child(page, cmdInstalla), BM_CLICK, 0, 0);
    if (auto box = zxtest::WaitForMessageBox(p.Id(), 20000)) {
      Save(GetDesktopWindow(), L"velisca-fine");
      zxtest::PressBoxButton(box->hwnd, IDOK);
    }
  }
  p.WaitExit(10000);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--own-help") {
    g_out = argv[2];
    ShootOwnHelp(argv[3]);
    return 0;
  }
  if (argc < 3) {
    fwprintf(stderr, L"usage: window_shots OUTDIR ZORNAVEX.exe [Velisca.exe] | --own-help OUTDIR ZORNAVEX.exe\n");
    return 2;
  }
  g_out = argv[1];
  ShootCalculator(argv[2]);
  if (argc > 3) ShootInstaller(argv[3]);
  return 0;
}
