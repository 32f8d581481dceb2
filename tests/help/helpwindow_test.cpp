// Under Wine, with the system folder's winhlp32.exe replaced by a stand-in
// for the placeholder of Windows 10 and 11 (and Wine told to run that file,
// not its builtin viewer): F1 in the running ZORNAVEX opens ZORNAVEX's own
// help window and never starts the placeholder.
//   help_window_wine_tests <ZORNAVEX.hlp> <ZORNAVEX.cnt> <ZORNAVEX.exe> <placeholder.exe>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "frmAvvio.h"
#include "frmArgomentiTrovati.h"
#include "frmGuida.h"
#include "program_fixture.h"
#include "ui_driver.h"

namespace {

std::wstring g_hlp, g_cnt, g_exe, g_placeholder;
const std::wstring kHelpFolder = L"C:\\Programmi\\Mardol\\ZORNAVEX\\Help";
constexpr wchar_t kCaption[] = L"Guida di ZORNAVEX";
constexpr wchar_t kOverrides[] = L"Software\\Wine\\DllOverrides";

std::wstring SystemViewer() {
  wchar_t folder[MAX_PATH]{};
  GetSystemDirectoryW(folder, MAX_PATH);
  return std::wstring(folder) + L"\\winhlp32.exe";
}

bool PlaceholderStarted() {
  return GetFileAttributesW((SystemViewer() + L".started").c_str()) != INVALID_FILE_ATTRIBUTES ||
         FindWindowW(L"ZxPlaceholderWinHelp", nullptr) != nullptr;
}

using zornavex::frmGuida;

// The selected text of the topic, read across processes.
std::wstring Selected(HWND help) {
  const HWND topic = zxtest::Child(help, frmGuida::rtfArgomento);
  const LRESULT sel = SendMessageW(topic, EM_GETSEL, 0, 0);
  std::wstring text = zxtest::ReadText(topic), flat;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == L'\n' && i > 0 && text[i - 1] == L'\r')) flat += text[i];  // a paragraph end is one character
  return flat.substr(LOWORD(sel), HIWORD(sel) - LOWORD(sel));
}

