// The hidden certificate sequence on the real main window, in process.
#include <gtest/gtest.h>

#include <functional>

#include "Modal.h"
#include "frmAvvio_info.h"
#include "main_window_fixture.h"
#include "resource.h"

using namespace zornavex;

namespace {

constexpr int kBoxes[] = {txtTempoDiProgramma, txtTempoTMR0, txtValoreDaInserireTMR0};

class CertificateTest : public zxtest::ShownMainWindow {
 protected:
  void SetUp() override {
    ShownMainWindow::SetUp();
    forms::SetModalHandler([this](forms::Form& f) {
      ++openings;
      auto* certificate = dynamic_cast<frmCertificato*>(&f);
      ASSERT_NE(certificate, nullptr);
      zxtest::Settle();
      if (inside) inside(*certificate);
    });
  }

  // A list is chosen the way a user must: its panel made active first.
  void Choose(int list, const wchar_t* item) {
    main.Focus(cmbFrequenza);
    PostMessageW(GetFocus(), WM_KEYDOWN, static_cast<WPARAM>(VK_F2 + list / 100 - 1), 0);
    zxtest::Settle();
    ASSERT_EQ(main.PannelloAttivo(), list / 100);
    ShownMainWindow::Choose(list, item);
  }
  void AllListsOnTen() {
    for (int list : {cmbFrequenza, cmbFrequenza2, cmbFrequenza3, cmbFrequenza4}) Choose(list, L"10");
  }
  // A double-click at a point of the client area, pixels at 96 DPI.
  void DoubleClickAt(int x, int y) {
    PostMessageW(main.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(main.Scale(x), main.Scale(y)));
    zxtest::Settle();
  }
  // The gap between the left and the right column of panels.
  void DoubleClickSurface() { DoubleClickAt(270, 190); }
  // Characters as typed into a box: a read-only box takes none.
  void Type(int box, const wchar_t* text) {
    for (const wchar_t* c = text; *c; ++c) PostMessageW(main.Control(box), WM_CHAR, *c, 0);
    zxtest::Settle();
  }
  void TypeWords(const wchar_t* a, const wchar_t* b, const wchar_t* c) {
    for (int box : kBoxes) main.SetText(box, L"");
    Type(txtTempoDiProgramma, a);
    Type(txtTempoTMR0, b);
    Type(txtValoreDaInserireTMR0, c);
  }
  void Unlock() {
    AllListsOnTen();
    DoubleClickSurface();
    for (int box : kBoxes) ASSERT_FALSE(main.IsReadOnly(box));
  }

