// Under Wine: the generated ZORNAVEX.hlp installed at the path the program
// opens, shown by the platform's help viewer, first on a direct request and
// then through F1 in the running ZORNAVEX.
//   help_wine_tests <ZORNAVEX.hlp> <ZORNAVEX.cnt> <ZORNAVEX.exe>
#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "program_fixture.h"
#include "ui_driver.h"

namespace {

std::wstring g_hlp, g_cnt, g_exe;
constexpr wchar_t kHelpFolder[] = L"C:\\Programmi\\Mardol\\ZORNAVEX\\Help";
constexpr wchar_t kInstalledHlp[] = L"C:\\Programmi\\Mardol\\ZORNAVEX\\Help\\ZORNAVEX.hlp";

bool InstallHelp() {
  for (const wchar_t* folder : {L"C:\\Programmi", L"C:\\Programmi\\Mardol", L"C:\\Programmi\\Mardol\\ZORNAVEX", kHelpFolder})
    if (!CreateDirectoryW(folder, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
  return CopyFileW(g_hlp.c_str(), kInstalledHlp, FALSE) &&
         CopyFileW(g_cnt.c_str(), L"C:\\Programmi\\Mardol\\ZORNAVEX\\Help\\ZORNAVEX.cnt", FALSE);
}

// The viewer's visible main window. Its caption is not ours to rely on:
// started by WinHelp() without a file, Wine's viewer keeps its own title.
HWND FindHelpWindow(DWORD timeoutMs) {
  HWND found = nullptr;
  zxtest::WaitFor([&] {
    for (HWND w = nullptr; !found && (w = FindWindowExW(nullptr, w, L"MS_WINHELP", nullptr)) != nullptr;)
      if (IsWindowVisible(w)) found = w;
    return found != nullptr;
  }, timeoutMs);
  return found;
}

// For failure messages: what is on the screen instead.
std::wstring DescribeWindows() {
  std::wstring out;
  EnumWindows(
      [](HWND hwnd, LPARAM lp) -> BOOL {
        wchar_t text[256] = {}, cls[64] = {};
        GetWindowTextW(hwnd, text, 256);
        GetClassNameW(hwnd, cls, 64);
        *reinterpret_cast<std::wstring*>(lp) += std::wstring(IsWindowVisible(hwnd) ? L"[visible] " : L"[hidden] ") +
                                                cls + L": " + text + L"\n";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

// The viewer's rich edit children.
std::vector<HWND> RichEdits(HWND help) {
  std::vector<HWND> edits;
  EnumChildWindows(
      help,
      [](HWND child, LPARAM lp) -> BOOL {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, 64);
        if (wcsncmp(cls, L"RichEdit", 8) == 0) reinterpret_cast<std::vector<HWND>*>(lp)->push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&edits));
  return edits;
}

// The text the viewer shows: its rich edit child, read across processes.
std::wstring ShownText(HWND help, DWORD timeoutMs) {
  std::wstring all;
  zxtest::WaitFor([&] {
    for (HWND edit : RichEdits(help)) all += zxtest::ReadText(edit);
    return !all.empty();
  }, timeoutMs);
  return all;
}

// Ends every help viewer this test started, visible or hidden (HELP_TAB
// leaves a hidden one behind under Wine).
void CloseViewers() {
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, L"MS_WINHELP", nullptr)) != nullptr;) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid)) {
      TerminateProcess(p, 0);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
  }
  zxtest::WaitFor([] { return !FindWindowW(L"MS_WINHELP", nullptr); });
}

class HelpUnderWine : public zxtest::RunningZornavex {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallHelp()) << "error " << GetLastError();
    CloseViewers();
  }
  void TearDown() override { CloseViewers(); }

  static void ExpectOurContents(HWND help) {
    ASSERT_NE(help, nullptr) << "no help viewer window; windows:\n" << DescribeWindows();
    const std::wstring text = ShownText(help, 10000);
    EXPECT_NE(text.find(L"Introduzione a ZORNAVEX"), std::wstring::npos);
    // Accents come through the Windows-1252 strings.
    EXPECT_NE(text.find(L"ZORNAVEX è un semplice programma di calcolo"), std::wstring::npos);
    EXPECT_NE(text.find(L"Quando un arrotondamento cade esattamente a metà"), std::wstring::npos);
  }
};