class OwnHelpWindow : public zxtest::RunningZornavex {
 protected:
  // The placeholder goes in for the whole suite; Wine's viewer comes back
  // afterwards for the other tests of the prefix.
  static void SetUpTestSuite() {
    for (const wchar_t* f : {L"C:\\Programmi", L"C:\\Programmi\\Mardol", L"C:\\Programmi\\Mardol\\ZORNAVEX"})
      CreateDirectoryW(f, nullptr);
    CreateDirectoryW(kHelpFolder.c_str(), nullptr);
    CopyFileW(g_hlp.c_str(), (kHelpFolder + L"\\ZORNAVEX.hlp").c_str(), FALSE);
    CopyFileW(g_cnt.c_str(), (kHelpFolder + L"\\ZORNAVEX.cnt").c_str(), FALSE);
    const std::wstring viewer = SystemViewer();
    MoveFileExW(viewer.c_str(), (viewer + L".wine").c_str(), MOVEFILE_REPLACE_EXISTING);
    CopyFileW(g_placeholder.c_str(), viewer.c_str(), FALSE);
    DeleteFileW((viewer + L".started").c_str());
    // The same setting as WINEDLLOVERRIDES="winhlp32.exe=n", in the prefix's
    // registry: a variable set inside this Wine process does not reach the
    // processes it starts.
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kOverrides, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
      RegSetValueExW(key, L"winhlp32.exe", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"native"), sizeof(L"native"));
      RegCloseKey(key);
    }
  }
  static void TearDownTestSuite() {
    const std::wstring viewer = SystemViewer();
    MoveFileExW((viewer + L".wine").c_str(), viewer.c_str(), MOVEFILE_REPLACE_EXISTING);
    DeleteFileW((viewer + L".started").c_str());
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kOverrides, L"winhlp32.exe");
  }

  void SetUp() override {
    ASSERT_NE(GetFileAttributesW((SystemViewer() + L".wine").c_str()), INVALID_FILE_ATTRIBUTES)
        << "Wine's viewer was not set aside";
    StartProgram(g_exe);
  }
  void TearDown() override {
    if (HWND shown = FindWindowW(L"ZxPlaceholderWinHelp", nullptr)) PostMessageW(shown, WM_CLOSE, 0, 0);
    if (HWND left = FindWindowW(nullptr, L"Argomenti trovati")) PostMessageW(left, WM_CLOSE, 0, 0);
  }

  // The help window once it is shown, in front and with the focus.
  HWND PressF1() {
    zxtest::Activate(main);
    zxtest::PressKey(VK_F1);
    HWND help = zxtest::WaitForWindow(program.Id(), zxtest::kFormClass, kCaption, 10000);
    zxtest::WaitFor([&] { return help && GetForegroundWindow() == help && IsChild(help, zxtest::FocusOf(help)); });
    return help;
  }
  int HelpWindows() {
    int n = 0;
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, zxtest::kFormClass, kCaption)) != nullptr;) {
      DWORD pid = 0;
      GetWindowThreadProcessId(w, &pid);
      if (pid == program.Id() && IsWindowVisible(w)) ++n;
    }
    return n;
  }
  static std::wstring Topic(HWND help) { return zxtest::ReadText(zxtest::Child(help, frmGuida::rtfArgomento)); }
  // Checks that wait for what they check. The focus is compared as a
  // window: the main window's controls, in the same thread, share the ids.
  static auto FocusOn(HWND window, int id) {
    return zxtest::Becomes([window] { return zxtest::FocusedControlId(window); }, id);
  }
  static auto ShowsTopic(HWND help, const std::wstring& title) {
    return zxtest::Becomes([&] { return Topic(help).substr(0, title.size()); }, title);
  }
  static auto Selects(HWND help, const std::wstring& text) { return zxtest::Becomes([&] { return Selected(help); }, text); }
};