  int openings = 0;
  std::function<void(frmCertificato&)> inside;
};

TEST_F(CertificateTest, ThreeListsOnTenUnlockNothing) {
  Choose(cmbFrequenza, L"10");
  Choose(cmbFrequenza2, L"10");
  Choose(cmbFrequenza3, L"10");
  DoubleClickSurface();  // fourth list without a choice
  Choose(cmbFrequenza4, L"9");
  DoubleClickSurface();
  for (int box : kBoxes) EXPECT_TRUE(main.IsReadOnly(box));
  Type(txtTempoDiProgramma, L"Corvane");
  EXPECT_EQ(main.Text(txtTempoDiProgramma), L"");
  EXPECT_EQ(openings, 0);
}

TEST_F(CertificateTest, UnlockingDoubleClickMakesOnlyThreeBoxesEditableAndNeverOpens) {
  Choose(cmbFrequenza, L"10");
  main.SetText(txtIstruzioniNormali, L"5");
  main.SetText(txtIstruzioniSalto, L"1");
  main.cmdCalcola1_Click();
  ASSERT_NE(main.Text(txtTempoDiProgramma), L"");
  AllListsOnTen();
  DoubleClickSurface();
  for (int box : kBoxes) EXPECT_FALSE(main.IsReadOnly(box));
  for (int box : {txtMoltiplicatore, txtTempoTotale, txtTempodiciclo}) EXPECT_TRUE(main.IsReadOnly(box));
  EXPECT_EQ(openings, 0);
  // Editable for the rest of the run, whatever the lists say now.
  Choose(cmbFrequenza2, L"4");
  DoubleClickSurface();
  for (int box : kBoxes) EXPECT_FALSE(main.IsReadOnly(box));
}

TEST_F(CertificateTest, OnlyTheEnabledPanelKeepsItsDoubleClicks) {
  AllListsOnTen();  // panel 4 is the active one now
  DoubleClickAt(400, 330);  // inside the enabled panel 4, on its empty area
  for (int box : kBoxes) EXPECT_TRUE(main.IsReadOnly(box));
  DoubleClickAt(100, 30);  // inside the disabled panel 1: the window's surface
  for (int box : kBoxes) EXPECT_FALSE(main.IsReadOnly(box));
}

// A disabled control takes no mouse input: a real double-click on a box of a
// disabled panel reaches the window beneath it, as on Windows.
TEST_F(CertificateTest, RealDoubleClickOnADisabledBoxIsTheWindows) {
  AllListsOnTen();
  HWND box = main.Control(txtIstruzioniNormali);
  ASSERT_FALSE(IsWindowEnabled(box));
  zxtest::MouseDoubleClick(box);
  EXPECT_TRUE(zxtest::Eventually([&] { return !main.IsReadOnly(txtTempoDiProgramma); }, "unlocked"));
  for (int b : kBoxes) EXPECT_FALSE(main.IsReadOnly(b));
}

TEST_F(CertificateTest, WordsMustBeExactAndInTheirOwnBoxes) {
  Unlock();
  TypeWords(L"CORVANE", L"PELMO", L"QUIRSA");
  DoubleClickSurface();
  TypeWords(L"Corvane ", L"Pelmo", L"Quirsa");
  DoubleClickSurface();
  TypeWords(L"Corvane", L" Pelmo", L"Quirsa");
  DoubleClickSurface();
  TypeWords(L"Pelmo", L"Corvane", L"Quirsa");
  DoubleClickSurface();
  EXPECT_EQ(openings, 0);
  TypeWords(L"Corvane", L"Pelmo", L"Quirsa");
  DoubleClickSurface();
  EXPECT_EQ(openings, 1);
}

TEST_F(CertificateTest, ACalculationOverwritesAWord) {
  Unlock();
  TypeWords(L"Corvane", L"Pelmo", L"Quirsa");
  Choose(cmbFrequenza2, L"4");
  main.SetText(txtValoreTMR0, L"100");
  main.SetText(txtValorePrescaler, L"2");
  main.cmdCalcola2_Click();
  EXPECT_EQ(main.Text(txtTempoTMR0), L"200");
  DoubleClickSurface();
  EXPECT_EQ(openings, 0);
}

TEST_F(CertificateTest, OpensAfterTheListsChangeAndCloseButtonKeepsTheProgram) {
  Unlock();
  Choose(cmbFrequenza3, L"5");
  TypeWords(L"Corvane", L"Pelmo", L"Quirsa");
  inside = [&](frmCertificato& c) {
    wchar_t caption[64]{};
    GetWindowTextW(c.hwnd(), caption, 64);
    EXPECT_STREQ(caption, L"Certificato di Autenticit\u00e0");
    RECT r{};
    GetClientRect(c.hwnd(), &r);
    EXPECT_EQ(r.right, c.Scale(309));
    EXPECT_EQ(r.bottom, c.Scale(244));
    const LONG_PTR style = GetWindowLongPtrW(c.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    // Centred over the main window.
    RECT cr{}, mr{};
    GetWindowRect(c.hwnd(), &cr);
    GetWindowRect(main.hwnd(), &mr);
    EXPECT_NEAR((cr.left + cr.right) / 2, (mr.left + mr.right) / 2, 1);
    EXPECT_NEAR((cr.top + cr.bottom) / 2, (mr.top + mr.bottom) / 2, 1);
    // Its own icon, not the application's.
    EXPECT_NE(SendMessageW(c.hwnd(), WM_GETICON, ICON_BIG, 0), SendMessageW(main.hwnd(), WM_GETICON, ICON_BIG, 0));
    EXPECT_NE(FindResourceW(forms::Instance(), MAKEINTRESOURCEW(IDI_CERTIFICATO), MAKEINTRESOURCEW(14)), nullptr);
    EXPECT_EQ(GetDlgCtrlID(GetFocus()), frmCertificato::cmdOK);
    EXPECT_FALSE(IsWindowEnabled(main.hwnd()));
    EXPECT_EQ(c.ForeColour(frmCertificato::lblDichiarazione), 0x80000008u);
    EXPECT_NE(c.Text(frmCertificato::lblDichiarazione).find(L"Enrico Vassallo"), std::wstring::npos);
    EXPECT_NE(c.Text(frmCertificato::lblDichiarazione1).find(L"Enrico Vassallo"), std::wstring::npos);
    SendMessageW(c.hwnd(), WM_CLOSE, 0, 0);
    zxtest::Settle();
    EXPECT_FALSE(c.IsLoaded());
  };
  DoubleClickSurface();
  EXPECT_EQ(openings, 1);
  EXPECT_EQ(seams.Ends(), 0);
  EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
  for (int box : kBoxes) EXPECT_FALSE(main.IsReadOnly(box));
  EXPECT_EQ(main.Text(txtTempoTMR0), L"Pelmo");

  // The words are still there: the next double-click opens it again, and
  // Enter presses OK, which ends the program.
  inside = [&](frmCertificato&) {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_RETURN, 0);
    zxtest::Settle();
  };
  DoubleClickSurface();
  EXPECT_EQ(openings, 2);
  EXPECT_EQ(seams.Ends(), 1);
  EXPECT_TRUE(seams.Shown().empty());
}

}  // namespace
