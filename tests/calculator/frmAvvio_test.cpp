// The main window in process: start-up state, panel selection, focus and
// tab order, key filters, warnings and faults as the user meets them.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <algorithm>
#include <string>
#include <vector>

#include "Dpi.h"
#include "Module1.h"
#include "frmAvvio.h"
#include "ui_driver.h"

using namespace zornavex;

namespace {

constexpr forms::ColourValue kRed = 255, kInactive = 0x8000000F, kDefault = 0x80000012;
constexpr int kFrames[] = {Frame1, Frame2, Frame3, Frame4};
constexpr int kMenus[] = {mnu_1, mnu_2, mnu_3, mnu_4};

class MainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    forms::Initialise();
    form.Show();
    zxtest::Activate(form.hwnd());
  }
  void TearDown() override { form.Unload(); }

  void Choose(int list, const wchar_t* item) {
    HWND h = form.Control(list);
    SendMessageW(h, CB_SETCURSEL, SendMessageW(h, CB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(item)), 0);
  }
  void Press(int button) {
    SendMessageW(form.Control(button), BM_CLICK, 0, 0);
    zxtest::Pump(20);
  }
  int Focused() const { return GetDlgCtrlID(GetFocus()); }
  // Every control of a panel (its id / 100) is enabled, or every one disabled.
  void ExpectPanel(int frame, bool enabled) {
    SCOPED_TRACE(testing::Message() << "panel " << frame);
    int controls = 0;
    for (int id = frame; id < frame + 100; ++id) {
      if (HWND h = form.Control(id)) {
        ++controls;
        EXPECT_EQ(IsWindowEnabled(h) != FALSE, enabled) << "control " << id;
      }
    }
    // The frame and at least its list, boxes and button.
    EXPECT_GE(controls, 5) << "no control has this panel's ids";
  }

  zxtest::Seams seams;
  frmAvvio form;
};

TEST_F(MainWindow, StartsWithPanelOneActiveAndFocusOnItsList) {
  EXPECT_EQ(Module1::ColoreFrameAttivo, kRed);
  ExpectPanel(Frame1, true);
  for (int f : {Frame2, Frame3, Frame4}) ExpectPanel(f, false);
  EXPECT_EQ(form.ForeColour(Frame1), kRed);
  for (int f : {Frame2, Frame3, Frame4}) EXPECT_EQ(form.ForeColour(f), kDefault);
  EXPECT_TRUE(form.IsChecked(mnu_1));
  for (int m : {mnu_2, mnu_3, mnu_4}) EXPECT_FALSE(form.IsChecked(m));
  EXPECT_EQ(Focused(), cmbFrequenza);
  for (int list : {cmbFrequenza, cmbFrequenza2, cmbFrequenza3, cmbFrequenza4}) {
    EXPECT_EQ(form.Text(list), L"");
    EXPECT_EQ(SendMessageW(form.Control(list), CB_GETCOUNT, 0, 0), 7);
  }
  for (int box : {txtTempoDiProgramma, txtTempoTMR0, txtValoreDaInserireTMR0, txtMoltiplicatore, txtTempoTotale,
                  txtTempodiciclo})
    EXPECT_TRUE(form.IsReadOnly(box));
  EXPECT_FALSE(form.IsReadOnly(txtIstruzioniNormali));
}

