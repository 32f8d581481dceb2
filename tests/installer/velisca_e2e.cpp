// Velisca end to end under Wine: the real program run from a setup folder,
// driven through its windows, with the installed files, folders and shortcut
// checked afterwards. Paths of the built files come from the environment
// (see e2e.sh); the help files are stand-ins of our own.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <sddl.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Handles.h"
#include "frmAvvio.h"
#include "frmPercorso.h"
#include "frmStatoIstallazione.h"
#include "ui_driver.h"

namespace velisca {
namespace {

const std::wstring kProgramma = L"C:\\programmi\\Mardol\\ZORNAVEX";
const std::wstring kGuida = kProgramma + L"\\Help";
const std::wstring kOcx = L"c:\\windows\\system32\\COMDLG32.ocx";

std::wstring Env(const wchar_t* name) {
  wchar_t buf[1024]{};
  const DWORD n = GetEnvironmentVariableW(name, buf, 1024);
  return n > 0 && n < 1024 ? std::wstring(buf, n) : std::wstring();
}

bool Exists(const std::wstring& p) { return GetFileAttributesW(p.c_str()) != INVALID_FILE_ATTRIBUTES; }
bool IsFolder(const std::wstring& p) {
  const DWORD a = GetFileAttributesW(p.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Read(const std::wstring& path) {
  forms::KernelHandle h(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (h.get() == INVALID_HANDLE_VALUE) return "<missing>";
  std::string out(GetFileSize(h.get(), nullptr), '\0');
  DWORD got = 0;
  ReadFile(h.get(), out.data(), static_cast<DWORD>(out.size()), &got, nullptr);
  return out;
}

void Write(const std::wstring& path, const std::string& bytes) {
  forms::KernelHandle h(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  ASSERT_NE(h.get(), INVALID_HANDLE_VALUE) << "cannot write the stand-in";
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(h.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

std::wstring Desktop() {
  wchar_t buf[MAX_PATH]{};
  return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_DESKTOPDIRECTORY, nullptr, 0, buf)) ? buf : L"";
}
std::wstring Shortcut() { return Desktop() + L"\\ZORNAVEX.lnk"; }

// Everything an installation may have left, so that each case starts afresh.
void Uninstall() {
  for (const wchar_t* f : {L"\\ZORNAVEX.hlp", L"\\ZORNAVEX.cnt"}) DeleteFileW((kGuida + f).c_str());
  SetFileAttributesW((kProgramma + L"\\ZORNAVEX.exe").c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileW((kProgramma + L"\\ZORNAVEX.exe").c_str());
  for (const wchar_t* d : {L"C:\\programmi\\Mardol\\ZORNAVEX\\Help", L"C:\\programmi\\Mardol\\ZORNAVEX",
                           L"C:\\programmi\\Mardol", L"C:\\programmi"})
    RemoveDirectoryW(d);
  DeleteFileW(kOcx.c_str());
  DeleteFileW(Shortcut().c_str());
}

// Stand-in help files: every byte value, and a tag so that runs differ.
std::string StandIn(const char* tag) {
  std::string s(tag);
  for (int i = 0; i < 256; ++i) s += static_cast<char>(i);
  return s;
}

struct Cartella {
  std::wstring dir;
  std::wstring Path(const wchar_t* name) const { return dir + L"\\" + name; }
};

// A setup folder for a case, without the file named by `missing`.
Cartella MakeSetupIn(const std::wstring& dir, const wchar_t* missing = nullptr, const char* tag = "1") {
  Cartella s{dir};
  CreateDirectoryW(s.dir.c_str(), nullptr);
  const std::pair<const wchar_t*, std::wstring> built[] = {
      {L"Velisca.exe", Env(L"VELISCA_EXE")}, {L"ZORNAVEX.exe", Env(L"ZORNAVEX_EXE")}, {L"COMDLG32.OCX", Env(L"OCX")}};
  for (const auto& [file, from] : built) {
    DeleteFileW(s.Path(file).c_str());
    if (missing && std::wstring(missing) == file && std::wstring(file) != L"Velisca.exe") continue;
    EXPECT_TRUE(CopyFileW(from.c_str(), s.Path(file).c_str(), FALSE)) << "cannot copy " << from;
  }
  for (const wchar_t* file : {L"ZORNAVEX.hlp", L"ZORNAVEX.cnt"}) {
    DeleteFileW(s.Path(file).c_str());
    if (missing && std::wstring(missing) == file) continue;
    Write(s.Path(file), StandIn(tag) + (file[9] == L'h' ? "hlp" : "cnt"));
  }
  return s;
}
Cartella MakeSetup(const wchar_t* name, const wchar_t* missing = nullptr, const char* tag = "1") {
  return MakeSetupIn(std::wstring(L"C:\\setup-") + name, missing, tag);
}

class EndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(Env(L"VELISCA_EXE").empty()) << "run through e2e.sh";
    Uninstall();
  }

  // Starts Velisca from the setup folder, answers "&Si" and waits for the
  // information page.
  HWND StartToInformationPage(const Cartella& s) {
    EXPECT_TRUE(process->Start(s.Path(L"Velisca.exe"), s.dir));
    HWND avvio = zxtest::WaitForWindowWithControl(process->Id(), frmAvvio::cmdSI, 15000);
    if (!avvio) {
      ADD_FAILURE() << "no confirmation page";
      return nullptr;
    }
    EXPECT_EQ(zxtest::ReadText(avvio), L"Programma d' istallazione");
    EXPECT_EQ(zxtest::ReadText(GetDlgItem(avvio, frmAvvio::lblNomeProgramma)), L"ZORNAVEX");
    zxtest::Click(GetDlgItem(avvio, frmAvvio::cmdSI));
    HWND page = zxtest::WaitForWindowWithControl(process->Id(), frmPercorso::cmdInstalla, 10000);
    if (!page) ADD_FAILURE() << "no information page";
    return page;
  }

  // Presses the install button and returns the box that ends the run.
  zxtest::MessageBoxInfo Install(const Cartella& s) {
    HWND page = StartToInformationPage(s);
    if (!page) return {};
    zxtest::Click(GetDlgItem(page, frmPercorso::cmdInstalla));
    auto box = zxtest::WaitForMessageBox(process->Id(), 20000);
    if (!box) {
      ADD_FAILURE() << "no message box after cmdInstalla";
      return {};
    }
    return *box;
  }

  void Close(const zxtest::MessageBoxInfo& box, int button) {
    ASSERT_TRUE(zxtest::PressBoxButton(box.hwnd, button));
  }
  void ExpectExit() {
    const auto code = process->WaitExit(10000);
    ASSERT_TRUE(code.has_value()) << "the program did not end";
    EXPECT_EQ(*code, 0u);
  }

  std::unique_ptr<zxtest::Process> process = std::make_unique<zxtest::Process>();
};

const std::wstring kSuccessText = L"L'installazione è stata portata a termine";
std::wstring Report(int n) {
  return L"Il programma non può essere installato.\r\nContattare il fornitore e segnalare l'errore:\r\n\r\nNumero " +
         std::to_wstring(n);
}

void ExpectInstalledFrom(const Cartella& s) {
  EXPECT_TRUE(IsFolder(kGuida));
  EXPECT_EQ(Read(kProgramma + L"\\ZORNAVEX.exe"), Read(s.Path(L"ZORNAVEX.exe")));
  EXPECT_EQ(Read(kGuida + L"\\ZORNAVEX.hlp"), Read(s.Path(L"ZORNAVEX.hlp")));
  EXPECT_EQ(Read(kGuida + L"\\ZORNAVEX.cnt"), Read(s.Path(L"ZORNAVEX.cnt")));
}

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
  ASSERT_NE(held.get(), INVALID_HANDLE_VALUE);
  const DWORD start = GetTickCount();
  zxtest::Click(GetDlgItem(page, frmPercorso::cmdInstalla));
  if (p.durata != INFINITE) {
    Sleep(p.durata);
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

// A file from a CD or a read-only share is installed writable, so that the
// next installation over it succeeds.
TEST_F(EndToEnd, WriteProtectedSourcesInstallWritableAndAgain) {
  const Cartella s = MakeSetup(L"read-only");
  for (const wchar_t* f : {L"ZORNAVEX.exe", L"ZORNAVEX.hlp", L"ZORNAVEX.cnt", L"COMDLG32.OCX"})
    ASSERT_TRUE(SetFileAttributesW(s.Path(f).c_str(), FILE_ATTRIBUTE_READONLY));
  for (int volta = 0; volta < 2; ++volta) {
    process = std::make_unique<zxtest::Process>();
    const auto box = Install(s);
    EXPECT_EQ(box.text, kSuccessText) << volta;
    Close(box, IDOK);
    ExpectExit();
    for (const std::wstring& f : {kProgramma + L"\\ZORNAVEX.exe", kGuida + L"\\ZORNAVEX.hlp", kGuida + L"\\ZORNAVEX.cnt", kOcx})
      EXPECT_FALSE(GetFileAttributesW(f.c_str()) & FILE_ATTRIBUTE_READONLY) << f;
  }
  ExpectInstalledFrom(s);
}

// The lock as somebody else may have made it before Velisca starts: one that
// is not Administrators' does not count; a genuine one whose Velisca shows no
// window here (another session) is answered with a message. Neither touches
// the disk.
struct LockCase {
  const wchar_t* rights;  // %U: the account that runs the test
  bool runs;
};
class ExistingLock : public EndToEnd, public ::testing::WithParamInterface<LockCase> {};

TEST_P(ExistingLock, CountsOnlyWhenAdministratorsOwnIt) {
  std::wstring rights = GetParam().rights;
  if (const auto at = rights.find(L"%U"); at != std::wstring::npos) {
    forms::KernelHandle token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put()));
    BYTE user[256];
    DWORD n = sizeof user;
    ASSERT_TRUE(GetTokenInformation(token.get(), TokenUser, user, n, &n));
    wchar_t* sid = nullptr;
    ASSERT_TRUE(ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(user)->User.Sid, &sid));
    rights.replace(at, 2, sid);
    LocalFree(sid);
  }
  PSECURITY_DESCRIPTOR sd = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(rights.c_str(), SDDL_REVISION_1, &sd, nullptr));
  SECURITY_ATTRIBUTES sa{sizeof sa, sd, FALSE};
  const forms::KernelHandle lock(CreateMutexW(&sa, FALSE, L"Global\\Velisca-ZORNAVEX-installazione"));
  LocalFree(sd);
  ASSERT_TRUE(lock);
  const Cartella s = MakeSetup(L"lock");
  ASSERT_TRUE(process->Start(s.Path(L"Velisca.exe"), s.dir));
  if (GetParam().runs) {
    HWND avvio = zxtest::WaitForWindowWithControl(process->Id(), frmAvvio::cmdNO, 15000);
    ASSERT_TRUE(avvio) << "a lock that is not Velisca's stopped it";
    zxtest::Click(GetDlgItem(avvio, frmAvvio::cmdNO));
  } else {
    const auto box = zxtest::WaitForMessageBox(process->Id(), 15000);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, L"Un'installazione è già in corso.");
    EXPECT_EQ(box->title, L"Attenzione!");
    Close(*box, IDOK);
  }
  ExpectExit();
  EXPECT_FALSE(Exists(L"C:\\programmi"));
}

INSTANTIATE_TEST_SUITE_P(MadeBefore, ExistingLock,
                         ::testing::Values(LockCase{L"O:%UD:(D;;GA;;;WD)", true},   // shuts everyone out
                                           LockCase{L"O:%UD:(A;;GA;;;WD)", true},   // open to all, a user's
                                           LockCase{L"O:BAD:P(A;;GA;;;SY)(A;;GA;;;BA)", false}));

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
  SetForegroundWindow(other);
  zxtest::Pump(200);
  ASSERT_NE(GetForegroundWindow(), page);

