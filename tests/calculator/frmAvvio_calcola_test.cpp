// The main window in process: warnings, faults and results of Calcola,
// keys that press nothing, closing, and the active panel's red caption.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "Dpi.h"
#include "Module1.h"
#include "main_window_fixture.h"

using namespace zornavex;

namespace {

using MainWindow = zxtest::ShownMainWindow;

TEST_F(MainWindow, MissingInputWarnsThenMovesTheFocus) {
  main.SetText(txtTempoDiProgramma, L"1000");
  int focusWhileShown = -1;
  seams.onShow = [&](const forms::ShownMessage&) { focusWhileShown = Focused(); };
  main.Focus(cmdCalcola1);
  Press(cmdCalcola1);
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].text, L"Inserire tutti i campi");
  EXPECT_EQ(seams.Shown()[0].title, L"ZORNAVEX");
  EXPECT_EQ(seams.Shown()[0].style, 64u);
  EXPECT_EQ(focusWhileShown, cmdCalcola1);  // moved only once the box is closed
  EXPECT_EQ(Focused(), cmbFrequenza);
  EXPECT_EQ(main.Text(txtTempoDiProgramma), L"1000");

  Choose(cmbFrequenza, L"4");
  Press(cmdCalcola1);
  EXPECT_EQ(Focused(), txtIstruzioniNormali);
  main.SetText(txtIstruzioniNormali, L"1");
  Press(cmdCalcola1);
  EXPECT_EQ(Focused(), txtIstruzioniSalto);
  EXPECT_EQ(seams.Shown().size(), 3u);
  EXPECT_EQ(main.Text(txtTempoDiProgramma), L"1000");
}

TEST_F(MainWindow, CalculatesWithTheLocaleSeparatorAndKeepsTheFocus) {
  Choose(cmbFrequenza, L"6");
  main.SetText(txtIstruzioniNormali, L"1");
  main.SetText(txtIstruzioniSalto, L"0");
  main.Focus(cmdCalcola1);
  Press(cmdCalcola1);
  EXPECT_TRUE(seams.Shown().empty());
  const wchar_t sep = Module1::SeparatoreDecimale();
  EXPECT_EQ(main.Text(txtTempoDiProgramma), std::wstring(L"666") + sep + L"667");
  EXPECT_EQ(Focused(), cmdCalcola1);
}

TEST_F(MainWindow, RangeWarningsEmptyAndFocusTheOffendingBox) {
  SendMessageW(main.hwnd(), WM_COMMAND, mnu_2, 0);
  Choose(cmbFrequenza2, L"4");
  main.SetText(txtTempoTMR0, L"65280");
  main.SetText(txtValoreTMR0, L"256");
  main.SetText(txtValorePrescaler, L"999");
  Press(cmdCalcola2);
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].text, L"Il valore inserito è troppo alto\r\nDeve essere compreso tra 0 e 255");
  EXPECT_EQ(main.Text(txtValoreTMR0), L"");
  EXPECT_EQ(main.Text(txtValorePrescaler), L"999");
  EXPECT_EQ(Focused(), txtValoreTMR0);

  main.SetText(txtValoreTMR0, L"255");
  main.SetText(txtValorePrescaler, L"257");
  Press(cmdCalcola2);
  ASSERT_EQ(seams.Shown().size(), 2u);
  EXPECT_EQ(seams.Shown()[1].text, L"Il valore inserito è troppo alto\r\nDeve essere compreso tra 0 e 256");
  EXPECT_EQ(main.Text(txtValorePrescaler), L"");
  EXPECT_EQ(Focused(), txtValorePrescaler);
  EXPECT_EQ(main.Text(txtTempoTMR0), L"65280");
}

