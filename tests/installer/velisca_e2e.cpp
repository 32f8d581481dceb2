// Velisca end to end under Wine: the real program run from a setup folder,
// driven through its windows, with the installed files, folders and shortcut
// checked afterwards. Paths of the built files come from the environment
// (see e2e.sh); the help files are stand-ins of our own.
#include "e2e_fixture.h"

namespace velisca {
namespace {

std::wstring VersionString(const std::wstring& file, const wchar_t* name) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
  if (size == 0) return L"<no version resource>";
  std::vector<unsigned char> data(size);
  if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return L"<unreadable>";
  void* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\041004b0\\") + name;
  if (!VerQueryValueW(data.data(), key.c_str(), &value, &length) || length == 0) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

std::string Manifest(const std::wstring& exe) {
  HMODULE m = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!m) return {};
  std::string text;
  if (HRSRC r = FindResourceW(m, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    if (HGLOBAL g = LoadResource(m, r)) text.assign(static_cast<const char*>(LockResource(g)), SizeofResource(m, r));
  }
  FreeLibrary(m);
  return text;
}

TEST(ShippedFiles, CarryTheirVersionsManifestAndExport) {
  const std::wstring velisca = Env(L"VELISCA_EXE"), ocx = Env(L"OCX");
  ASSERT_FALSE(velisca.empty()) << "run through e2e.sh";
  EXPECT_EQ(VersionString(velisca, L"FileVersion"), L"1.00");
  EXPECT_EQ(VersionString(velisca, L"CompanyName"), L"Mardol");
  const std::string manifest = Manifest(velisca);
  EXPECT_NE(manifest.find("level=\"requireAdministrator\""), std::string::npos);
  EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
  EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
  // Our control file: a version resource, and the help service exported.
  EXPECT_EQ(VersionString(ocx, L"CompanyName"), L"Mardol");
  HMODULE m = LoadLibraryW(ocx.c_str());
  ASSERT_NE(m, nullptr);
  EXPECT_NE(GetProcAddress(m, "ShowHelp"), nullptr);
  FreeLibrary(m);
}

TEST_F(EndToEnd, InstallsEverythingAndTheShortcutStartsTheProgram) {
  const Cartella s = MakeSetup(L"ok");
  const auto box = Install(s);
  EXPECT_EQ(box.title, L"Complimenti!");
  EXPECT_EQ(box.text, kSuccessText);
  EXPECT_TRUE(box.HasButton(IDOK));
  EXPECT_FALSE(box.HasButton(IDCANCEL));
  Close(box, IDOK);
  ExpectExit();

  ExpectInstalledFrom(s);
  EXPECT_EQ(Read(kOcx), Read(s.Path(L"COMDLG32.OCX")));
  const std::string link = Read(Shortcut());
  ASSERT_GE(link.size(), 0x40u) << "no shortcut on the desktop";
  std::int32_t show = 0;
  std::memcpy(&show, link.data() + 0x3C, 4);
  EXPECT_EQ(show, 5);
  // For the checks with lnkinfo that e2e.sh makes afterwards.
  CreateDirectoryW(L"C:\\velisca-e2e", nullptr);
  EXPECT_TRUE(CopyFileW(Shortcut().c_str(), L"C:\\velisca-e2e\\ZORNAVEX.lnk", FALSE));

  // The shortcut's target is the installed program, and it starts.
  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  std::wstring target, workDir;
  {
    forms::ComPtr<IShellLinkW> sl;
    forms::ComPtr<IPersistFile> pf;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           sl.put_void())));
    ASSERT_TRUE(SUCCEEDED(sl->QueryInterface(IID_IPersistFile, pf.put_void())));
    ASSERT_TRUE(SUCCEEDED(pf->Load(Shortcut().c_str(), STGM_READ)));
    wchar_t buf[MAX_PATH]{};
    ASSERT_TRUE(SUCCEEDED(sl->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH)));
    target = buf;
    ASSERT_TRUE(SUCCEEDED(sl->GetWorkingDirectory(buf, MAX_PATH)));
    workDir = buf;
  }
  CoUninitialize();
  EXPECT_EQ(target, kProgramma + L"\\ZORNAVEX.exe");
  zxtest::Process zornavex;
  ASSERT_TRUE(zornavex.Start(target, workDir));
  EXPECT_NE(zxtest::WaitForWindow(zornavex.Id(), nullptr, L"ZORNAVEX", 15000), nullptr);
}