  zxtest::Process second;
  ASSERT_TRUE(second.Start(s.Path(L"Velisca.exe"), s.dir));
  const auto code = second.WaitExit(10000);
  ASSERT_TRUE(code.has_value()) << "the second Velisca did not end";
  EXPECT_EQ(*code, 0u);
  zxtest::Pump(200);
  EXPECT_EQ(GetForegroundWindow(), page);
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
    ASSERT_NE(locked.get(), INVALID_HANDLE_VALUE);
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

// The cases below run as an ordinary user of the machine (e2e.sh), where
// Wine makes write protection and a full disk real.
std::vector<std::wstring> FilesIn(const std::wstring& dir) {
  std::vector<std::wstring> out;
  WIN32_FIND_DATAW d{};
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &d);
  if (h == INVALID_HANDLE_VALUE) return out;
  do {
    if (std::wstring(d.cFileName) != L"." && std::wstring(d.cFileName) != L"..") out.push_back(d.cFileName);
  } while (FindNextFileW(h, &d));
  FindClose(h);
  std::sort(out.begin(), out.end());
  return out;
}

// Keeps the shortcut for the lnkinfo check of e2e.sh.
void KeepShortcut(const wchar_t* name) {
  CreateDirectoryW(L"C:\\velisca-e2e", nullptr);
  EXPECT_TRUE(CopyFileW(Shortcut().c_str(), (std::wstring(L"C:\\velisca-e2e\\") + name).c_str(), FALSE));
}

