// ZORNAVEX's windows as a screen reader and a dark, high-contrast scheme
// show them, in process under Wine (run by a11y.sh, which sets the scheme).
// Usage: zornavex_a11y_tests HELPFILE
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

#include "Accessibility.h"
#include "Modal.h"
#include "a11y_support.h"
#include "frmAvvio_info.h"
#include "main_window_fixture.h"

using namespace zornavex;

namespace {

std::wstring g_helpFile;

// Wine 8's annotation service is a stub: where it refuses, the name that
// only annotation gives cannot be read here.
void ExpectAnnotated(const forms::Form& form) {
  const HRESULT hr = form.AnnotationResult();
  std::printf("annotation: 0x%08lx\n", static_cast<unsigned long>(hr));
  EXPECT_NE(hr, S_FALSE) << "no annotation after a screen reader asked";
  EXPECT_TRUE(hr == S_OK || hr == E_NOTIMPL) << std::hex << hr;
}

// A screen reader's in-process hook may ask for a window as soon as it is
// made, before its controls exist.
LRESULT CALLBACK AskOnCreate(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lp);
  wchar_t cls[16]{};
  if (code == HC_ACTION && m->message == WM_CREATE && GetClassNameW(m->hwnd, cls, 16) && lstrcmpW(cls, zxtest::kFormClass) == 0)
    SendMessageW(m->hwnd, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT));
  return CallNextHookEx(nullptr, code, wp, lp);
}

std::vector<HWND> g_toldOfColours;
LRESULT CALLBACK SpyColourChanges(int code, WPARAM wp, LPARAM lp) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
  if (code == HC_ACTION && m->message == WM_SYSCOLORCHANGE) g_toldOfColours.push_back(m->hwnd);
  return CallNextHookEx(nullptr, code, wp, lp);
}

class ZornavexA11y : public zxtest::ShownMainWindow {
 protected:
  void TearDown() override {
    a11y::HighContrast(main.hwnd(), false);
    ShownMainWindow::TearDown();
  }
};

