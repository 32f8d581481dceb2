// Velisca end to end under Wine: what protects an installation. Sources that
// are write-protected, a lock somebody else made first, and the cases that only
// an ordinary user of the machine shows (e2e.sh): write protection and a full
// disk.
#include "e2e_fixture.h"

#include <sddl.h>

#include <algorithm>

namespace velisca {
namespace {

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
    for (const std::wstring& f :
         {kProgramma + L"\\ZORNAVEX.exe", kGuida + L"\\ZORNAVEX.hlp", kGuida + L"\\ZORNAVEX.cnt", kOcx})
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