class UtenteOrdinario : public EndToEnd {
 protected:
  // An earlier installation from a setup whose program file is `exe`.
  void InstallEarlier(const std::string& exe) {
    const Cartella s = MakeSetup(L"earlier", nullptr, "earlier");
    Write(s.Path(L"ZORNAVEX.exe"), exe);
    const auto box = Install(s);
    ASSERT_EQ(box.title, L"Complimenti!");
    Close(box, IDOK);
    ExpectExit();
    ASSERT_TRUE(Read(kProgramma + L"\\ZORNAVEX.exe") == exe) << "the earlier installation is not in place";
    DeleteFileW(Shortcut().c_str());
    process = std::make_unique<zxtest::Process>();
  }
  // A failed run over an earlier installation: the report, the earlier
  // files as they were, nothing of the new copy left, no shortcut.
  void ExpectEarlierKept(const Cartella& s, int number, const std::string& exe) {
    const std::string hlp = Read(kGuida + L"\\ZORNAVEX.hlp");
    const auto box = Install(s);
    EXPECT_EQ(box.title, L"Errore durante l'installazione");
    EXPECT_EQ(box.text, Report(number));
    Close(box, IDOK);
    ExpectExit();
    const std::string now = Read(kProgramma + L"\\ZORNAVEX.exe");
    EXPECT_TRUE(now == exe) << "the earlier program changed: " << now.size() << " bytes, were " << exe.size();
    EXPECT_EQ(Read(kGuida + L"\\ZORNAVEX.hlp"), hlp);
    EXPECT_EQ(FilesIn(kProgramma), (std::vector<std::wstring>{L"Help", L"ZORNAVEX.exe"}));
    EXPECT_TRUE(IsFolder(kGuida));
    EXPECT_FALSE(Exists(Shortcut()));
  }
};

