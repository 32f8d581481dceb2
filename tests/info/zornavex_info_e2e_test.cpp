// The real ZORNAVEX.exe driven from outside with real keys and mouse: help,
// the About window, and the certificate whose button ends the program.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "frmAbout.h"
#include "frmAvvio.h"
#include "frmCertificato.h"
#include "prefix_tools.h"
#include "program_fixture.h"
#include "ui_driver.h"

namespace {

std::wstring g_exe;

using zornavex::frmAbout;

class RunningProgram : public zxtest::RunningZornavex {
 protected:
  void SetUp() override {
    infotest::ClearSysInfoValues();
    StartProgram(g_exe);
  }
  HWND OpenAbout() {
    PostMessageW(main, WM_COMMAND, zornavex::mnu_Informazioni, 0);
    HWND about = zxtest::WaitForWindow(program.Id(), zxtest::kFormClass, L"Informazioni su ZORNAVEX", 10000);
    if (about) zxtest::Activate(about);
    return about;
  }
  static bool Gone(HWND window) {
    return zxtest::WaitFor([window] { return !IsWindow(window); }, 2500);
  }
  // A real double-click at a point of the main window's client area.
  void DoubleClick(POINT client) { zxtest::MouseClicksAt(main, client, 2); }
};

TEST_F(RunningProgram, HelpKeyShowsNothingAndAboutOpensWithItsTextsEachTime) {
  Key(VK_F1);
  EXPECT_FALSE(zxtest::WaitForMessageBox(program.Id(), 1000));
  EXPECT_TRUE(IsWindowEnabled(main));

  for (int opening = 0; opening < 2; ++opening) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr) << "opening " << opening;
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_EQ(zxtest::ReadText(zxtest::Child(about, frmAbout::lblTitle)), L"ZORNAVEX");
    EXPECT_EQ(zxtest::ReadText(zxtest::Child(about, frmAbout::lblVersion)), L"Versione 2.0.6");
    Key(VK_ESCAPE);
    EXPECT_TRUE(Gone(about));
    EXPECT_TRUE(IsWindowEnabled(main));
  }
}

TEST_F(RunningProgram, SystemInfoWithoutTheToolShowsTheMessageAndKeepsTheWindow) {
  HWND about = OpenAbout();
  ASSERT_NE(about, nullptr);
  Key(VK_TAB);
  Key(VK_TAB);  // OK, picture, System Info
  Key(VK_RETURN);
  auto box = zxtest::WaitForMessageBox(program.Id(), 5000, L"ZORNAVEX");
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text, L"Le informazioni sul sistema non sono attualmente disponibili.");
  EXPECT_TRUE(box->HasButton(IDOK));
  EXPECT_FALSE(box->HasButton(IDCANCEL));
  EXPECT_TRUE(zxtest::PressBoxButton(box->hwnd, IDOK));
  EXPECT_TRUE(IsWindow(about));
  zxtest::Activate(about);
  Key(VK_RETURN);  // the focus is back on System Info: the tool again
  box = zxtest::WaitForMessageBox(program.Id(), 5000, L"ZORNAVEX");
  ASSERT_TRUE(box);
  EXPECT_TRUE(zxtest::PressBoxButton(box->hwnd, IDOK));
  zxtest::Activate(about);
  Key(VK_ESCAPE);
  EXPECT_TRUE(Gone(about));
}

TEST_F(RunningProgram, CertificateOpensOnTheSurfaceAndItsButtonEndsTheProgram) {
  using namespace zornavex;
  for (int list : {cmbFrequenza, cmbFrequenza2, cmbFrequenza3, cmbFrequenza4})
    SendMessageW(zxtest::Child(main, list), CB_SETCURSEL, 6, 0);  // "10"
  const UINT dpi = GetDpiForWindow(main);
  const POINT gap{MulDiv(270, dpi, 96), MulDiv(190, dpi, 96)};
  DoubleClick(gap);
  const int boxes[] = {txtTempoDiProgramma, txtTempoTMR0, txtValoreDaInserireTMR0};
  auto editable = [&](int box) { return !(GetWindowLongPtrW(zxtest::Child(main, box), GWL_STYLE) & ES_READONLY); };
  EXPECT_TRUE(zxtest::Eventually([&] { return editable(boxes[0]); }, "boxes unlocked"));
  for (int box : boxes) EXPECT_TRUE(editable(box)) << box;
  const wchar_t* words[] = {L"Corvane", L"Pelmo", L"Quirsa"};
  for (int i = 0; i < 3; ++i)
    SendMessageW(zxtest::Child(main, boxes[i]), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(words[i]));
  for (int i = 0; i < 3; ++i) ASSERT_EQ(zxtest::ReadText(zxtest::Child(main, boxes[i])), words[i]);
  // Inside a panel the double-click is not the window's.
  DoubleClick(POINT{MulDiv(100, dpi, 96), MulDiv(30, dpi, 96)});
  EXPECT_EQ(zxtest::WaitForWindow(program.Id(), zxtest::kFormClass, L"Certificato di Autenticit\u00e0", 500), nullptr);

  DoubleClick(gap);
  HWND certificate = zxtest::WaitForWindow(program.Id(), zxtest::kFormClass, L"Certificato di Autenticit\u00e0", 10000);
  ASSERT_NE(certificate, nullptr);
  zxtest::Activate(certificate);
  Key(VK_RETURN);
  EXPECT_EQ(program.WaitExit(10000), std::optional<DWORD>(0));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: zornavex_info_e2e_tests <ZORNAVEX.exe>\n");
    return 2;
  }
  g_exe = zxtest::WindowsPath(zxtest::Widen(argv[1]));
  return RUN_ALL_TESTS();
}
