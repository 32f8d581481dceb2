// Drives both programs as a user of a Downloads folder would: a whole
// installation with Velisca from the folder, then ZORNAVEX from the same
// folder with help (F1) and the About window. planted_dlls.sh leaves the
// stand-in DLLs in the folder and judges what was loaded.
//   planted_dlls_driver <setup folder>
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "calculator/frmAvvio.h"
#include "installer/frmAvvio.h"
#include "installer/frmPercorso.h"
#include "ui_driver.h"

namespace {

std::wstring g_folder;

// The check's own control: a stand-in loaded on purpose leaves its mark.
TEST(StandIns, RecordTheirLoading) {
  const HMODULE standIn = LoadLibraryW((g_folder + L"\\zxcontrol.dll").c_str());
  ASSERT_NE(standIn, nullptr);
  FreeLibrary(standIn);
}

TEST(FromADownloadsFolder, VeliscaInstallsEverything) {
  zxtest::Process velisca;
  ASSERT_TRUE(velisca.Start(g_folder + L"\\Velisca.exe", g_folder));
  HWND avvio = zxtest::WaitForWindowWithControl(velisca.Id(), velisca::frmAvvio::cmdSI, 20000);
  ASSERT_NE(avvio, nullptr) << "no confirmation page";
  zxtest::Click(GetDlgItem(avvio, velisca::frmAvvio::cmdSI));
  HWND page = zxtest::WaitForWindowWithControl(velisca.Id(), velisca::frmPercorso::cmdInstalla, 10000);
  ASSERT_NE(page, nullptr) << "no information page";
  zxtest::Click(GetDlgItem(page, velisca::frmPercorso::cmdInstalla));
  auto box = zxtest::WaitForMessageBox(velisca.Id(), 20000);
  ASSERT_TRUE(box) << "no message box after the installation";
  EXPECT_EQ(box->text, L"L'installazione \u00e8 stata portata a termine");
  ASSERT_TRUE(zxtest::PressBoxButton(box->hwnd, IDOK));
  EXPECT_EQ(velisca.WaitExit(10000), std::optional<DWORD>(0));
}

TEST(FromADownloadsFolder, ZornavexShowsHelpAndAbout) {
  zxtest::Process zornavex;
  ASSERT_TRUE(zornavex.Start(g_folder + L"\\ZORNAVEX.exe", g_folder));
  HWND main = zxtest::WaitForWindow(zornavex.Id(), zxtest::kFormClass, L"ZORNAVEX", 20000);
  ASSERT_NE(main, nullptr);
  zxtest::Activate(main);
  zxtest::PressKey(VK_F1);
  HWND help = zxtest::WaitForWindow(zornavex.Id(), zxtest::kFormClass, L"Guida di ZORNAVEX", 10000);
  ASSERT_NE(help, nullptr) << "no help window";
  zxtest::Pump(500);  // the window at work: what must not happen, a stand-in loading, is judged afterwards
  PostMessageW(help, WM_CLOSE, 0, 0);
  PostMessageW(main, WM_COMMAND, zornavex::mnu_Informazioni, 0);
  HWND about = zxtest::WaitForWindow(zornavex.Id(), zxtest::kFormClass, L"Informazioni su ZORNAVEX", 10000);
  ASSERT_NE(about, nullptr) << "no About window";
  zxtest::Activate(about);
  zxtest::PressKey(VK_ESCAPE);
  EXPECT_TRUE(zxtest::Eventually([&] { return !IsWindow(about); }, "Esc closes the About window"));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_EQ(zornavex.WaitExit(10000), std::optional<DWORD>(0));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) return 2;
  g_folder = zxtest::Widen(argv[1]);
  return RUN_ALL_TESTS();
}