TEST_F(UtenteOrdinario, WriteProtectedEarlierProgramReportsFiveAndStays) {
  const std::string earlier = Read(Env(L"ZORNAVEX_EXE"));
  InstallEarlier(earlier);
  ASSERT_TRUE(SetFileAttributesW((kProgramma + L"\\ZORNAVEX.exe").c_str(), FILE_ATTRIBUTE_READONLY));
  const Cartella s = MakeSetup(L"protected", nullptr, "second");
  Write(s.Path(L"ZORNAVEX.exe"), earlier + "a newer build");
  ExpectEarlierKept(s, 5, earlier);
  EXPECT_TRUE(GetFileAttributesW((kProgramma + L"\\ZORNAVEX.exe").c_str()) & FILE_ATTRIBUTE_READONLY);
}

TEST_F(UtenteOrdinario, NonLatinSetupFolderAndHomeInstallByteForByte) {
  const std::wstring home = Env(L"USERPROFILE");
  ASSERT_NE(Desktop().find(L"Niccol\u00f2 B\u00e0rbera"), std::wstring::npos) << "desktop: " << Desktop();
  const Cartella s = MakeSetupIn(home + L"\\Scaricati \u00e0\u00e8\u00ec\u00f2\u00f9 \u20ac \u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0438");
  const auto box = Install(s);
  EXPECT_EQ(box.title, L"Complimenti!");
  EXPECT_EQ(box.text, kSuccessText);
  Close(box, IDOK);
  ExpectExit();
  ExpectInstalledFrom(s);
  EXPECT_EQ(Read(kOcx), Read(s.Path(L"COMDLG32.OCX")));
  ASSERT_TRUE(Exists(Shortcut()));
  KeepShortcut(L"ZORNAVEX-non-latin.lnk");
}