TEST_F(OwnHelpWindow, F1OpensTheGuideInOurWindowAndTheKeyboardWalksIt) {
  const HWND help = PressF1();
  ASSERT_NE(help, nullptr) << "no help window of ZORNAVEX"
                           << (FindWindowW(L"MS_WINHELP", nullptr) ? "; Wine's viewer opened instead" : "");
  zxtest::Pump(500);  // no viewer starts besides it: nothing to wait for
  EXPECT_FALSE(PlaceholderStarted());
  EXPECT_EQ(FindWindowW(L"MS_WINHELP", nullptr), nullptr);

  const std::wstring intro = Topic(help);
  EXPECT_EQ(intro.rfind(L"Introduzione a ZORNAVEX", 0), 0u) << "the contents topic comes first";
  EXPECT_NE(intro.find(L"ZORNAVEX è un semplice programma di calcolo"), std::wstring::npos);
  EXPECT_EQ(SendMessageW(zxtest::Child(help, frmGuida::tabSchede), TCM_GETITEMCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessageW(zxtest::Child(help, frmGuida::tvwSommario), TVM_GETCOUNT, 0, 0), 13);  // the .cnt's lines
  EXPECT_GT(SendMessageW(zxtest::Child(help, frmGuida::lstParole), LB_GETCOUNT, 0, 0), 40);

  // "Sommario": past "Come si usa" down to the book, Enter opens it, down
  // to its first topic.
  EXPECT_TRUE(FocusOn(help, frmGuida::tvwSommario));
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  Key(VK_DOWN);
  EXPECT_TRUE(ShowsTopic(help, L"Calcolo del tempo di esecuzione di un programma"));
  // "Indietro" now has a topic to go back to; the topic's one jump takes a
  // Tab of its own before the focus moves on.
  Key(VK_TAB);
  EXPECT_TRUE(FocusOn(help, frmGuida::cmdIndietro));
  Key(VK_TAB);
  EXPECT_TRUE(FocusOn(help, frmGuida::rtfArgomento));
  Key(VK_TAB);
  EXPECT_TRUE(Selects(help, L"Usare i risultati nel firmware"));
  EXPECT_TRUE(FocusOn(help, frmGuida::rtfArgomento));
  Key(VK_TAB);
  EXPECT_TRUE(FocusOn(help, frmGuida::tabSchede));

  // "Indice": the list follows the typed start; Enter shows the topic.
  Key(VK_RIGHT);
  const auto visible = [&](int id) { return IsWindowVisible(zxtest::Child(help, id)) != FALSE; };
  EXPECT_TRUE(zxtest::Eventually([&] { return visible(frmGuida::lstParole) && !visible(frmGuida::tvwSommario); },
                                 "the list in place of the tree"));
  Key(VK_TAB);
  EXPECT_TRUE(FocusOn(help, frmGuida::txtParola));
  zxtest::TypeText(L"chiu");
  EXPECT_TRUE(zxtest::Eventually(
      [&] { return SendMessageW(zxtest::Child(help, frmGuida::lstParole), LB_GETCURSEL, 0, 0) >= 0; }, "a word chosen"));
  Key(VK_RETURN);
  EXPECT_TRUE(ShowsTopic(help, L"Tasti e menu"));
  EXPECT_FALSE(PlaceholderStarted());
}

// From the contents topic to a panel's topic and on to the differences with
// Tab and Enter only, then back twice with "Indietro" (Alt+I).
TEST_F(OwnHelpWindow, JumpsAreFollowedByKeyboardAndIndietroComesBack) {
  const HWND help = PressF1();
  ASSERT_NE(help, nullptr);
  const HWND back = zxtest::Child(help, frmGuida::cmdIndietro);
  EXPECT_FALSE(IsWindowEnabled(back));
  EXPECT_EQ(zxtest::ReadText(back), L"&Indietro");
  Key(VK_TAB);  // the disabled "Indietro" is skipped
  EXPECT_TRUE(FocusOn(help, frmGuida::rtfArgomento));
  Key(VK_TAB);
  EXPECT_TRUE(Selects(help, L"Calcolo del tempo di esecuzione di un programma"));
  Key(VK_TAB);
  EXPECT_TRUE(Selects(help, L"Calcolo del tempo del TMR0"));
  Key(VK_TAB, false, true);
  Key(VK_TAB);
  Key(VK_RETURN);
  EXPECT_TRUE(ShowsTopic(help, L"Calcolo del tempo del TMR0"));
  EXPECT_TRUE(IsWindowEnabled(back));
  Key(VK_TAB);
  EXPECT_TRUE(Selects(help, L"Differenze rispetto al PIC reale"));
  Key(VK_RETURN);
  EXPECT_TRUE(ShowsTopic(help, L"Differenze rispetto al PIC reale"));
  zxtest::PressKey('I', false, false);  // plain I types nothing in a read-only topic
  zxtest::Pump(150);                    // and goes nowhere: nothing to wait for
  EXPECT_TRUE(ShowsTopic(help, L"Differenze rispetto al PIC reale"));
  INPUT alt[4]{};
  for (INPUT& in : alt) in.type = INPUT_KEYBOARD;
  alt[0].ki.wVk = alt[3].ki.wVk = VK_MENU;
  alt[1].ki.wVk = alt[2].ki.wVk = 'I';
  alt[2].ki.dwFlags = alt[3].ki.dwFlags = KEYEVENTF_KEYUP;
  for (int round = 0; round < 2; ++round) SendInput(4, alt, sizeof(INPUT));
  EXPECT_TRUE(ShowsTopic(help, L"Introduzione a ZORNAVEX"));
  EXPECT_FALSE(IsWindowEnabled(back));
  EXPECT_TRUE(FocusOn(help, frmGuida::rtfArgomento)) << "the focus leaves the disabled button";
}

// A keyword of several topics lists them all in "Argomenti trovati"; the
// one chosen there is shown, and Esc there shows nothing new.
TEST_F(OwnHelpWindow, AKeywordWithSeveralTopicsOffersThemAll) {
  const HWND help = PressF1();
  ASSERT_NE(help, nullptr);
  Key(VK_TAB, false, true);  // to the tabs
  Key(VK_RIGHT);
  Key(VK_TAB);
  EXPECT_TRUE(FocusOn(help, frmGuida::txtParola));
  zxtest::TypeText(L"TMR0");
  Key(VK_RETURN);
  const HWND found = zxtest::WaitForWindow(program.Id(), nullptr, L"Argomenti trovati", 5000);
  ASSERT_NE(found, nullptr) << "no \"Argomenti trovati\"";
  zxtest::Activate(found);
  const HWND list = zxtest::Child(found, zornavex::frmArgomentiTrovati::lstArgomenti);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);  // the panels 2 and 3, the differences, the firmware
  EXPECT_TRUE(FocusOn(found, zornavex::frmArgomentiTrovati::lstArgomenti));
  EXPECT_EQ(zxtest::ReadText(zxtest::Child(found, zornavex::frmArgomentiTrovati::lblArgomenti)),
            L"Fare &clic su un argomento, quindi scegliere Visualizza.");
  Key(VK_DOWN);
  EXPECT_TRUE(zxtest::Eventually([&] { return SendMessageW(list, LB_GETCURSEL, 0, 0) == 1; }, "the second topic chosen"));
  Key(VK_RETURN);  // the list goes, the help window comes forward, then the topic shows
  EXPECT_TRUE(ShowsTopic(help, L"Calcolo del valore da caricare nel TMR0"));
  EXPECT_FALSE(IsWindow(found));
  EXPECT_EQ(GetForegroundWindow(), help) << "the help window is active again";
  zxtest::Activate(help);
  Key(VK_RETURN);
  const HWND again = zxtest::WaitForWindow(program.Id(), nullptr, L"Argomenti trovati", 5000);
  ASSERT_NE(again, nullptr);
  zxtest::Activate(again);
  Key(VK_ESCAPE);
  EXPECT_TRUE(zxtest::Eventually([&] { return !IsWindow(again); }, "Esc closes the list"));
  EXPECT_TRUE(IsWindow(help)) << "Esc closes the list, not the help window";
  EXPECT_TRUE(ShowsTopic(help, L"Calcolo del valore da caricare nel TMR0"));
}