TEST_F(MainWindow, FaultsAreReportedAndNoResultIsWritten) {
  SendMessageW(main.hwnd(), WM_COMMAND, mnu_4, 0);
  Choose(cmbFrequenza4, L"10");
  main.SetText(txtNumeroIstruzioni, L"3");
  main.SetText(txtRipetizioni, L"2");
  Press(cmdCalcola4);
  EXPECT_EQ(main.Text(txtTempoTotale), L"600");
  EXPECT_EQ(main.Text(txtTempodiciclo), L"300");

  main.SetText(txtNumeroIstruzioni, L"1E200");
  main.SetText(txtRipetizioni, L"1E200");
  main.Focus(txtRipetizioni);
  Press(cmdCalcola4);
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].text, L"Overflow");
  EXPECT_EQ(seams.Shown()[0].title, L"ZORNAVEX");
  EXPECT_EQ(seams.Shown()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(main.Text(txtTempoTotale), L"600");
  EXPECT_EQ(main.Text(txtTempodiciclo), L"300");
  EXPECT_EQ(seams.Ends(), 0);

  SendMessageW(main.hwnd(), WM_COMMAND, mnu_3, 0);
  Choose(cmbFrequenza3, L"4");
  main.SetText(txtTemporizzazione, L"100");
  main.SetText(txtValorePrescaler2, L"0");
  Press(cmdCalcola3);
  EXPECT_EQ(seams.Shown().back().text, L"Divisione per zero");
  main.SetText(txtValorePrescaler2, L"uno");
  Press(cmdCalcola3);
  EXPECT_EQ(seams.Shown().back().text, L"Tipo non corrispondente");
  EXPECT_EQ(main.Text(txtValoreDaInserireTMR0), L"");
}

TEST_F(MainWindow, PreloadPanelWarnsEmptiesAndKeepsItsResults) {
  SendMessageW(main.hwnd(), WM_COMMAND, mnu_3, 0);
  Choose(cmbFrequenza3, L"4");
  main.SetText(txtTemporizzazione, L"1000");
  main.SetText(txtValorePrescaler2, L"2");
  Press(cmdCalcola3);
  EXPECT_EQ(main.Text(txtValoreDaInserireTMR0), L"0");
  EXPECT_EQ(main.Text(txtMoltiplicatore), L"2");

  main.SetText(txtValorePrescaler2, L"257");
  main.Focus(cmdCalcola3);
  Press(cmdCalcola3);
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].text, L"Il valore inserito è troppo alto\r\nDeve essere compreso tra 0 e 256");
  EXPECT_EQ(main.Text(txtValorePrescaler2), L"");
  EXPECT_EQ(Focused(), txtValorePrescaler2);
  EXPECT_EQ(main.Text(txtTemporizzazione), L"1000");
  EXPECT_EQ(main.Text(txtValoreDaInserireTMR0), L"0");
  EXPECT_EQ(main.Text(txtMoltiplicatore), L"2");

  // A load value empties the multiplier box.
  main.SetText(txtValorePrescaler2, L"1");
  main.SetText(txtTemporizzazione, L"100");
  Press(cmdCalcola3);
  EXPECT_EQ(main.Text(txtValoreDaInserireTMR0), L"155");
  EXPECT_EQ(main.Text(txtMoltiplicatore), L"");
}

TEST_F(MainWindow, EnterAndEscPressNoButton) {
  Choose(cmbFrequenza, L"4");
  main.SetText(txtIstruzioniNormali, L"1");
  main.SetText(txtIstruzioniSalto, L"0");
  for (int where : {txtIstruzioniSalto, cmbFrequenza}) {
    main.Focus(where);
    zxtest::PressKey(VK_RETURN);
    zxtest::PressKey(VK_ESCAPE);
    zxtest::Settle();  // nothing may come of these keys
  }
  EXPECT_EQ(main.Text(txtTempoDiProgramma), L"");
  EXPECT_TRUE(seams.Shown().empty());
}

TEST_F(MainWindow, DisabledPanelButtonsCannotBeClicked) {
  Choose(cmbFrequenza, L"4");
  main.SetText(txtIstruzioniNormali, L"1");
  main.SetText(txtIstruzioniSalto, L"0");
  SendMessageW(main.hwnd(), WM_COMMAND, mnu_2, 0);
  zxtest::MouseClick(main.Control(cmdCalcola1));
  EXPECT_EQ(main.Text(txtTempoDiProgramma), L"");
  SendMessageW(main.hwnd(), WM_COMMAND, mnu_1, 0);
  zxtest::MouseClick(main.Control(cmdCalcola1));
  EXPECT_EQ(main.Text(txtTempoDiProgramma), L"1000");
}