TEST_F(MainWindow, ClientAreaAndMenuMatchTheDesign) {
  RECT r{};
  GetClientRect(form.hwnd(), &r);
  EXPECT_EQ(r.right, form.Scale(545));
  EXPECT_EQ(r.bottom, form.Scale(380));
  HMENU bar = GetMenu(form.hwnd());
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  wchar_t text[128]{};
  GetMenuStringW(bar, 0, text, 128, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Chiudi");
  EXPECT_EQ(GetSubMenu(bar, 0), nullptr);  // a command on the bar itself
  GetMenuStringW(bar, mnu_3, text, 128, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Calcolo del valore da caricare nel TMR0\tF4");
  GetMenuStringW(bar, mnu_guida, text, 128, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Guida\tF1");
  const LONG_PTR style = GetWindowLongPtrW(form.hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_EQ(SendMessageW(form.Control(txtIstruzioniNormali), EM_GETLIMITTEXT, 0, 0), 12);
  EXPECT_EQ(SendMessageW(form.Control(txtValoreTMR0), EM_GETLIMITTEXT, 0, 0), 3);
}

// Frames lie above their controls, where a screen reader looks for a
// control's group, and are only their edge and caption, so they hide nothing.
TEST_F(MainWindow, FramesAreOnlyTheirEdgeAboveEveryControl) {
  std::vector<int> zOrder;
  for (HWND h = GetWindow(form.hwnd(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) zOrder.push_back(GetDlgCtrlID(h));
  ASSERT_GE(zOrder.size(), 4u);
  EXPECT_EQ(std::vector<int>(zOrder.begin(), zOrder.begin() + 4), std::vector<int>(std::begin(kFrames), std::end(kFrames)));
  for (int id : std::vector<int>(zOrder.begin() + 4, zOrder.end())) {
    HWND frame = form.Control(id / 100 * 100);
    RECT control{}, origin{};
    GetWindowRect(form.Control(id), &control);
    GetWindowRect(frame, &origin);
    OffsetRect(&control, -origin.left, -origin.top);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(frame, shape), ERROR) << id;
    EXPECT_FALSE(RectInRegion(shape, &control)) << id;
    DeleteObject(shape);
  }
}

TEST_F(MainWindow, ControlsShowTheirToolTips) {
  const std::pair<int, const wchar_t*> tips[] = {
      {cmbFrequenza, L"Frequenza in Mhz"},          {cmbFrequenza4, L"Frequenza in Mhz"},
      {txtIstruzioniNormali, L"Numero istruzioni normali"}, {txtIstruzioniSalto, L"Numero istruzioni di salto"},
      {txtTempoDiProgramma, L"Tempo di programmazione"},  {txtValoreTMR0, L"Valore caricato nel TMR0"},
      {txtValorePrescaler, L"Valore del prescaler"},      {txtTempoTMR0, L"Tempo del TMR0"},
      {txtTemporizzazione, L"Temporizzazione in ns"},     {txtValorePrescaler2, L"Valore del prescaler"},
      {txtValoreDaInserireTMR0, L"Valore da inserire nel TMR0"}, {txtMoltiplicatore, L"Valore da inserire nel TMR0"},
      {txtNumeroIstruzioni, L"Numero delle istruzioni"},  {txtRipetizioni, L"Numero di ripetizioni"},
      {txtTempoTotale, L"Tempo totale"},                  {txtTempodiciclo, L"Tempo di ciclo"},
      {cmdCalcola3, L"Calcola"},
  };
  for (const auto& [id, tip] : tips) EXPECT_EQ(form.ToolTipText(id), tip) << id;
  EXPECT_EQ(form.ToolTipText(lblMhz), L"");
  EXPECT_EQ(form.Text(lblPER), L"X");
  EXPECT_EQ(form.Text(Frame4), L"Calcolo del WDT");
}

TEST_F(MainWindow, PanelSelectionFromEveryState) {
  constexpr int kFirstInput[] = {txtIstruzioniNormali, txtValoreTMR0, txtTemporizzazione, txtNumeroIstruzioni};
  for (int from = 1; from <= 4; ++from) {
    for (int to = 1; to <= 4; ++to) {
      SendMessageW(form.hwnd(), WM_COMMAND, kMenus[from - 1], 0);
      form.Focus(kFirstInput[from - 1]);
      // A control of a panel that is being disabled cannot keep the focus.
      const int focusAfter = to == 1 ? cmbFrequenza : from == to ? kFirstInput[from - 1] : 0;
      SendMessageW(form.hwnd(), WM_COMMAND, kMenus[to - 1], 0);
      for (int j = 1; j <= 4; ++j) {
        ExpectPanel(kFrames[j - 1], j == to);
        EXPECT_EQ(form.ForeColour(kFrames[j - 1]), j == to ? kRed : kInactive) << from << "->" << to;
        EXPECT_EQ(form.IsChecked(kMenus[j - 1]), j == to);
      }
      EXPECT_EQ(form.PannelloAttivo(), to);
      // Only the first panel takes the focus to its list.
      EXPECT_EQ(GetFocus() == form.hwnd() ? 0 : Focused(), focusAfter) << from << "->" << to;
    }
  }
}

TEST_F(MainWindow, ValuesSurvivePanelChanges) {
  Choose(cmbFrequenza, L"6");
  form.SetText(txtIstruzioniNormali, L"12");
  form.SetText(txtTempoTMR0, L"1,5");
  for (int m : {mnu_2, mnu_3, mnu_4, mnu_1, mnu_1}) SendMessageW(form.hwnd(), WM_COMMAND, m, 0);
  EXPECT_EQ(form.Text(cmbFrequenza), L"6");
  EXPECT_EQ(form.Text(txtIstruzioniNormali), L"12");
  EXPECT_EQ(form.Text(txtTempoTMR0), L"1,5");
}

TEST_F(MainWindow, TabCyclesWithinTheActivePanel) {
  const std::vector<std::vector<int>> cycles = {
      {cmbFrequenza, txtIstruzioniNormali, txtIstruzioniSalto, cmdCalcola1, txtTempoDiProgramma},
      {cmbFrequenza2, txtValoreTMR0, txtValorePrescaler, cmdCalcola2, txtTempoTMR0},
      {cmbFrequenza3, txtTemporizzazione, txtValorePrescaler2, cmdCalcola3, txtValoreDaInserireTMR0,
       txtMoltiplicatore},
      {cmbFrequenza4, txtNumeroIstruzioni, txtRipetizioni, cmdCalcola4, txtTempoTotale, txtTempodiciclo},
  };
  for (int k = 1; k <= 4; ++k) {
    SendMessageW(form.hwnd(), WM_COMMAND, kMenus[k - 1], 0);
    const auto& cycle = cycles[k - 1];
    form.Focus(cycle[0]);
    for (size_t i = 1; i <= cycle.size(); ++i) {
      zxtest::PressKey(VK_TAB);
      zxtest::Pump(30);
      EXPECT_EQ(Focused(), cycle[i % cycle.size()]) << "panel " << k << " step " << i;
    }
  }
}

TEST_F(MainWindow, FunctionKeysSelectPanelsWhateverHasTheFocus) {
  form.Focus(txtIstruzioniSalto);
  zxtest::PressKey(VK_F4);
  zxtest::Pump(50);
  EXPECT_EQ(form.PannelloAttivo(), 3);
  EXPECT_TRUE(form.IsChecked(mnu_3));
  form.Focus(txtTemporizzazione);
  zxtest::PressKey(VK_F5);
  zxtest::Pump(50);
  EXPECT_EQ(form.PannelloAttivo(), 4);
  zxtest::PressKey(VK_F2);
  zxtest::Pump(50);
  EXPECT_EQ(form.PannelloAttivo(), 1);
  EXPECT_EQ(Focused(), cmbFrequenza);
}

TEST_F(MainWindow, KeyFilterLetsOnlyDigitsAndBackspaceThrough) {
  for (int box : {txtIstruzioniNormali, txtIstruzioniSalto}) {
    form.Focus(box);
    zxtest::TypeText(L"1-+.,a 2E\x00E8");
    zxtest::Pump(30);
    EXPECT_EQ(form.Text(box), L"12");
    zxtest::PressKey(VK_BACK);
    zxtest::Pump(30);
    EXPECT_EQ(form.Text(box), L"1");
  }
  // Keys without a character keep their effect: Home then a digit inserts in front.
  zxtest::PressKey(VK_HOME);
  zxtest::TypeText(L"9");
  zxtest::Pump(30);
  EXPECT_EQ(form.Text(txtIstruzioniSalto), L"91");
}

// An input method's finished text (here Wine's own IME, completing a
// composition) reaches the box once, only its ASCII digits typed.
TEST_F(MainWindow, InputMethodResultKeepsOnlyItsDigits) {
  HWND box = form.Control(txtIstruzioniNormali);
  form.Focus(txtIstruzioniNormali);
  HIMC context = ImmGetContext(box);
  ASSERT_NE(context, nullptr);
  wchar_t text[] = L"1a\xFF12" L"3\x3042";
  EXPECT_TRUE(ImmSetCompositionStringW(context, SCS_SETSTR, text, sizeof(text) - sizeof(wchar_t), nullptr, 0));
  EXPECT_TRUE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  ImmReleaseContext(box, context);
  zxtest::Pump(50);
  EXPECT_EQ(form.Text(txtIstruzioniNormali), L"13");
}

TEST_F(MainWindow, ClipboardKeysDoNothingButAContextMenuPasteIsNotFiltered) {
  form.SetText(txtTempoTMR0, L"xyz");
  SendMessageW(form.Control(txtTempoTMR0), EM_SETSEL, 0, -1);
  SendMessageW(form.Control(txtTempoTMR0), WM_COPY, 0, 0);
  form.Focus(txtIstruzioniNormali);
  form.SetText(txtIstruzioniNormali, L"5");
  SendMessageW(form.Control(txtIstruzioniNormali), EM_SETSEL, 0, -1);
  zxtest::PressKey('V', /*ctrl=*/true);
  zxtest::PressKey('X', /*ctrl=*/true);
  zxtest::PressKey(VK_RETURN);
  zxtest::PressKey(VK_ESCAPE);
  zxtest::Pump(30);
  EXPECT_EQ(form.Text(txtIstruzioniNormali), L"5");
  SendMessageW(form.Control(txtIstruzioniNormali), WM_PASTE, 0, 0);
  EXPECT_EQ(form.Text(txtIstruzioniNormali), L"xyz");
}

TEST_F(MainWindow, UnfilteredBoxesTakeAnyCharacter) {
  SendMessageW(form.hwnd(), WM_COMMAND, mnu_3, 0);
  form.Focus(txtTemporizzazione);
  zxtest::TypeText(L"-1,5e");
  zxtest::Pump(30);
  EXPECT_EQ(form.Text(txtTemporizzazione), L"-1,5e");
}

TEST_F(MainWindow, MissingInputWarnsThenMovesTheFocus) {
  form.SetText(txtTempoDiProgramma, L"1000");
  int focusWhileShown = -1;
  seams.onShow = [&](const forms::ShownMessage&) { focusWhileShown = Focused(); };
  form.Focus(cmdCalcola1);
  Press(cmdCalcola1);
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].text, L"Inserire tutti i campi");
  EXPECT_EQ(seams.Shown()[0].title, L"ZORNAVEX");
  EXPECT_EQ(seams.Shown()[0].style, 64u);
  EXPECT_EQ(focusWhileShown, cmdCalcola1);  // moved only once the box is closed
  EXPECT_EQ(Focused(), cmbFrequenza);
  EXPECT_EQ(form.Text(txtTempoDiProgramma), L"1000");

  Choose(cmbFrequenza, L"4");
  Press(cmdCalcola1);
  EXPECT_EQ(Focused(), txtIstruzioniNormali);
  form.SetText(txtIstruzioniNormali, L"1");
  Press(cmdCalcola1);
  EXPECT_EQ(Focused(), txtIstruzioniSalto);
  EXPECT_EQ(seams.Shown().size(), 3u);
  EXPECT_EQ(form.Text(txtTempoDiProgramma), L"1000");
}

TEST_F(MainWindow, CalculatesWithTheLocaleSeparatorAndKeepsTheFocus) {
  Choose(cmbFrequenza, L"6");
  form.SetText(txtIstruzioniNormali, L"1");
  form.SetText(txtIstruzioniSalto, L"0");
  form.Focus(cmdCalcola1);
  Press(cmdCalcola1);
  EXPECT_TRUE(seams.Shown().empty());
  const wchar_t sep = Module1::SeparatoreDecimale();
  EXPECT_EQ(form.Text(txtTempoDiProgramma), std::wstring(L"666") + sep + L"667");
  EXPECT_EQ(Focused(), cmdCalcola1);
}

TEST_F(MainWindow, RangeWarningsEmptyAndFocusTheOffendingBox) {
  SendMessageW(form.hwnd(), WM_COMMAND, mnu_2, 0);
  Choose(cmbFrequenza2, L"4");
  form.SetText(txtTempoTMR0, L"65280");
  form.SetText(txtValoreTMR0, L"256");
  form.SetText(txtValorePrescaler, L"999");
  Press(cmdCalcola2);
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].text, L"Il valore inserito è troppo alto\r\nDeve essere compreso tra 0 e 255");
  EXPECT_EQ(form.Text(txtValoreTMR0), L"");
  EXPECT_EQ(form.Text(txtValorePrescaler), L"999");
  EXPECT_EQ(Focused(), txtValoreTMR0);

  form.SetText(txtValoreTMR0, L"255");
  form.SetText(txtValorePrescaler, L"257");
  Press(cmdCalcola2);
  ASSERT_EQ(seams.Shown().size(), 2u);
  EXPECT_EQ(seams.Shown()[1].text, L"Il valore inserito è troppo alto\r\nDeve essere compreso tra 0 e 256");
  EXPECT_EQ(form.Text(txtValorePrescaler), L"");
  EXPECT_EQ(Focused(), txtValorePrescaler);
  EXPECT_EQ(form.Text(txtTempoTMR0), L"65280");
}

TEST_F(MainWindow, FaultsAreReportedAndNoResultIsWritten) {
  SendMessageW(form.hwnd(), WM_COMMAND, mnu_4, 0);
  Choose(cmbFrequenza4, L"10");
  form.SetText(txtNumeroIstruzioni, L"3");
  form.SetText(txtRipetizioni, L"2");
  Press(cmdCalcola4);
  EXPECT_EQ(form.Text(txtTempoTotale), L"600");
  EXPECT_EQ(form.Text(txtTempodiciclo), L"300");

  form.SetText(txtNumeroIstruzioni, L"1E200");
  form.SetText(txtRipetizioni, L"1E200");
  form.Focus(txtRipetizioni);
  Press(cmdCalcola4);
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].text, L"Overflow");
  EXPECT_EQ(seams.Shown()[0].title, L"ZORNAVEX");
  EXPECT_EQ(seams.Shown()[0].style, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_EQ(form.Text(txtTempoTotale), L"600");
  EXPECT_EQ(form.Text(txtTempodiciclo), L"300");
  EXPECT_EQ(seams.Ends(), 0);

  SendMessageW(form.hwnd(), WM_COMMAND, mnu_3, 0);
  Choose(cmbFrequenza3, L"4");
  form.SetText(txtTemporizzazione, L"100");
  form.SetText(txtValorePrescaler2, L"0");
  Press(cmdCalcola3);
  EXPECT_EQ(seams.Shown().back().text, L"Divisione per zero");
  form.SetText(txtValorePrescaler2, L"uno");
  Press(cmdCalcola3);
  EXPECT_EQ(seams.Shown().back().text, L"Tipo non corrispondente");
  EXPECT_EQ(form.Text(txtValoreDaInserireTMR0), L"");
}

