// The real ZORNAVEX.exe driven from outside with real keyboard input, as a
// user would: panel keys, filtered typing, Calcola, warnings, closing.
#include <gtest/gtest.h>

#include "ui_driver.h"

namespace {

std::wstring g_exe;

// Control ids of the main window.
constexpr int cmbFrequenza = 102, txtIstruzioniNormali = 104, txtTempoDiProgramma = 108;
constexpr int cmbFrequenza2 = 202, txtValoreTMR0 = 204, txtValorePrescaler = 206, txtTempoTMR0 = 208,
              cmdCalcola2 = 210;
constexpr int cmbFrequenza4 = 402;

class RunningProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(program.Start(g_exe)) << "cannot start the program";
    main = zxtest::WaitForWindow(program.Id(), L"ZxForm", L"ZORNAVEX", 20000);
    ASSERT_NE(main, nullptr);
    zxtest::Activate(main);
  }
  int FocusedId() {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
    return info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0;
  }
  void Key(WORD vk) {
    zxtest::PressKey(vk);
    zxtest::Pump(80);
  }
  std::wstring Text(int id) { return zxtest::ReadText(zxtest::Child(main, id)); }

  zxtest::Process program;
  HWND main = nullptr;
};

TEST_F(RunningProgram, TypesIntoPanelTwoAndCalculates) {
  EXPECT_EQ(FocusedId(), cmbFrequenza);
  Key(VK_F3);
  EXPECT_TRUE(IsWindowEnabled(zxtest::Child(main, txtValoreTMR0)));
  EXPECT_FALSE(IsWindowEnabled(zxtest::Child(main, txtIstruzioniNormali)));

  Key(VK_TAB);
  EXPECT_EQ(FocusedId(), cmbFrequenza2);
  zxtest::TypeText(L"4");
  Key(VK_TAB);
  EXPECT_EQ(FocusedId(), txtValoreTMR0);
  zxtest::TypeText(L"1a00");  // the letter is filtered out
  Key(VK_TAB);
  zxtest::TypeText(L"2");
  Key(VK_TAB);
  EXPECT_EQ(FocusedId(), cmdCalcola2);
  Key(VK_SPACE);
  zxtest::Pump(200);
  EXPECT_EQ(Text(cmbFrequenza2), L"4");
  EXPECT_EQ(Text(txtValoreTMR0), L"100");
  EXPECT_EQ(Text(txtValorePrescaler), L"2");
  EXPECT_EQ(Text(txtTempoTMR0), L"200");

  Key(VK_F2);
  EXPECT_EQ(FocusedId(), cmbFrequenza);
  EXPECT_FALSE(IsWindowEnabled(zxtest::Child(main, txtValoreTMR0)));
  EXPECT_EQ(Text(txtTempoTMR0), L"200");
}

TEST_F(RunningProgram, ItalianSettingsGiveADecimalComma) {
  zxtest::TypeText(L"6");
  Key(VK_TAB);
  zxtest::TypeText(L"1");
  Key(VK_TAB);
  zxtest::TypeText(L"0");
  Key(VK_TAB);
  Key(VK_SPACE);
  zxtest::Pump(200);
  EXPECT_EQ(Text(txtTempoDiProgramma), L"666,667");
}

TEST_F(RunningProgram, MissingInputWarningThenFocusAndClose) {
  Key(VK_F5);
  Key(VK_TAB);
  EXPECT_EQ(FocusedId(), cmbFrequenza4);
  for (int i = 0; i < 3; ++i) Key(VK_TAB);  // to Calcola
  zxtest::PressKey(VK_SPACE);
  auto box = zxtest::WaitForMessageBox(program.Id(), 10000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, L"ZORNAVEX");
  EXPECT_EQ(box->text, L"Inserire tutti i campi");
  EXPECT_TRUE(zxtest::PressBoxButton(box->hwnd, IDOK));
  zxtest::Pump(200);
  zxtest::Activate(main);
  EXPECT_EQ(FocusedId(), cmbFrequenza4);

  PostMessageW(main, WM_CLOSE, 0, 0);
  const auto code = program.WaitExit(10000);
  ASSERT_TRUE(code.has_value()) << "the program did not end";
  EXPECT_EQ(*code, 0u);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: %s path-to-ZORNAVEX.exe\n", argv[0]);
    return 2;
  }
  const std::string path = argv[1];
  g_exe = zxtest::WindowsPath(std::wstring(path.begin(), path.end()));
  return RUN_ALL_TESTS();
}
