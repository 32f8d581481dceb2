// The real ZORNAVEX.exe driven from outside with real keyboard input, as a
// user would: panel keys, filtered typing, Calcola, warnings, closing.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <optional>
#include <utility>

#include "frmAvvio.h"
#include "program_fixture.h"
#include "ui_driver.h"

namespace {

std::wstring g_exe;

using namespace zornavex;  // the main window's control ids

class RunningProgram : public zxtest::RunningZornavex {
 protected:
  void SetUp() override { StartProgram(g_exe); }
};

TEST_F(RunningProgram, TypesIntoPanelTwoAndCalculates) {
  EXPECT_TRUE(FocusReaches(cmbFrequenza));
  Key(VK_F3);
  EXPECT_TRUE(zxtest::Eventually([&] { return IsWindowEnabled(zxtest::Child(main, txtValoreTMR0)); }, "panel 2"));
  EXPECT_FALSE(IsWindowEnabled(zxtest::Child(main, txtIstruzioniNormali)));

  Key(VK_TAB);
  EXPECT_TRUE(FocusReaches(cmbFrequenza2));
  zxtest::TypeText(L"4");
  Key(VK_TAB);
  EXPECT_TRUE(FocusReaches(txtValoreTMR0));
  zxtest::TypeText(L"1a00");  // the letter is filtered out
  Key(VK_TAB);
  zxtest::TypeText(L"2");
  Key(VK_TAB);
  EXPECT_TRUE(FocusReaches(cmdCalcola2));
  Key(VK_SPACE);
  EXPECT_TRUE(TextBecomes(txtTempoTMR0, L"200"));
  EXPECT_EQ(Text(cmbFrequenza2), L"4");
  EXPECT_EQ(Text(txtValoreTMR0), L"100");
  EXPECT_EQ(Text(txtValorePrescaler), L"2");

  Key(VK_F2);
  EXPECT_TRUE(FocusReaches(cmbFrequenza));
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
  EXPECT_TRUE(TextBecomes(txtTempoDiProgramma, L"666,667"));
}

TEST_F(RunningProgram, MissingInputWarningThenFocusAndClose) {
  Key(VK_F5);
  Key(VK_TAB);
  EXPECT_TRUE(FocusReaches(cmbFrequenza4));
  for (int i = 0; i < 3; ++i) Key(VK_TAB);  // to Calcola
  zxtest::PressKey(VK_SPACE);
  auto box = zxtest::WaitForMessageBox(program.Id(), 10000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(box->title, L"ZORNAVEX");
  EXPECT_EQ(box->text, L"Inserire tutti i campi");
  EXPECT_TRUE(zxtest::PressBoxButton(box->hwnd, IDOK));
  zxtest::Activate(main);
  EXPECT_TRUE(FocusReaches(cmbFrequenza4));

  PostMessageW(main, WM_CLOSE, 0, 0);
  const auto code = program.WaitExit(10000);
  ASSERT_TRUE(code.has_value()) << "the program did not end";
  EXPECT_EQ(*code, 0u);
}

// An input method (IME, touch keyboard, emoji panel, dictation) gives its
// characters as WM_IME_CHAR, which the box would insert without WM_CHAR.
TEST_F(RunningProgram, InputMethodCharactersMeetTheSameFilter) {
  const wchar_t sent[] = {L'4', L'a', L'\xFF15', L'\x3042', L'\xD83D', L'\xDE00', L'2', L'\b', L'7'};
  for (const auto& [menu, box] : {std::pair{mnu_1, txtIstruzioniNormali}, std::pair{mnu_1, txtIstruzioniSalto},
                                  std::pair{mnu_2, txtValoreTMR0}, std::pair{mnu_2, txtValorePrescaler}}) {
    PostMessageW(main, WM_COMMAND, menu, 0);
    HWND target = zxtest::Child(main, box);
    for (wchar_t c : sent) PostMessageW(target, WM_IME_CHAR, c, 1);
    EXPECT_TRUE(TextBecomes(box, L"47")) << box;
  }
}

// Puts text on the clipboard, as a user who copied it elsewhere.
bool PutOnClipboard(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (mem) {
    if (void* p = GlobalLock(mem)) {
      memcpy(p, text.c_str(), bytes);
      GlobalUnlock(mem);
      ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
    }
    if (!ok) GlobalFree(mem);
  }
  CloseClipboard();
  return ok;
}

TEST_F(RunningProgram, PastedJunkNeverEndsTheProgram) {
  struct Panel {
    int menu, list, first, second, button, result;
  };
  const Panel panels[] = {
      {mnu_1, cmbFrequenza, txtIstruzioniNormali, txtIstruzioniSalto, cmdCalcola1, txtTempoDiProgramma},
      {mnu_2, cmbFrequenza2, txtValoreTMR0, txtValorePrescaler, cmdCalcola2, txtTempoTMR0},
      {mnu_3, cmbFrequenza3, txtTemporizzazione, txtValorePrescaler2, cmdCalcola3, txtValoreDaInserireTMR0},
      {mnu_4, cmbFrequenza4, txtNumeroIstruzioni, txtRipetizioni, cmdCalcola4, txtTempoTotale}};
  const std::wstring junk[] = {L"abc", L"1E400", L"-", L",", L"999999999999", L"\x4E2D\x6587\x0661", L"1,5E-400"};
  const std::wstring allowed[] = {L"Tipo non corrispondente", L"Overflow", L"Divisione per zero"};
  int faults = 0;
  for (const Panel& p : panels) {
    PostMessageW(main, WM_COMMAND, p.menu, 0);
    ASSERT_TRUE(zxtest::Eventually([&] { return IsWindowEnabled(zxtest::Child(main, p.button)); }, "panel chosen"));
    HWND list = zxtest::Child(main, p.list);
    SendMessageW(list, CB_SETCURSEL, 0, 0);  // "4"
    for (int box : {p.first, p.second}) {
      for (const std::wstring& text : junk) {
        SendMessageW(zxtest::Child(main, p.first), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1"));
        SendMessageW(zxtest::Child(main, p.second), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"1"));
        HWND target = zxtest::Child(main, box);
        SendMessageW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        ASSERT_TRUE(PutOnClipboard(text));
        SendMessageW(target, WM_PASTE, 0, 0);
        SendMessageW(zxtest::Child(main, p.result), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        PostMessageW(zxtest::Child(main, p.button), BM_CLICK, 0, 0);
        // The click ends in a result or in a box.
        std::optional<zxtest::MessageBoxInfo> box_;
        zxtest::WaitFor([&] { return !Text(p.result).empty() || (box_ = zxtest::WaitForMessageBox(program.Id(), 0)); },
                        1500);
        if (box_) {
          EXPECT_EQ(box_->title, L"ZORNAVEX");
          const bool known = std::find(std::begin(allowed), std::end(allowed), box_->text) != std::end(allowed) ||
                             box_->text.rfind(L"Il valore inserito", 0) == 0;
          EXPECT_TRUE(known) << "panel " << p.menu << " text " << testing::PrintToString(text);
          faults += box_->text == L"Tipo non corrispondente";
          EXPECT_TRUE(zxtest::PressBoxButton(box_->hwnd, IDOK));
        }
        ASSERT_TRUE(program.Running()) << "ended on " << testing::PrintToString(text);
        DWORD_PTR answer = 0;
        EXPECT_TRUE(SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer));
      }
    }
  }
  // Letters, a lone sign or separator and foreign digits are never numbers.
  EXPECT_GE(faults, 4 * 2 * 4);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    fprintf(stderr, "usage: %s path-to-ZORNAVEX.exe\n", argv[0]);
    return 2;
  }
  g_exe = zxtest::WindowsPath(zxtest::Widen(argv[1]));
  return RUN_ALL_TESTS();
}