// The folder the setup target lays out, copied whole: real help files included.
TEST_F(EndToEnd, TheLaidOutSetupFolderInstalls) {
  const std::wstring from = Env(L"SETUP_DIR");
  if (!Exists(from + L"\\ZORNAVEX.hlp")) GTEST_SKIP() << "this build lays out no help files";
  const Cartella s{L"C:\\setup-complete"};
  CreateDirectoryW(s.dir.c_str(), nullptr);
  for (const wchar_t* f : {L"Velisca.exe", L"ZORNAVEX.exe", L"ZORNAVEX.hlp", L"ZORNAVEX.cnt", L"COMDLG32.OCX"})
    ASSERT_TRUE(CopyFileW((from + L"\\" + f).c_str(), s.Path(f).c_str(), FALSE)) << "no " << f << " in " << from;
  const auto box = Install(s);
  EXPECT_EQ(box.title, L"Complimenti!");
  Close(box, IDOK);
  ExpectExit();
  ExpectInstalledFrom(s);
  EXPECT_EQ(Read(kOcx), Read(s.Path(L"COMDLG32.OCX")));
  EXPECT_TRUE(Exists(Shortcut()));
}

TEST_F(EndToEnd, InstallingTwiceReplacesTheFilesAndSucceeds) {
  const Cartella first = MakeSetup(L"twice", nullptr, "first");
  auto box = Install(first);
  EXPECT_EQ(box.title, L"Complimenti!");
  Close(box, IDOK);
  ExpectExit();
  const Cartella second = MakeSetup(L"twice", nullptr, "second run");
  process = std::make_unique<zxtest::Process>();
  box = Install(second);
  EXPECT_EQ(box.title, L"Complimenti!");
  Close(box, IDOK);
  ExpectExit();
  ExpectInstalledFrom(second);
  EXPECT_NE(Read(kGuida + L"\\ZORNAVEX.hlp").find("second run"), std::string::npos);
  EXPECT_TRUE(Exists(Shortcut()));
}

// Each source file missing in turn: the report with number 2 and the folders
// the clean-up leaves.
struct Missing {
  const wchar_t* file;
  bool programFolderStays, helpFolderStays;
};
class MissingSource : public EndToEnd, public ::testing::WithParamInterface<Missing> {};

TEST_P(MissingSource, ReportsTwoAndCleansUpEmptyFolders) {
  const Missing& m = GetParam();
  const Cartella s = MakeSetup(m.file, m.file);
  const auto box = Install(s);
  EXPECT_EQ(box.title, L"Errore durante l'installazione");
  EXPECT_EQ(box.text, Report(2));
  EXPECT_TRUE(box.HasButton(IDOK));
  Close(box, IDOK);
  ExpectExit();
  EXPECT_TRUE(IsFolder(L"C:\\programmi\\Mardol"));
  EXPECT_EQ(IsFolder(kProgramma), m.programFolderStays);
  EXPECT_EQ(IsFolder(kGuida), m.helpFolderStays);
  EXPECT_FALSE(Exists(Shortcut()));
}

INSTANTIATE_TEST_SUITE_P(EachFile, MissingSource,
                         ::testing::Values(Missing{L"ZORNAVEX.exe", false, false},
                                           Missing{L"ZORNAVEX.hlp", true, false},
                                           Missing{L"ZORNAVEX.cnt", true, true},
                                           Missing{L"COMDLG32.OCX", true, true}));

// Another program holds the earlier program file. One that reads it for a
// moment, sharing it (an antivirus, the indexer), is waited for after growing
// pauses, 3.55 s in all. One that shares nothing, as a running program's
// image is held, makes the file unwritable: the report comes at once. The new
// file never takes the earlier one's place while it is held.
struct Presa {
  DWORD condivisione;
  DWORD durata;  // INFINITE: until the report shows
  bool riuscita;
  DWORD almeno, meno;  // bounds of the time from the click to the box, ms
};
class Trattenuta : public EndToEnd, public ::testing::WithParamInterface<Presa> {};

