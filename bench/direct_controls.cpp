// The yardstick for ZORNAVEX's main window: the same menu and controls at the
// same places (96 DPI), made the most direct way: one font, one
// CreateWindowEx per control, no toolkit and no behaviour. Panels 2 to 4 are
// created disabled, as the calculator shows them.
#include <windows.h>

#include <initializer_list>

namespace {

struct Item {
  const wchar_t* cls;
  const wchar_t* text;
  DWORD style;
  DWORD exStyle;
  int x, y, w, h;  // relative to the panel
};

constexpr DWORD kLabel = SS_LEFTNOWORDWRAP;
constexpr DWORD kBox = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kResult = kBox | ES_READONLY;
constexpr DWORD kList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr int kListH = 21 + 160;  // with its open list

struct Panel {
  int x, y;
  const wchar_t* caption;
  Item items[12];
};

#define LBL(t, x, y, w, h) {L"STATIC", t, kLabel, 0, x, y, w, h}
#define BOX(x, y, w) {L"EDIT", L"", kBox, WS_EX_CLIENTEDGE, x, y, w, 21}
#define RES(x, y, w) {L"EDIT", L"", kResult, WS_EX_CLIENTEDGE, x, y, w, 21}
#define LIST {L"COMBOBOX", L"", kList, 0, 168, 28, 57, kListH}
#define CALCOLA(x) {L"BUTTON", L"Calcola", kButton, 0, x, 136, 61, 25}

const Panel kPanels[] = {
    {4, 12, L"Calcolo del tempo di esecuzione di un programma",
     {LIST, BOX(144, 56, 81), BOX(144, 88, 81), CALCOLA(176), RES(12, 144, 81),
      LBL(L"Frequenza in Mhz", 12, 32, 97, 21), LBL(L"Numero istruzioni normali", 12, 60, 125, 21),
      LBL(L"Numero istruzioni di salto", 12, 92, 121, 17), LBL(L"Tempo di programma", 12, 124, 109, 17),
      LBL(L"ns", 96, 152, 21, 17)}},
    {280, 12, L"Calcolo del tempo del TMR0",
     {LIST, BOX(144, 56, 81), BOX(144, 88, 81), CALCOLA(180), RES(12, 144, 81),
      LBL(L"Frequenza in Mhz", 12, 32, 97, 21), LBL(L"Valore caricato nel TMR0", 12, 60, 125, 21),
      LBL(L"Valore del prescaler", 12, 92, 121, 17), LBL(L"Tempo del TMR0", 12, 124, 109, 17),
      LBL(L"ns", 96, 152, 21, 17)}},
    {4, 200, L"Calcolo del valore da caricare nel TMR0",
     {LIST, BOX(144, 60, 81), BOX(144, 88, 81), CALCOLA(176), RES(12, 144, 45), RES(100, 144, 45),
      LBL(L"Frequenza in Mhz", 12, 32, 97, 21), LBL(L"Temporizzazione in ns", 12, 60, 125, 21),
      LBL(L"Valore del prescaler", 12, 92, 121, 17), LBL(L"Valore da inserire nel TMR0", 12, 124, 133, 17),
      LBL(L"X", 72, 148, 9, 13)}},
    {280, 200, L"Calcolo del WDT",
     {LIST, BOX(144, 56, 81), BOX(144, 88, 81), CALCOLA(184), RES(12, 144, 65), RES(100, 144, 69),
      LBL(L"Frequenza in Mhz", 12, 32, 97, 21), LBL(L"Numero delle istruzioni", 12, 60, 125, 21),
      LBL(L"Numero di ripetizioni", 12, 92, 121, 17), LBL(L"Tempo totale", 12, 124, 69, 17),
      LBL(L"Tempo di ciclo", 100, 124, 69, 17), LBL(L"ns", 80, 152, 21, 17)}},
};

HMENU MenuBar() {
  HMENU bar = CreateMenu(), operazioni = CreatePopupMenu(), info = CreatePopupMenu();
  AppendMenuW(bar, MF_STRING, 900, L"Chiudi");
  AppendMenuW(operazioni, MF_STRING | MF_CHECKED, 901, L"Calcolo del tempo di esecuzione di un programma\tF2");
  AppendMenuW(operazioni, MF_STRING, 902, L"Calcolo del tempo del TMR0\tF3");
  AppendMenuW(operazioni, MF_STRING, 903, L"Calcolo del valore da caricare nel TMR0\tF4");
  AppendMenuW(operazioni, MF_STRING, 904, L"Calcolo del WDT\tF5");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(operazioni), L"Operazioni");
  AppendMenuW(info, MF_STRING, 905, L"Guida\tF1");
  AppendMenuW(info, MF_STRING, 906, L"Informazioni su...");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(info), L"?");
  return bar;
}

LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(h, m, w, l);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"DirectControls";
  if (!RegisterClassW(&wc)) return 1;
  constexpr DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT r{0, 0, 545, 380};
  AdjustWindowRectEx(&r, style, TRUE, 0);
  HWND main = CreateWindowExW(0, L"DirectControls", L"ZORNAVEX", style, CW_USEDEFAULT, CW_USEDEFAULT,
                              r.right - r.left, r.bottom - r.top, nullptr, MenuBar(), instance, nullptr);
  if (!main) return 1;
  HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                           CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH, L"Microsoft Sans Serif");
  const auto add = [&](const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int x, int y, int w,
                       int h) {
    HWND c = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, main, nullptr,
                             instance, nullptr);
    SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  bool first = true;
  for (const Panel& p : kPanels) {
    const DWORD disabled = first ? 0 : WS_DISABLED;
    add(L"BUTTON", p.caption, BS_GROUPBOX | disabled, 0, p.x, p.y, 257, 173);
    for (const Item& i : p.items) {
      if (!i.cls) break;
      HWND c = add(i.cls, i.text, i.style | disabled, i.exStyle, p.x + i.x, p.y + i.y, i.w, i.h);
      if (i.style == kList) {
        for (const wchar_t* item : {L"4", L"5", L"6", L"7", L"8", L"9", L"10"})
          SendMessageW(c, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
      }
    }
    first = false;
  }
  ShowWindow(main, show);
  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  DeleteObject(font);
  return 0;
}