// A box or list is named by the label made just before it, a button by its
// caption; the multiplier box, named by annotation, is checked below.
TEST_F(ZornavexA11y, EveryFocusableControlOfTheMainWindowIsNamed) {
  int named = 0;
  for (HWND c = GetWindow(main.hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!(GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP) || GetDlgCtrlID(c) == txtMoltiplicatore) continue;
    ++named;
    SCOPED_TRACE(testing::Message() << "control " << GetDlgCtrlID(c));
    wchar_t cls[32]{};
    GetClassNameW(c, cls, 32);
    const std::wstring kind = cls, label = zxtest::ReadText(GetWindow(c, GW_HWNDPREV));
    if (kind == L"Button") {
      EXPECT_EQ(a11y::Name(c), zxtest::ReadText(c));
      continue;
    }
    EXPECT_FALSE(label.empty());
    EXPECT_TRUE(a11y::LabelBefore(c, label)) << "not a label just before it";
    // Wine names a combo box by its own text; Windows by the label before it.
    EXPECT_TRUE(kind == L"ComboBox" || a11y::Name(c) == label) << testing::PrintToString(a11y::Name(c));
  }
  EXPECT_EQ(named, 21);  // every focusable control but the multiplier
  // The panel: the frame before it in z-order that holds it is its group.
  for (HWND c = GetWindow(main.hwnd(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!(GetWindowLongW(c, GWL_STYLE) & WS_TABSTOP)) continue;
    RECT box{}, frame{}, both{};
    GetWindowRect(c, &box);
    HWND group = GetWindow(c, GW_HWNDPREV);
    for (; group; group = GetWindow(group, GW_HWNDPREV)) {
      GetWindowRect(group, &frame);
      const bool isFrame = (GetWindowLongW(group, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
      if (isFrame && IntersectRect(&both, &box, &frame) && EqualRect(&both, &box)) break;
    }
    EXPECT_EQ(group, main.Control(GetDlgCtrlID(c) / 100 * 100)) << GetDlgCtrlID(c);
  }
  // The second result: "X" by its label, "Moltiplicatore" by annotation.
  HWND moltiplicatore = main.Control(txtMoltiplicatore);
  const std::wstring name = a11y::Name(moltiplicatore);
  EXPECT_NE(name, a11y::Name(main.Control(txtValoreDaInserireTMR0)));
  ExpectAnnotated(main);
  if (SUCCEEDED(main.AnnotationResult())) {
    EXPECT_NE(name.find(L"Moltiplicatore"), std::wstring::npos) << name;
  }
  EXPECT_EQ(a11y::Name(main.hwnd()), L"ZORNAVEX");
}

TEST_F(ZornavexA11y, DarkSchemeInHighContrastShowsEveryLabelAndTheActivePanel) {
  a11y::HighContrast(main.hwnd(), true);
  EXPECT_EQ(a11y::InvisibleTexts(main.hwnd()), std::vector<std::wstring>{});
  a11y::Shot(main.hwnd(), L"zornavex-main-hc");
  // The active panel's caption keeps a cue: it is no longer the plain text
  // colour of the others, and follows the panel.
  main.mnu_3_Click();
  zxtest::Settle();
  EXPECT_EQ(a11y::InvisibleTexts(main.hwnd()), std::vector<std::wstring>{});
  EXPECT_TRUE(a11y::Repaints(main.Control(Frame3), [](HWND frame) {
    a11y::HighContrast(GetParent(frame), false);
  }));
}

// A list draws its chosen item over the device context's background: in the
// dark scheme, with high contrast or without, enabled or not, its digits
// stand out from it once the focus has moved on.
TEST_F(ZornavexA11y, ChosenFrequenciesStayReadableInTheDarkScheme) {
  const std::pair<int, const wchar_t*> lists[] = {
      {cmbFrequenza, L"5"}, {cmbFrequenza2, L"6"}, {cmbFrequenza3, L"8"}, {cmbFrequenza4, L"10"}};
  for (const auto& [list, item] : lists) Choose(list, item);
  main.Focus(txtIstruzioniNormali);
  for (const bool on : {false, true}) {
    a11y::HighContrast(main.hwnd(), on);
    for (const auto& [list, item] : lists) {
      COMBOBOXINFO info{};
      info.cbSize = sizeof(info);
      ASSERT_TRUE(GetComboBoxInfo(main.Control(list), &info));
      MapWindowPoints(main.Control(list), nullptr, reinterpret_cast<POINT*>(&info.rcItem), 2);
      EXPECT_GE(a11y::Contrast(main.hwnd(), info.rcItem), 96) << list << (on ? " in high contrast" : "");
    }
  }
  a11y::Shot(main.hwnd(), L"zornavex-main-hc-lists");
}

TEST_F(ZornavexA11y, AboutIsADialogWithNamesFocusAndLabelsThatFollowHighContrast) {
  bool ran = false;
  forms::SetModalHandler([&](forms::Form& f) {
    ran = true;
    zxtest::Settle();
    HWND about = f.hwnd();
    EXPECT_EQ(a11y::Name(about), L"Informazioni su ZORNAVEX");
    EXPECT_EQ(a11y::Name(f.Control(frmAbout::cmdOK)), L"OK");
    EXPECT_EQ(a11y::Name(f.Control(frmAbout::picIcon)), L"Icona di ZORNAVEX");
    EXPECT_EQ(a11y::Name(f.Control(frmAbout::cmdSysInfo)), L"System Info...");
    ExpectAnnotated(f);
    // Asked before its controls existed, it names them as they are made.
    EXPECT_TRUE(f.Annotated(about));
    EXPECT_TRUE(f.Annotated(f.Control(frmAbout::picIcon)));
    // Its two black labels vanish on black outside high contrast, as the
    // design has them, and show as soon as high contrast is switched on.
    const auto dark = a11y::InvisibleTexts(about);
    EXPECT_EQ(dark.size(), 2u);
    a11y::HighContrast(about, true);
    EXPECT_EQ(a11y::InvisibleTexts(about), std::vector<std::wstring>{});
    a11y::Shot(about, L"zornavex-about-hc");
    // The picture shows the focus once the keyboard is in use.
    SendMessageW(about, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EXPECT_TRUE(a11y::Repaints(f.Control(frmAbout::picIcon), [](HWND icon) { SetFocus(icon); }));
    EXPECT_TRUE(a11y::Repaints(f.Control(frmAbout::picIcon), [](HWND icon) {
      SetFocus(GetDlgItem(GetParent(icon), frmAbout::cmdOK));
    }));
    f.Unload();
  });
  HHOOK ask = SetWindowsHookExW(WH_CALLWNDPROCRET, &AskOnCreate, nullptr, GetCurrentThreadId());
  ASSERT_NE(ask, nullptr);
  main.mnu_Informazioni_Click();
  UnhookWindowsHookEx(ask);
  EXPECT_TRUE(ran);
}

TEST_F(ZornavexA11y, CertificateAndHelpWindowAreNamed) {
  frmCertificato& cert = CertificateWindow();
  cert.Show();
  EXPECT_EQ(a11y::Name(cert.hwnd()), L"Certificato di Autenticit\x00E0");
  EXPECT_EQ(a11y::Name(cert.Control(frmCertificato::cmdOK)), L"OK");
  a11y::HighContrast(cert.hwnd(), true);
  EXPECT_EQ(a11y::InvisibleTexts(cert.hwnd()), std::vector<std::wstring>{});
  cert.Unload();

  frmGuida& help = HelpWindow();
  ASSERT_TRUE(help.Open(g_helpFile));
  HWND h = help.hwnd();
  EXPECT_EQ(a11y::Name(GetDlgItem(h, frmGuida::tabSchede)), L"Schede");
  EXPECT_EQ(a11y::Name(GetDlgItem(h, frmGuida::tvwSommario)), L"Sommario");
  EXPECT_EQ(a11y::Name(GetDlgItem(h, frmGuida::txtParola)), L"Parola da cercare:");
  EXPECT_EQ(a11y::Name(GetDlgItem(h, frmGuida::lstParole)), L"Indice");
  // The topic pane is named only by annotation; Wine reads its text.
  ExpectAnnotated(help);
  // Every part hears of new colours, with high contrast switched or not.
  g_toldOfColours.clear();
  HHOOK spy = SetWindowsHookExW(WH_CALLWNDPROC, &SpyColourChanges, nullptr, GetCurrentThreadId());
  ASSERT_NE(spy, nullptr);
  a11y::HighContrast(h, true);
  SendMessageW(h, WM_SYSCOLORCHANGE, 0, 0);
  UnhookWindowsHookEx(spy);
  int parts = 0;
  for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT), ++parts)
    EXPECT_GE(std::count(g_toldOfColours.begin(), g_toldOfColours.end(), c), 2) << GetDlgCtrlID(c);
  EXPECT_GE(parts, 5);  // tabs, contents, word, index, topic
  help.Unload();
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) {
    const int n = MultiByteToWideChar(CP_ACP, 0, argv[1], -1, nullptr, 0);
    g_helpFile.resize(static_cast<size_t>(n));
    MultiByteToWideChar(CP_ACP, 0, argv[1], -1, g_helpFile.data(), n);
    g_helpFile.resize(static_cast<size_t>(n - 1));
  }
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 3;
  const int result = RUN_ALL_TESTS();
  CoUninitialize();
  return result;
}
