// The About window, the system-information tool and the help command, in
// process on the real windows, with real registry values in a fresh prefix.
#include <gtest/gtest.h>

#include <windows.h>
// After windows.h, which it needs.
#include <sddl.h>

#include <functional>
#include <memory>

#include "Modal.h"
#include "frmAvvio_info.h"
#include "main_window_fixture.h"
#include "prefix_tools.h"
#include "registry_value.h"
#include "ui_driver.h"

using namespace zornavex;
using infotest::Reg;

namespace {

constexpr wchar_t kMessage[] = L"Le informazioni sul sistema non sono attualmente disponibili.";
const std::wstring kPathKey = L"\"HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO\"";
const std::wstring kFolderKey = L"\"HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location\"";

class AboutWindowTest : public zxtest::ShownMainWindow {
 protected:
  // Opens the About window from the menu and runs `inside` while it is open;
  // returns whether the window was still open when `inside` ended.
  bool WithAbout(const std::function<void(frmAbout&)>& inside) {
    bool stillOpen = false;
    forms::SetModalHandler([&](forms::Form& f) {
      auto& about = dynamic_cast<frmAbout&>(f);
      zxtest::Settle();
      inside(about);
      stillOpen = about.IsLoaded();
    });
    main.mnu_Informazioni_Click();
    return stillOpen;
  }
  void PressSysInfo(frmAbout& about) {
    SendMessageW(about.Control(frmAbout::cmdSysInfo), BM_CLICK, 0, 0);
    zxtest::Settle();
  }
  void ExpectTheMessage() {
    ASSERT_EQ(seams.Shown().size(), 1u);
    EXPECT_EQ(seams.Shown()[0].text, kMessage);
    EXPECT_EQ(seams.Shown()[0].title, L"ZORNAVEX");
    EXPECT_EQ(seams.Shown()[0].style, 0u);  // OK only, no icon
  }
};

TEST_F(AboutWindowTest, FilledAtEveryOpeningAndModalOverTheMainWindow) {
  for (int opening = 0; opening < 2; ++opening) {
    const bool open = WithAbout([&](frmAbout& about) {
      wchar_t caption[64]{};
      GetWindowTextW(about.hwnd(), caption, 64);
      EXPECT_STREQ(caption, L"Informazioni su ZORNAVEX");
      EXPECT_EQ(about.Text(frmAbout::lblTitle), L"ZORNAVEX");
      EXPECT_EQ(about.Text(frmAbout::lblVersion), L"Versione 2.0.6");
      EXPECT_EQ(about.Text(frmAbout::lblDescription),
                L"Semplice programma per effettuare calcoli di utilità per i microprocessori della famiglia PIC "
                L"16F84 e 16F84A");
      EXPECT_EQ(about.Text(frmAbout::lblEMail).rfind(L"E-Mail ", 0), 0u);
      EXPECT_EQ(Focused(), frmAbout::cmdOK);
      EXPECT_FALSE(IsWindowEnabled(main.hwnd()));
      // Owned by the main window: no task-bar entry of its own.
      EXPECT_EQ(GetWindow(about.hwnd(), GW_OWNER), main.hwnd());
      const LONG_PTR style = GetWindowLongPtrW(about.hwnd(), GWL_STYLE);
      EXPECT_FALSE(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
      RECT r{};
      GetClientRect(about.hwnd(), &r);
      EXPECT_EQ(r.right, about.Scale(382));
      EXPECT_EQ(r.bottom, about.Scale(237));
      // Spoil the texts: the next opening must fill them again.
      about.SetText(frmAbout::lblVersion, L"x");
      about.SetText(frmAbout::lblTitle, L"x");
      SendMessageW(about.Control(frmAbout::cmdOK), BM_CLICK, 0, 0);
      zxtest::Settle();
    });
    EXPECT_FALSE(open) << "OK closes the window, opening " << opening;
    EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
  }
  EXPECT_TRUE(seams.Shown().empty());
  EXPECT_EQ(seams.Ends(), 0);
}

TEST_F(AboutWindowTest, TabVisitsOkPictureAndSystemInfoOnly) {
  WithAbout([&](frmAbout&) {
    EXPECT_EQ(Focused(), frmAbout::cmdOK);
    KeyToFocus(VK_TAB);
    EXPECT_EQ(Focused(), frmAbout::picIcon);
    KeyToFocus(VK_TAB);
    EXPECT_EQ(Focused(), frmAbout::cmdSysInfo);
    KeyToFocus(VK_TAB);
    EXPECT_EQ(Focused(), frmAbout::cmdOK);
  });
}

TEST_F(AboutWindowTest, EscapeClosesFromEveryFocus) {
  for (int id : {frmAbout::cmdOK, frmAbout::picIcon, frmAbout::cmdSysInfo}) {
    EXPECT_FALSE(WithAbout([&](frmAbout& about) {
      about.Focus(id);
      KeyToFocus(VK_ESCAPE);
    })) << "focus on " << id;
  }
  EXPECT_TRUE(seams.Shown().empty());
}

TEST_F(AboutWindowTest, EnterClosesOnOkAndPictureButStartsTheToolOnSystemInfo) {
  infotest::ClearSysInfoValues();
  for (int id : {frmAbout::cmdOK, frmAbout::picIcon}) {
    EXPECT_FALSE(WithAbout([&](frmAbout& about) {
      about.Focus(id);
      KeyToFocus(VK_RETURN);
    })) << "focus on " << id;
  }
  EXPECT_TRUE(seams.Shown().empty());
  EXPECT_TRUE(WithAbout([&](frmAbout& about) {
    about.Focus(frmAbout::cmdSysInfo);
    KeyToFocus(VK_RETURN);
  }));
  ExpectTheMessage();
}

TEST_F(AboutWindowTest, CloseButtonClosesOnlyTheAboutWindow) {
  EXPECT_FALSE(WithAbout([&](frmAbout& about) {
    SendMessageW(about.hwnd(), WM_CLOSE, 0, 0);
    zxtest::Settle();
  }));
  EXPECT_TRUE(main.IsLoaded());
  EXPECT_EQ(seams.Ends(), 0);
}

TEST_F(AboutWindowTest, HandPointerOverTheEMailLineOnly) {
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  WithAbout([&](frmAbout& about) {
    auto pointerOver = [&](int id) {
      SetCursor(nullptr);
      SendMessageW(about.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(about.Control(id)),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
      return GetCursor();
    };
    EXPECT_EQ(pointerOver(frmAbout::lblEMail), hand);
    EXPECT_NE(pointerOver(frmAbout::lblDescription), hand);
    EXPECT_NE(pointerOver(frmAbout::cmdOK), hand);
  });
}

TEST_F(AboutWindowTest, EMailLineStartsTheMailProgramMinimisedWithoutAddress) {
  const std::wstring mail = L"C:\\Programmi\\Outlook Express\\MSIMN.exe";
  DeleteFileW(mail.c_str());
  // Without the mail program: nothing to see, the window stays open.
  EXPECT_TRUE(WithAbout([&](frmAbout& about) { zxtest::MouseClick(about.Control(frmAbout::lblEMail)); }));
  EXPECT_TRUE(seams.Shown().empty());
  EXPECT_EQ(seams.Ends(), 0);

  ASSERT_TRUE(infotest::PlaceFakeProgram(mail));
  EXPECT_TRUE(WithAbout([&](frmAbout& about) {
    SendMessageW(about.hwnd(), WM_COMMAND, MAKEWPARAM(frmAbout::lblEMail, STN_CLICKED),
                 reinterpret_cast<LPARAM>(about.Control(frmAbout::lblEMail)));
  }));
  EXPECT_EQ(infotest::WaitForNote(mail, 10000), "show=2 args=0");
  EXPECT_TRUE(seams.Shown().empty());
}

// The system-information tool with the registry as the case sets it up.
class SysInfoTest : public AboutWindowTest {
 protected:
  void SetUp() override {
    AboutWindowTest::SetUp();
    infotest::ClearSysInfoValues();
  }
  void TearDown() override {
    infotest::ClearSysInfoValues();
    AboutWindowTest::TearDown();
  }
  // Presses "System Info..." and says whether the About window stayed open.
  bool RunSysInfo() {
    return WithAbout([&](frmAbout& about) { PressSysInfo(about); });
  }
  // The value of the first lookup as GetKeyValue reads it, starting from
  // the empty text StartSysInfo hands over.
  static bool ReadPathValue(std::wstring& text) {
    text.clear();
    return frmAbout::GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", L"PATH", text);
  }
  // A path value of `type` holding `data`: read as empty, then the message.
  void ExpectEmptyPathAndTheMessage(const std::wstring& type, const std::wstring& data) {
    ASSERT_EQ(Reg(L"add " + kPathKey + L" /v PATH /t " + type + L" /d " + data + L" /f"), 0);
    std::wstring text;
    EXPECT_TRUE(ReadPathValue(text));
    EXPECT_EQ(text, L"");
    EXPECT_TRUE(RunSysInfo());
    ExpectTheMessage();
  }
};

TEST_F(SysInfoTest, PathValueStartsThatProgramInANormalWindow) {
  const std::wstring program = L"C:\\zxinfo\\percorso\\strumento.exe";
  ASSERT_TRUE(infotest::PlaceFakeProgram(program));
  ASSERT_EQ(Reg(L"add " + kPathKey + L" /v PATH /t REG_SZ /d \"" + program + L"\" /f"), 0);
  EXPECT_TRUE(RunSysInfo());
  EXPECT_EQ(infotest::WaitForNote(program, 10000), "show=1 args=0");
  EXPECT_TRUE(seams.Shown().empty());
}

TEST_F(SysInfoTest, PathBeyondTheAnsiCodePageIsReadWhole) {
  const std::wstring program = L"C:\\zxinfo\\\u0160ala \u65e5\u672c caff\u00e8\\strumento.exe";
  ASSERT_EQ(Reg(L"add " + kPathKey + L" /v PATH /t REG_SZ /d \"" + program + L"\" /f"), 0);
  std::wstring text;
  EXPECT_TRUE(ReadPathValue(text));
  EXPECT_EQ(text, program);
}

TEST_F(SysInfoTest, PathBeyondTheAnsiCodePageStillStarts) {
  const std::wstring program = L"C:\\zxinfo\\\u0160ala \u65e5\u672c\\strumento.exe";
  // Wine keeps file names in the Unix locale's character set: a locale
  // without UTF-8 cannot hold this folder at all.
  if (!infotest::PlaceFakeProgram(program)) GTEST_SKIP() << "the file system here cannot hold the name";
  ASSERT_EQ(Reg(L"add " + kPathKey + L" /v PATH /t REG_SZ /d \"" + program + L"\" /f"), 0);
  EXPECT_TRUE(RunSysInfo());
  EXPECT_EQ(infotest::WaitForNote(program, 10000), "show=1 args=0");
  EXPECT_TRUE(seams.Shown().empty());
}

TEST_F(SysInfoTest, PathNamingNothingShowsTheMessageAndSkipsTheFolder) {
  const std::wstring folder = L"C:\\zxinfo\\cartella";
  ASSERT_TRUE(infotest::PlaceFakeProgram(folder + L"\\MSINFO32.EXE"));
  ASSERT_EQ(Reg(L"add " + kPathKey + L" /v PATH /t REG_SZ /d C:\\zxinfo\\assente.exe /f"), 0);
  ASSERT_EQ(Reg(L"add " + kFolderKey + L" /v MSINFO /t REG_SZ /d " + folder + L" /f"), 0);
  EXPECT_TRUE(RunSysInfo());
  ExpectTheMessage();
  EXPECT_EQ(infotest::WaitForNote(folder + L"\\MSINFO32.EXE", 500), std::nullopt);
}

TEST_F(SysInfoTest, FolderLookupStartsMsinfo32WhenTheFolderHoldsIt) {
  const std::wstring folder = L"C:\\zxinfo\\strumenti";
  ASSERT_TRUE(infotest::PlaceFakeProgram(folder + L"\\MSINFO32.EXE"));
  ASSERT_EQ(Reg(L"add " + kFolderKey + L" /v MSINFO /t REG_SZ /d " + folder + L" /f"), 0);
  EXPECT_TRUE(RunSysInfo());
  EXPECT_EQ(infotest::WaitForNote(folder + L"\\MSINFO32.EXE", 10000), "show=1 args=0");
  EXPECT_TRUE(seams.Shown().empty());
}

TEST_F(SysInfoTest, FolderWithoutMsinfo32ShowsTheMessage) {
  CreateDirectoryW(L"C:\\zxinfo", nullptr);
  CreateDirectoryW(L"C:\\zxinfo\\vuota", nullptr);
  ASSERT_EQ(Reg(L"add " + kFolderKey + L" /v MSINFO /t REG_SZ /d C:\\zxinfo\\vuota /f"), 0);
  EXPECT_TRUE(RunSysInfo());
  ExpectTheMessage();
}

TEST_F(SysInfoTest, NeitherValueShowsTheMessage) {
  EXPECT_TRUE(RunSysInfo());
  ExpectTheMessage();
}

TEST_F(SysInfoTest, EmptyPathIsReadButCannotStart) { ExpectEmptyPathAndTheMessage(L"REG_SZ", L"\"\""); }

TEST_F(SysInfoTest, ExpandablePathIsNotConvertedAndCannotStart) {
  ExpectEmptyPathAndTheMessage(L"REG_EXPAND_SZ", L"C:\\windows\\system32\\msinfo32.exe");
}

TEST_F(SysInfoTest, PathWithoutAnyDataShowsTheMessageInsteadOfFailing) {
  ASSERT_EQ(Reg(L"add " + kPathKey + L" /v PATH /t REG_BINARY /d \"\" /f"), 0);
  std::wstring text;
  EXPECT_THROW(ReadPathValue(text), registry::EmptyValueError);
  EXPECT_TRUE(RunSysInfo());
  ExpectTheMessage();
}

TEST_F(SysInfoTest, GetKeyValueReadsADwordAndReportsWhatIsMissing) {
  ASSERT_EQ(Reg(L"add \"HKLM\\SOFTWARE\\ZxInfoTest\" /v Numero /t REG_DWORD /d 65541 /f"), 0);  // 05 00 01 00
  std::wstring text;
  EXPECT_TRUE(frmAbout::GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ZxInfoTest", L"Numero", text));
  EXPECT_EQ(text, L"&h010005");

  text = L"prima";
  EXPECT_FALSE(frmAbout::GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ZxInfoTest", L"Assente", text));
  EXPECT_EQ(text, L"");
  text = L"prima";
  EXPECT_FALSE(frmAbout::GetKeyValue(HKEY_LOCAL_MACHINE, L"SOFTWARE\\ZxInfoTestAssente", L"Numero", text));
  EXPECT_EQ(text, L"");
  Reg(L"delete \"HKLM\\SOFTWARE\\ZxInfoTest\" /f");
}

// A key that grants everybody reading only, as HKEY_LOCAL_MACHINE does to a
// standard user: the traditional request is refused, reading still works.
TEST_F(SysInfoTest, GetKeyValueReadsAKeyThatRefusesWriting) {
  const std::wstring name = L"SOFTWARE\\ZxInfoTest\\SoloLettura";
  ASSERT_EQ(Reg(L"add \"HKLM\\" + name + L"\" /v Nome /t REG_SZ /d letto /f"), 0);
  auto setAccess = [&](const wchar_t* sddl) {
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &sd, nullptr)) return false;
    std::unique_ptr<void, decltype(&LocalFree)> owned(sd, &LocalFree);
    forms::KeyHandle key;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, WRITE_DAC, key.put()) == ERROR_SUCCESS &&
           RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
  };
  ASSERT_TRUE(setAccess(L"D:P(A;;KR;;;WD)"));
  forms::KeyHandle probe;
  const LSTATUS traditional = RegOpenKeyExW(HKEY_LOCAL_MACHINE, name.c_str(), 0, 0x2003F, probe.put());
  std::wstring text;
  const bool read = frmAbout::GetKeyValue(HKEY_LOCAL_MACHINE, name, L"Nome", text);
  setAccess(L"D:P(A;;KA;;;WD)");
  Reg(L"delete \"HKLM\\SOFTWARE\\ZxInfoTest\" /f");
  EXPECT_EQ(traditional, ERROR_ACCESS_DENIED) << "the platform did not refuse the write request";
  EXPECT_TRUE(read);
  EXPECT_EQ(text, L"letto");
}

// Help with the file absent: the viewer is not even asked (it would hold
// the program with a question); nothing is shown and the program goes on.
TEST_F(AboutWindowTest, HelpWithTheFileAbsentLeavesTheProgramUsable) {
  DeleteFileW(kHelpFile);
  main.Focus(cmbFrequenza);
  const ULONGLONG start = GetTickCount64();
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_F1, 0);
  zxtest::Settle();  // no window may come of it
  EXPECT_LT(GetTickCount64() - start, 3000u);
  EXPECT_EQ(CommonDialog1().HelpCommand(), 15u);
  EXPECT_EQ(CommonDialog1().HelpFile(), L"C:\\Programmi\\Mardol\\ZORNAVEX\\Help\\ZORNAVEX.hlp");
  EXPECT_TRUE(CommonDialog1().CancelError());
  EXPECT_EQ(FindWindowW(L"MS_WINHELP", nullptr), nullptr);
  EXPECT_TRUE(seams.Shown().empty());
  EXPECT_EQ(seams.Ends(), 0);
  EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
  main.Focus(cmbFrequenza);
  PostMessageW(GetFocus(), WM_KEYDOWN, VK_F3, 0);
  EXPECT_TRUE(zxtest::Eventually([&] { return main.PannelloAttivo() == 2; }, "F3 selects panel 2"));
}

TEST(CommonDialogTest, NoFileMeansNoRequestAndAFailure) {
  CommonDialog dialog;
  dialog.SetHelpCommand(15);
  EXPECT_FALSE(dialog.ShowHelp(nullptr));
  EXPECT_FALSE(::ShowHelp(nullptr, nullptr, 15));
  wchar_t folder[MAX_PATH]{};
  ASSERT_GT(GetSystemDirectoryW(folder, MAX_PATH), 0u);
  EXPECT_FALSE(::ShowHelp(nullptr, folder, 15));  // a folder is not a help file
  EXPECT_EQ(FindWindowW(L"MS_WINHELP", nullptr), nullptr);
}

}  // namespace