// C:\programmi\Mardol is a small file system of its own here (e2e.sh).
class DiscoPieno : public UtenteOrdinario {
 protected:
  void SetUp() override {
    UtenteOrdinario::SetUp();
    ULARGE_INTEGER free{};
    if (!GetDiskFreeSpaceExW(L"C:\\programmi\\Mardol\\", &free, nullptr, nullptr) || free.QuadPart > (1u << 20))
      GTEST_SKIP() << "C:\\programmi\\Mardol is not a small file system";
    free_ = free.QuadPart;
  }
  // The program file padded beyond the free space; the padding is data
  // after the image, which the program ignores.
  std::string LargerThanFreeSpace() const {
    std::string exe = Read(Env(L"ZORNAVEX_EXE"));
    while (exe.size() <= free_ + 4096) exe += StandIn("padding");
    return exe;
  }
  std::uint64_t free_ = 0;
};

TEST_F(DiscoPieno, FirstInstallationLeavesNothingBehind) {
  const Cartella s = MakeSetup(L"full-disk");
  Write(s.Path(L"ZORNAVEX.exe"), LargerThanFreeSpace());
  const auto box = Install(s);
  EXPECT_EQ(box.title, L"Errore durante l'installazione");
  EXPECT_EQ(box.text, Report(ERROR_DISK_FULL));
  Close(box, IDOK);
  ExpectExit();
  EXPECT_FALSE(Exists(kProgramma));
  EXPECT_FALSE(Exists(kGuida));
  EXPECT_TRUE(IsFolder(L"C:\\programmi\\Mardol"));
  EXPECT_TRUE(FilesIn(L"C:\\programmi\\Mardol").empty());
  EXPECT_FALSE(Exists(Shortcut()));
}

TEST_F(DiscoPieno, LargerProgramOverAnEarlierInstallationKeepsItByteForByte) {
  const std::string earlier = StandIn("a small earlier program") + std::string(40000, 'e');
  InstallEarlier(earlier);
  ULARGE_INTEGER free{};
  ASSERT_TRUE(GetDiskFreeSpaceExW(L"C:\\programmi\\Mardol\\", &free, nullptr, nullptr));
  free_ = free.QuadPart;
  const Cartella s = MakeSetup(L"full-disk-over");
  const std::string larger = LargerThanFreeSpace();
  ASSERT_GT(larger.size(), free_);
  Write(s.Path(L"ZORNAVEX.exe"), larger);
  ExpectEarlierKept(s, ERROR_DISK_FULL, earlier);
}

}  // namespace
}  // namespace velisca