// A click on a jump follows it. The jump is found by Tab, so that its
// place comes from the topic's own character positions; Enter is not pressed.
TEST_F(OwnHelpWindow, AClickOnAJumpFollowsIt) {
  const HWND help = PressF1();
  ASSERT_NE(help, nullptr);
  const HWND topic = zxtest::Child(help, frmGuida::rtfArgomento);
  for (int i = 0; i < 5; ++i) Key(VK_TAB);  // into the topic, then its four jumps
  const std::wstring wdt = L"Calcolo del WDT";
  ASSERT_TRUE(Selects(help, wdt));
  const WORD first = LOWORD(SendMessageW(topic, EM_GETSEL, 0, 0));
  const LRESULT packed = SendMessageW(topic, EM_POSFROMCHAR, first + 3, 0);
  const auto followed = [&] { return Topic(help).rfind(wdt, 0) == 0; };
  // Wine's pointer does not always follow the first move: up to three tries.
  for (int attempt = 0; attempt < 3 && !followed(); ++attempt) {
    zxtest::MouseClickAt(topic, {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed)) + 4});
    zxtest::WaitFor(followed, 2000);
  }
  EXPECT_TRUE(ShowsTopic(help, wdt));
}

TEST_F(OwnHelpWindow, TheMainWindowStaysUsableBesideIt) {
  using namespace zornavex;
  ASSERT_NE(PressF1(), nullptr);
  zxtest::Activate(main);
  const auto enabled = [&](int id) { return IsWindowEnabled(zxtest::Child(main, id)) != FALSE; };
  Key(VK_F3);
  EXPECT_TRUE(zxtest::Eventually([&] { return enabled(txtValoreTMR0) && !enabled(txtIstruzioniNormali); },
                                 "F3 enables the second panel alone"));
  Key(VK_TAB);
  zxtest::TypeText(L"4");
  Key(VK_TAB);
  zxtest::TypeText(L"100");
  Key(VK_TAB);
  zxtest::TypeText(L"2");
  Key(VK_TAB);
  Key(VK_SPACE);
  EXPECT_TRUE(TextBecomes(txtTempoTMR0, L"200"));
  Key(VK_F2);
  EXPECT_TRUE(zxtest::Eventually([&] { return enabled(txtIstruzioniNormali); }, "F2 enables the first panel"));
  EXPECT_EQ(HelpWindows(), 1);
}