TEST_F(MainWindow, PreloadPanelWarnsEmptiesAndKeepsItsResults) {
  SendMessageW(form.hwnd(), WM_COMMAND, mnu_3, 0);
  Choose(cmbFrequenza3, L"4");
  form.SetText(txtTemporizzazione, L"1000");
  form.SetText(txtValorePrescaler2, L"2");
  Press(cmdCalcola3);
  EXPECT_EQ(form.Text(txtValoreDaInserireTMR0), L"0");
  EXPECT_EQ(form.Text(txtMoltiplicatore), L"2");

  form.SetText(txtValorePrescaler2, L"257");
  form.Focus(cmdCalcola3);
  Press(cmdCalcola3);
  ASSERT_EQ(seams.Shown().size(), 1u);
  EXPECT_EQ(seams.Shown()[0].text, L"Il valore inserito è troppo alto\r\nDeve essere compreso tra 0 e 256");
  EXPECT_EQ(form.Text(txtValorePrescaler2), L"");
  EXPECT_EQ(Focused(), txtValorePrescaler2);
  EXPECT_EQ(form.Text(txtTemporizzazione), L"1000");
  EXPECT_EQ(form.Text(txtValoreDaInserireTMR0), L"0");
  EXPECT_EQ(form.Text(txtMoltiplicatore), L"2");

  // A load value empties the multiplier box.
  form.SetText(txtValorePrescaler2, L"1");
  form.SetText(txtTemporizzazione, L"100");
  Press(cmdCalcola3);
  EXPECT_EQ(form.Text(txtValoreDaInserireTMR0), L"155");
  EXPECT_EQ(form.Text(txtMoltiplicatore), L"");
}

