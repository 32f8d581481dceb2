// The main window in process: start-up state, panel selection, focus and
// tab order, key filters as the user meets them.
#include <gtest/gtest.h>

#include <windows.h>
#include <imm.h>

#include <map>
#include <string>
#include <vector>

#include "Module1.h"
#include "main_window_fixture.h"

using namespace zornavex;

namespace {

using MainWindow = zxtest::ShownMainWindow;
constexpr forms::ColourValue kRed = 255, kInactive = 0x8000000F, kDefault = 0x80000012;
constexpr int kFrames[] = {Frame1, Frame2, Frame3, Frame4};
constexpr int kMenus[] = {mnu_1, mnu_2, mnu_3, mnu_4};

// Every control of a panel (its id / 100) is enabled, or every one disabled.
void ExpectPanel(const frmAvvio& main, int frame, bool enabled) {
  SCOPED_TRACE(testing::Message() << "panel " << frame);
  int controls = 0;
  for (int id = frame; id < frame + 100; ++id) {
    if (HWND h = main.Control(id)) {
      ++controls;
      EXPECT_EQ(IsWindowEnabled(h) != FALSE, enabled) << "control " << id;
    }
  }
  // The frame and at least its list, boxes and button.
  EXPECT_GE(controls, 5) << "no control has this panel's ids";
}

TEST_F(MainWindow, StartsWithPanelOneActiveAndFocusOnItsList) {
  EXPECT_EQ(Module1::ColoreFrameAttivo, kRed);
  ExpectPanel(main, Frame1, true);
  for (int f : {Frame2, Frame3, Frame4}) ExpectPanel(main, f, false);
  EXPECT_EQ(main.ForeColour(Frame1), kRed);
  for (int f : {Frame2, Frame3, Frame4}) EXPECT_EQ(main.ForeColour(f), kDefault);
  EXPECT_TRUE(main.IsChecked(mnu_1));
  for (int m : {mnu_2, mnu_3, mnu_4}) EXPECT_FALSE(main.IsChecked(m));
  EXPECT_EQ(Focused(), cmbFrequenza);
  for (int list : {cmbFrequenza, cmbFrequenza2, cmbFrequenza3, cmbFrequenza4}) {
    EXPECT_EQ(main.Text(list), L"");
    EXPECT_EQ(SendMessageW(main.Control(list), CB_GETCOUNT, 0, 0), 7);
  }
  for (int box : {txtTempoDiProgramma, txtTempoTMR0, txtValoreDaInserireTMR0, txtMoltiplicatore, txtTempoTotale,
                  txtTempodiciclo})
    EXPECT_TRUE(main.IsReadOnly(box));
  EXPECT_FALSE(main.IsReadOnly(txtIstruzioniNormali));
}

TEST_F(MainWindow, ClientAreaAndMenuMatchTheDesign) {
  RECT r{};
  GetClientRect(main.hwnd(), &r);
  EXPECT_EQ(r.right, main.Scale(545));
  EXPECT_EQ(r.bottom, main.Scale(380));
  HMENU bar = GetMenu(main.hwnd());
  ASSERT_EQ(GetMenuItemCount(bar), 3);
  wchar_t text[128]{};
  GetMenuStringW(bar, 0, text, 128, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Chiudi");
  EXPECT_EQ(GetSubMenu(bar, 0), nullptr);  // a command on the bar itself
  GetMenuStringW(bar, mnu_3, text, 128, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Calcolo del valore da caricare nel TMR0\tF4");
  GetMenuStringW(bar, mnu_guida, text, 128, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Guida\tF1");
  const LONG_PTR style = GetWindowLongPtrW(main.hwnd(), GWL_STYLE);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_EQ(SendMessageW(main.Control(txtIstruzioniNormali), EM_GETLIMITTEXT, 0, 0), 12);
  EXPECT_EQ(SendMessageW(main.Control(txtValoreTMR0), EM_GETLIMITTEXT, 0, 0), 3);
}

// Frames lie above their controls, where a screen reader looks for a
// control's group, and are only their edge and caption, so they hide nothing.
TEST_F(MainWindow, FramesAreOnlyTheirEdgeAboveEveryControl) {
  std::vector<int> zOrder;
  for (HWND h = GetWindow(main.hwnd(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) zOrder.push_back(GetDlgCtrlID(h));
  ASSERT_GE(zOrder.size(), 4u);
  EXPECT_EQ(std::vector<int>(zOrder.begin(), zOrder.begin() + 4), std::vector<int>(std::begin(kFrames), std::end(kFrames)));
  for (int id : std::vector<int>(zOrder.begin() + 4, zOrder.end())) {
    HWND frame = main.Control(id / 100 * 100);
    RECT control{}, origin{};
    GetWindowRect(main.Control(id), &control);
    GetWindowRect(frame, &origin);
    OffsetRect(&control, -origin.left, -origin.top);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(frame, shape), ERROR) << id;
    EXPECT_FALSE(RectInRegion(shape, &control)) << id;
    DeleteObject(shape);
  }
}

// A control's tooltip says what its label says (a button: its caption);
// two result boxes differ by design. Labels have none.
TEST_F(MainWindow, ControlsShowTheirLabelsAsToolTips) {
  const std::map<int, std::wstring> byDesign = {{txtTempoDiProgramma, L"Tempo di programmazione"},
                                                {txtMoltiplicatore, L"Valore da inserire nel TMR0"}};
  int controls = 0;
  for (HWND h = GetWindow(main.hwnd(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
    const int id = GetDlgCtrlID(h);
    wchar_t cls[32]{};
    GetClassNameW(h, cls, 32);
    const std::wstring kind = cls;
    if (kind == L"Static") {
      EXPECT_EQ(main.ToolTipText(id), L"") << "label " << id;
    }
    if (!(GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP)) continue;
    ++controls;
    const auto special = byDesign.find(id);
    const std::wstring label = kind == L"Button" ? main.Text(id) : zxtest::ReadText(GetWindow(h, GW_HWNDPREV));
    EXPECT_EQ(main.ToolTipText(id), special != byDesign.end() ? special->second : label) << "control " << id;
  }
  EXPECT_EQ(controls, 22);
  EXPECT_EQ(main.ToolTipText(cmbFrequenza), L"Frequenza in Mhz");  // one text for the lists' labels and tooltips
  EXPECT_EQ(main.Text(lblPER), L"X");
  EXPECT_EQ(main.Text(Frame4), L"Calcolo del WDT");
}

TEST_F(MainWindow, PanelSelectionFromEveryState) {
  constexpr int kFirstInput[] = {txtIstruzioniNormali, txtValoreTMR0, txtTemporizzazione, txtNumeroIstruzioni};
  for (int from = 1; from <= 4; ++from) {
    for (int to = 1; to <= 4; ++to) {
      SendMessageW(main.hwnd(), WM_COMMAND, kMenus[from - 1], 0);
      main.Focus(kFirstInput[from - 1]);
      // A control of a panel that is being disabled cannot keep the focus.
      const int focusAfter = to == 1 ? cmbFrequenza : from == to ? kFirstInput[from - 1] : 0;
      SendMessageW(main.hwnd(), WM_COMMAND, kMenus[to - 1], 0);
      for (int j = 1; j <= 4; ++j) {
        ExpectPanel(main, kFrames[j - 1], j == to);
        EXPECT_EQ(main.ForeColour(kFrames[j - 1]), j == to ? kRed : kInactive) << from << "->" << to;
        EXPECT_EQ(main.IsChecked(kMenus[j - 1]), j == to);
      }
      EXPECT_EQ(main.PannelloAttivo(), to);
      // Only the first panel takes the focus to its list.
      EXPECT_EQ(GetFocus() == main.hwnd() ? 0 : Focused(), focusAfter) << from << "->" << to;
    }
  }
}

TEST_F(MainWindow, ValuesSurvivePanelChanges) {
  Choose(cmbFrequenza, L"6");
  main.SetText(txtIstruzioniNormali, L"12");
  main.SetText(txtTempoTMR0, L"1,5");
  for (int m : {mnu_2, mnu_3, mnu_4, mnu_1, mnu_1}) SendMessageW(main.hwnd(), WM_COMMAND, m, 0);
  EXPECT_EQ(main.Text(cmbFrequenza), L"6");
  EXPECT_EQ(main.Text(txtIstruzioniNormali), L"12");
  EXPECT_EQ(main.Text(txtTempoTMR0), L"1,5");
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
    SendMessageW(main.hwnd(), WM_COMMAND, kMenus[k - 1], 0);
    const auto& cycle = cycles[k - 1];
    main.Focus(cycle[0]);
    for (size_t i = 1; i <= cycle.size(); ++i) {
      zxtest::PressKey(VK_TAB);
      EXPECT_TRUE(FocusReaches(cycle[i % cycle.size()])) << "panel " << k << " step " << i;
    }
  }
}

TEST_F(MainWindow, FunctionKeysSelectPanelsWhateverHasTheFocus) {
  main.Focus(txtIstruzioniSalto);
  zxtest::PressKey(VK_F4);
  EXPECT_TRUE(zxtest::Eventually([&] { return main.PannelloAttivo() == 3; }, "F4 selects panel 3"));
  EXPECT_TRUE(main.IsChecked(mnu_3));
  main.Focus(txtTemporizzazione);
  zxtest::PressKey(VK_F5);
  EXPECT_TRUE(zxtest::Eventually([&] { return main.PannelloAttivo() == 4; }, "F5 selects panel 4"));
  zxtest::PressKey(VK_F2);
  EXPECT_TRUE(FocusReaches(cmbFrequenza));
  EXPECT_EQ(main.PannelloAttivo(), 1);
}

TEST_F(MainWindow, KeyFilterLetsOnlyDigitsAndBackspaceThrough) {
  for (int box : {txtIstruzioniNormali, txtIstruzioniSalto}) {
    main.Focus(box);
    zxtest::TypeText(L"1-+.,a 2E\x00E8");
    EXPECT_TRUE(TextBecomes(box, L"12"));
    zxtest::PressKey(VK_BACK);
    EXPECT_TRUE(TextBecomes(box, L"1"));
  }
  // Keys without a character keep their effect: Home then a digit inserts in front.
  zxtest::PressKey(VK_HOME);
  zxtest::TypeText(L"9");
  EXPECT_TRUE(TextBecomes(txtIstruzioniSalto, L"91"));
}

// An input method's finished text (here Wine's own IME, completing a
// composition) reaches the box once, only its ASCII digits typed.
TEST_F(MainWindow, InputMethodResultKeepsOnlyItsDigits) {
  HWND box = main.Control(txtIstruzioniNormali);
  main.Focus(txtIstruzioniNormali);
  HIMC context = ImmGetContext(box);
  ASSERT_NE(context, nullptr);
  wchar_t text[] = L"1a\xFF12" L"3\x3042";
  EXPECT_TRUE(ImmSetCompositionStringW(context, SCS_SETSTR, text, sizeof(text) - sizeof(wchar_t), nullptr, 0));
  EXPECT_TRUE(ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0));
  ImmReleaseContext(box, context);
  EXPECT_TRUE(TextBecomes(txtIstruzioniNormali, L"13"));
}

TEST_F(MainWindow, ClipboardKeysDoNothingButAContextMenuPasteIsNotFiltered) {
  main.SetText(txtTempoTMR0, L"xyz");
  SendMessageW(main.Control(txtTempoTMR0), EM_SETSEL, 0, -1);
  SendMessageW(main.Control(txtTempoTMR0), WM_COPY, 0, 0);
  main.Focus(txtIstruzioniNormali);
  main.SetText(txtIstruzioniNormali, L"5");
  SendMessageW(main.Control(txtIstruzioniNormali), EM_SETSEL, 0, -1);
  zxtest::PressKey('V', /*ctrl=*/true);
  zxtest::PressKey('X', /*ctrl=*/true);
  zxtest::PressKey(VK_RETURN);
  zxtest::PressKey(VK_ESCAPE);
  zxtest::Settle();  // nothing may come of these keys
  EXPECT_EQ(main.Text(txtIstruzioniNormali), L"5");
  SendMessageW(main.Control(txtIstruzioniNormali), WM_PASTE, 0, 0);
  EXPECT_EQ(main.Text(txtIstruzioniNormali), L"xyz");
}

TEST_F(MainWindow, UnfilteredBoxesTakeAnyCharacter) {
  SendMessageW(main.hwnd(), WM_COMMAND, mnu_3, 0);
  main.Focus(txtTemporizzazione);
  zxtest::TypeText(L"-1,5e");
  EXPECT_TRUE(TextBecomes(txtTemporizzazione, L"-1,5e"));
}

}  // namespace