TEST_F(HelpUnderWine, ViewerShowsTheContentsTopicOfTheInstalledFile) {
  ASSERT_TRUE(WinHelpW(nullptr, kInstalledHlp, HELP_FINDER, 0));
  ExpectOurContents(FindHelpWindow(15000));
}

// The viewer's rich edit that shows `text`, and the character position of
// its middle (a paragraph end counts one character, as "\r\n" in the text
// read back).
struct Shown {
  HWND edit = nullptr;
  long at = -1;
};
Shown FindShown(HWND help, const std::wstring& text, DWORD timeoutMs) {
  Shown shown;
  zxtest::WaitFor([&] {
    for (HWND edit : RichEdits(help)) {
      const std::wstring all = zxtest::ReadText(edit);
      const std::size_t found = all.find(text);
      if (found == std::wstring::npos) continue;
      shown = {edit, static_cast<long>(found + text.size() / 2)};
      for (std::size_t i = 1; i < found; ++i)
        if (all[i] == L'\n' && all[i - 1] == L'\r') --shown.at;
      return true;
    }
    return false;
  }, timeoutMs);
  return shown;
}

// A click on the text of a jump, until `then` is shown. EM_POSFROMCHAR with
// the position in wParam answers the point itself, so it works across
// processes. The pointer of Wine's virtual desktop does not always follow
// the first move, hence up to three tries; the jump must be followed at one.
bool FollowJump(HWND help, const std::wstring& text, const std::wstring& then) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const Shown shown = FindShown(help, text, 10000);
    if (!shown.edit) return false;
    zxtest::Activate(help);
    const LRESULT packed = SendMessageW(shown.edit, EM_POSFROMCHAR, static_cast<WPARAM>(shown.at), 0);
    zxtest::MouseClickAt(shown.edit, {static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed)) + 4});
    if (FindShown(help, then, 3000).edit) return true;
  }
  return false;
}

// From the contents topic to a panel's topic and on to the summary of the
// differences, by clicking the jumps the writer wrote.
TEST_F(HelpUnderWine, ViewerFollowsJumpsFromTopicToTopic) {
  ASSERT_TRUE(WinHelpW(nullptr, kInstalledHlp, HELP_FINDER, 0));
  const HWND help = FindHelpWindow(15000);
  ASSERT_NE(help, nullptr) << "no help viewer window; windows:\n" << DescribeWindows();
  ASSERT_TRUE(FollowJump(help, L"Calcolo del tempo del TMR0", L"Il secondo pannello calcola il tempo"))
      << "the jump was not followed; shown:\n" << ShownText(help, 1000);
  EXPECT_TRUE(FollowJump(help, L"Differenze rispetto al PIC reale", L"ZORNAVEX fa esattamente i calcoli"))
      << "the jump was not followed; shown:\n" << ShownText(help, 1000);
}

TEST_F(HelpUnderWine, F1InTheRunningProgramOpensTheGuide) {
  ASSERT_NO_FATAL_FAILURE(StartProgram(g_exe));
  Key(VK_F1);
  ExpectOurContents(FindHelpWindow(20000));
  EXPECT_TRUE(program.Running()) << "the calculator goes on after opening the help";
}

// HELP_QUIT at the end: the viewer the program opened closes with it.
TEST_F(HelpUnderWine, EndingTheProgramClosesTheViewerItOpened) {
  ASSERT_NO_FATAL_FAILURE(StartProgram(g_exe));
  Key(VK_F1);
  const HWND help = FindHelpWindow(20000);
  ASSERT_NE(help, nullptr) << "no help viewer window; windows:\n" << DescribeWindows();
  PostMessageW(main, WM_CLOSE, 0, 0);
  ASSERT_TRUE(program.WaitExit(10000).has_value()) << "the program did not end";
  EXPECT_TRUE(zxtest::Eventually([&] { return !IsWindow(help); }, "the viewer closes", 10000));
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc != 4) {
    fprintf(stderr, "usage: help_wine_tests <ZORNAVEX.hlp> <ZORNAVEX.cnt> <ZORNAVEX.exe>\n");
    return 2;
  }
  g_hlp = zxtest::Widen(argv[1]);
  g_cnt = zxtest::Widen(argv[2]);
  g_exe = zxtest::Widen(argv[3]);
  return RUN_ALL_TESTS();
}