TEST_P(Trattenuta, HeldDestinationIsWaitedForOnlyWhenItCouldBeWritten) {
  const Presa& p = GetParam();
  const Cartella s = MakeSetup(L"held");
  for (const wchar_t* d : {L"C:\\programmi", L"C:\\programmi\\Mardol", L"C:\\programmi\\Mardol\\ZORNAVEX"})
    CreateDirectoryW(d, nullptr);
  const std::wstring exe = kProgramma + L"\\ZORNAVEX.exe";
  Write(exe, "an earlier copy, in use");
  HWND page = StartToInformationPage(s);
  ASSERT_TRUE(page);
  forms::KernelHandle held(CreateFileW(exe.c_str(), GENERIC_READ, p.condivisione, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  const DWORD start = GetTickCount();
  zxtest::Click(GetDlgItem(page, frmPercorso::cmdInstalla));
  if (p.durata != INFINITE) {
    Sleep(p.durata);  // how long the other program holds the file, not a wait for Velisca
    held.reset();
  }
  const auto box = zxtest::WaitForMessageBox(process->Id(), 20000);
  const DWORD elapsed = GetTickCount() - start;
  held.reset();
  ASSERT_TRUE(box) << "no message box after cmdInstalla";
  EXPECT_EQ(box->text, p.riuscita ? kSuccessText : Report(5));
  EXPECT_GE(elapsed, p.almeno);
  EXPECT_LT(elapsed, p.meno);
  Close(*box, IDOK);
  ExpectExit();
  EXPECT_EQ(Read(exe), p.riuscita ? Read(s.Path(L"ZORNAVEX.exe")) : "an earlier copy, in use");
  EXPECT_FALSE(Exists(exe + L".velisca-tmp"));
  EXPECT_EQ(IsFolder(kGuida), p.riuscita);
  EXPECT_EQ(Exists(Shortcut()), p.riuscita);
}

constexpr DWORD kTutto = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
INSTANTIATE_TEST_SUITE_P(SharedOrNot, Trattenuta,
                         ::testing::Values(Presa{0, INFINITE, false, 0, 3000},            // like a running program
                                           Presa{kTutto, 1200, true, 1200, 10000},        // a scan, then let go
                                           Presa{kTutto, INFINITE, false, 3550, 5000}));  // held for good

// A second Velisca while one runs: it brings the first one's window to the
// front and ends at once, with no window and no file of its own; the first
// then installs as if nothing had happened.
TEST_F(EndToEnd, SecondVeliscaBringsTheFirstForwardAndEnds) {
  const Cartella s = MakeSetup(L"second");
  HWND page = StartToInformationPage(s);
  ASSERT_TRUE(page);
  // Something else in front, so that bringing the page forward shows.
  HWND other = CreateWindowExW(0, L"STATIC", L"in front", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                               nullptr, nullptr);
  ASSERT_TRUE(other);
  zxtest::Activate(other);
  ASSERT_NE(GetForegroundWindow(), page);

  zxtest::Process second;
  ASSERT_TRUE(second.Start(s.Path(L"Velisca.exe"), s.dir));
  const auto code = second.WaitExit(10000);
  ASSERT_TRUE(code.has_value()) << "the second Velisca did not end";
  EXPECT_EQ(*code, 0u);
  EXPECT_TRUE(zxtest::Eventually([&] { return GetForegroundWindow() == page; }, "the first Velisca's page in front"));
  DestroyWindow(other);
  EXPECT_FALSE(Exists(L"C:\\programmi")) << "the second Velisca touched the disk";

  zxtest::Click(GetDlgItem(page, frmPercorso::cmdInstalla));
  const auto box = zxtest::WaitForMessageBox(process->Id(), 20000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, L"Complimenti!");
  Close(*box, IDOK);
  ExpectExit();
  ExpectInstalledFrom(s);
}

TEST_F(EndToEnd, SourceLockedByAnotherProgramReportsThirtyTwo) {
  const Cartella s = MakeSetup(L"locked");
  {
    // Another program holds the help source open without sharing it.
    forms::KernelHandle locked(
        CreateFileW(s.Path(L"ZORNAVEX.hlp").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(locked);
    const auto box = Install(s);
    EXPECT_EQ(box.text, Report(32));
    Close(box, IDOK);
    ExpectExit();
  }
  // The program file was copied before; the help folder, still empty, goes.
  EXPECT_EQ(Read(kProgramma + L"\\ZORNAVEX.exe"), Read(s.Path(L"ZORNAVEX.exe")));
  EXPECT_FALSE(IsFolder(kGuida));
  EXPECT_FALSE(Exists(kOcx));
  EXPECT_FALSE(Exists(Shortcut()));
}

TEST_F(EndToEnd, NewerControlInTheSystemFolderIsKept) {
  const Cartella s = MakeSetup(L"newer");
  ASSERT_TRUE(CopyFileW(Env(L"NEWER_OCX").c_str(), kOcx.c_str(), FALSE));
  const std::string newer = Read(kOcx);
  const auto box = Install(s);
  EXPECT_EQ(box.title, L"Complimenti!");
  Close(box, IDOK);
  ExpectExit();
  EXPECT_EQ(Read(kOcx), newer);
  ExpectInstalledFrom(s);
}

// Cancel on the progress window. Its first tick is due 80 ms after it
// opens, so the test presses the button as soon as the window shows.
HWND CancelOnProgressWindow(DWORD pid, HWND page) {
  zxtest::Click(GetDlgItem(page, frmPercorso::cmdInstalla));
  HWND stato = zxtest::WaitForWindowWithControl(pid, frmStatoIstallazione::cmdAnnulla, 10000, 1);
  if (stato) PostMessageW(GetDlgItem(stato, frmStatoIstallazione::cmdAnnulla), BM_CLICK, 0, 0);
  return stato;
}

TEST_F(EndToEnd, CancelAnsweredYesEndsWithNothingInstalled) {
  const Cartella s = MakeSetup(L"cancel-yes");
  HWND page = StartToInformationPage(s);
  ASSERT_TRUE(page);
  ASSERT_TRUE(CancelOnProgressWindow(process->Id(), page));
  const auto box = zxtest::WaitForMessageBox(process->Id(), 10000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, L"Attenzione!") << "the first tick ran before the click";
  EXPECT_EQ(box->text, L"L'installazione non è stata completata.\r\nSi vuole uscire dal programma?");
  EXPECT_TRUE(box->HasButton(IDYES));
  EXPECT_TRUE(box->HasButton(IDNO));
  Close(*box, IDYES);
  ExpectExit();
  EXPECT_FALSE(Exists(kProgramma));
  EXPECT_FALSE(Exists(kOcx));
  EXPECT_FALSE(Exists(Shortcut()));
}

TEST_F(EndToEnd, CancelAnsweredNoInstallsOnTheNextTick) {
  const Cartella s = MakeSetup(L"cancel-no");
  HWND page = StartToInformationPage(s);
  ASSERT_TRUE(page);
  ASSERT_TRUE(CancelOnProgressWindow(process->Id(), page));
  auto box = zxtest::WaitForMessageBox(process->Id(), 10000);
  ASSERT_TRUE(box);
  ASSERT_EQ(box->title, L"Attenzione!") << "the first tick ran before the click";
  Close(*box, IDNO);
  box = zxtest::WaitForMessageBox(process->Id(), 20000, L"Complimenti!");
  ASSERT_TRUE(box);
  Close(*box, IDOK);
  ExpectExit();
  ExpectInstalledFrom(s);
}

TEST_F(EndToEnd, AnnullaOnTheInformationPageAsksThenEnds) {
  const Cartella s = MakeSetup(L"annulla");
  HWND page = StartToInformationPage(s);
  ASSERT_TRUE(page);
  HWND annulla = GetDlgItem(page, frmPercorso::cmdAnnula);
  zxtest::Click(annulla);
  auto box = zxtest::WaitForMessageBox(process->Id(), 10000);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, L"Uscire dall'installazione?");
  EXPECT_EQ(box->text, L"Si vuole veramente uscire dall'Velisca?");
  Close(*box, IDNO);
  EXPECT_TRUE(IsWindowVisible(page));
  zxtest::Click(annulla);
  box = zxtest::WaitForMessageBox(process->Id(), 10000);
  ASSERT_TRUE(box);
  Close(*box, IDYES);
  ExpectExit();
  EXPECT_FALSE(Exists(L"C:\\programmi\\Mardol"));
}

TEST_F(EndToEnd, NoOnTheConfirmationPageEndsAtOnce) {
  const Cartella s = MakeSetup(L"no");
  ASSERT_TRUE(process->Start(s.Path(L"Velisca.exe"), s.dir));
  HWND avvio = zxtest::WaitForWindowWithControl(process->Id(), frmAvvio::cmdNO, 15000);
  ASSERT_TRUE(avvio);
  zxtest::Click(GetDlgItem(avvio, frmAvvio::cmdNO));
  ExpectExit();
  EXPECT_FALSE(Exists(L"C:\\programmi\\Mardol"));
}

}  // namespace
}  // namespace velisca