TEST_F(MainWindow, ChiudiAndTheCloseButtonEndTheProgram) {
  SendMessageW(main.hwnd(), WM_COMMAND, mnu_Chiudi, 0);
  EXPECT_EQ(seams.Ends(), 1);
  SendMessageW(main.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_EQ(seams.Ends(), 2);
  EXPECT_TRUE(seams.Shown().empty());
}

// Pixels of the frame's caption line, as the screen shows them (or as a DC
// that the frame printed itself into shows them), that are pure red.
int RedCaptionPixels(HWND frame, HDC from, int fromX, int fromY) {
  RECT r{};
  GetClientRect(frame, &r);
  const int w = r.right, h = std::min<int>(r.bottom, 20 * forms::dpi::ForWindow(frame) / 96);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC mem = CreateCompatibleDC(from);
  HBITMAP dib = CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, dib);
  BitBlt(mem, 0, 0, w, h, from, fromX, fromY, SRCCOPY);
  int red = 0;
  const auto* px = static_cast<const DWORD*>(bits);
  // 0x00RRGGBB in a DIB; a little room for smoothed glyph edges.
  for (int i = 0; i < w * h; ++i) red += GetBValue(px[i]) >= 0xC0 && GetGValue(px[i]) < 0x40 && GetRValue(px[i]) < 0x40;
  SelectObject(mem, old);
  DeleteObject(dib);
  DeleteDC(mem);
  return red;
}

int RedCaptionOnScreen(HWND frame) {
  // Every repaint waiting done; Wine copies the drawing to the screen once idle.
  zxtest::Settle();
  RECT r{};
  GetWindowRect(frame, &r);
  HDC screen = GetDC(nullptr);
  const int red = RedCaptionPixels(frame, screen, r.left, r.top);
  ReleaseDC(nullptr, screen);
  return red;
}

// With visual styles, the button code paints a group box by itself on these
// messages, in the theme's colour; the active caption must stay red.
TEST_F(MainWindow, ActiveCaptionStaysRedThroughEveryRepaint) {
  HWND frame = main.Control(Frame1);
  ASSERT_GT(RedCaptionOnScreen(frame), 20);
  struct Case {
    const char* name;
    HWND to;
    UINT msg;
    WPARAM wp;
  };
  const std::wstring caption = main.Text(Frame1);
  const Case cases[] = {
      {"WM_CHANGEUISTATE set", main.hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEACCEL | UISF_HIDEFOCUS)},
      {"WM_CHANGEUISTATE clear", main.hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS)},
      {"WM_UPDATEUISTATE", frame, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL)},
      {"WM_THEMECHANGED", frame, WM_THEMECHANGED, 0},
      {"WM_SYSCOLORCHANGE", frame, WM_SYSCOLORCHANGE, 0},
      {"WM_ENABLE", frame, WM_ENABLE, TRUE},
  };
  for (const Case& c : cases) {
    SendMessageW(c.to, c.msg, c.wp, 0);
    EXPECT_GT(RedCaptionOnScreen(frame), 20) << c.name;
  }
  SendMessageW(frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  EXPECT_GT(RedCaptionOnScreen(frame), 20) << "WM_SETTEXT";

  // Printed into another DC (as a parent's or an animation's WM_PRINT does).
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  RECT r{};
  GetClientRect(frame, &r);
  HBITMAP bmp = CreateCompatibleBitmap(screen, r.right, r.bottom);
  HGDIOBJ old = SelectObject(mem, bmp);
  FillRect(mem, &r, GetSysColorBrush(COLOR_WINDOW));
  SendMessageW(frame, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND);
  EXPECT_GT(RedCaptionPixels(frame, mem, 0, 0), 20) << "WM_PRINTCLIENT";
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

}  // namespace