TEST_F(OwnHelpWindow, OneWindowAtMostAndEscClosesIt) {
  const HWND help = PressF1();
  ASSERT_NE(help, nullptr);
  EXPECT_EQ(PressF1(), help);
  zxtest::Pump(300);  // no second window comes: nothing to wait for
  EXPECT_EQ(HelpWindows(), 1);
  EXPECT_EQ(GetForegroundWindow(), help) << "F1 again brings it to the front";
  zxtest::Activate(help);
  Key(VK_ESCAPE);
  // Hidden at once; gone when the other process has finished destroying it.
  EXPECT_TRUE(zxtest::Eventually([&] { return !IsWindow(help); }, "Esc closes the help window"));
  EXPECT_TRUE(program.Running());
  EXPECT_NE(PressF1(), nullptr) << "it opens again";
  EXPECT_EQ(HelpWindows(), 1);
}

TEST_F(OwnHelpWindow, ChiudiEndsTheProgramWithItsHelpWindow) {
  const HWND help = PressF1();
  ASSERT_NE(help, nullptr);
  zxtest::Activate(main);
  // "Chiudi" is the first entry of the menu bar: F10 then Enter, from an edit
  // box (Wine's drop-down list would keep F10).
  Key(VK_TAB);
  Key(VK_F10);
  Key(VK_RETURN);
  const auto code = program.WaitExit(10000);
  ASSERT_TRUE(code.has_value()) << "the program did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_FALSE(IsWindow(help));
  EXPECT_FALSE(PlaceholderStarted());
}

TEST_F(OwnHelpWindow, ATruncatedHelpFileShowsNothingAndTheProgramGoesOn) {
  const std::wstring installed = kHelpFolder + L"\\ZORNAVEX.hlp";
  HANDLE file = CreateFileW(installed.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  const bool cut = SetFilePointer(file, 20000, nullptr, FILE_BEGIN) == 20000 && SetEndOfFile(file);
  CloseHandle(file);
  ASSERT_TRUE(cut);
  zxtest::Activate(main);
  zxtest::PressKey(VK_F1);
  zxtest::Pump(1500);  // no window comes: nothing to wait for
  EXPECT_EQ(HelpWindows(), 0);
  EXPECT_TRUE(program.Running());
  EXPECT_FALSE(PlaceholderStarted());
  EXPECT_TRUE(CopyFileW(g_hlp.c_str(), installed.c_str(), FALSE));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 5) {
    fprintf(stderr, "usage: help_window_wine_tests <ZORNAVEX.hlp> <ZORNAVEX.cnt> <ZORNAVEX.exe> <placeholder.exe>\n");
    return 2;
  }
  g_hlp = zxtest::Widen(argv[1]);
  g_cnt = zxtest::Widen(argv[2]);
  g_exe = zxtest::Widen(argv[3]);
  g_placeholder = zxtest::Widen(argv[4]);
  return RUN_ALL_TESTS();
}