TEST_F(MainWindow, EnterAndEscPressNoButton) {
  Choose(cmbFrequenza, L"4");
  form.SetText(txtIstruzioniNormali, L"1");
  form.SetText(txtIstruzioniSalto, L"0");
  for (int where : {txtIstruzioniSalto, cmbFrequenza}) {
    form.Focus(where);
    zxtest::PressKey(VK_RETURN);
    zxtest::PressKey(VK_ESCAPE);
    zxtest::Pump(50);
  }
  EXPECT_EQ(form.Text(txtTempoDiProgramma), L"");
  EXPECT_TRUE(seams.Shown().empty());
}

TEST_F(MainWindow, DisabledPanelButtonsCannotBeClicked) {
  Choose(cmbFrequenza, L"4");
  form.SetText(txtIstruzioniNormali, L"1");
  form.SetText(txtIstruzioniSalto, L"0");
  SendMessageW(form.hwnd(), WM_COMMAND, mnu_2, 0);
  zxtest::MouseClick(form.Control(cmdCalcola1));
  EXPECT_EQ(form.Text(txtTempoDiProgramma), L"");
  SendMessageW(form.hwnd(), WM_COMMAND, mnu_1, 0);
  zxtest::MouseClick(form.Control(cmdCalcola1));
  EXPECT_EQ(form.Text(txtTempoDiProgramma), L"1000");
}

TEST_F(MainWindow, ChiudiAndTheCloseButtonEndTheProgram) {
  SendMessageW(form.hwnd(), WM_COMMAND, mnu_Chiudi, 0);
  EXPECT_EQ(seams.Ends(), 1);
  SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
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
  HWND frame = form.Control(Frame1);
  zxtest::Pump(50);
  ASSERT_GT(RedCaptionOnScreen(frame), 20);
  struct Case {
    const char* name;
    HWND to;
    UINT msg;
    WPARAM wp;
  };
  const std::wstring caption = form.Text(Frame1);
  const Case cases[] = {
      {"WM_CHANGEUISTATE set", form.hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEACCEL | UISF_HIDEFOCUS)},
      {"WM_CHANGEUISTATE clear", form.hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS)},
      {"WM_UPDATEUISTATE", frame, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL)},
      {"WM_THEMECHANGED", frame, WM_THEMECHANGED, 0},
      {"WM_SYSCOLORCHANGE", frame, WM_SYSCOLORCHANGE, 0},
      {"WM_ENABLE", frame, WM_ENABLE, TRUE},
  };
  for (const Case& c : cases) {
    SendMessageW(c.to, c.msg, c.wp, 0);
    zxtest::Pump(40);
    EXPECT_GT(RedCaptionOnScreen(frame), 20) << c.name;
  }
  SendMessageW(frame, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
  zxtest::Pump(40);
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
